// The three plate families as the tests tell them apart in a frame or on the screen: by hue,
// and for the two light ones by lightness, of a pixel away from the gloss (a deep green, a
// light amber, a light cyan).
#pragma once

#include <QRgb>

namespace tarnell::testsupport {

// A covered cell: green well above red and blue, from its dark side faces to its lit edges
// (neither other family, nor the ring, the flag, the fox or the grey ground, is green).
inline bool isPlainPlate(QRgb c) {
    return qGreen(c) >= qRed(c) + 24 && qGreen(c) >= qBlue(c) + 24;
}

// An opened, found or proven fox-free cell: a light amber, red above green above blue.
inline bool isHighlightedPlate(QRgb c) {
    return qRed(c) > 200 && qGreen(c) > 150 && qGreen(c) < 235 && qBlue(c) < 110 &&
           qRed(c) > qGreen(c);
}

// The current cell: a light cyan, blue and green both high, red well below them.
inline bool isCurrentPlate(QRgb c) {
    return qGreen(c) > 180 && qBlue(c) > 180 && qRed(c) < 160;
}

} // namespace tarnell::testsupport
