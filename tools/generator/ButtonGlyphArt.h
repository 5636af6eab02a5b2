// The glyphs that push buttons show beside their captions: pairs of 18 x 18 images, the
// glyph and its disabled look, on an olive ground that is drawn transparent.
#pragma once

#include <QImage>
#include <QRgb>

namespace tarnell::generator {

// The olive ground of the glyphs, in the bottom-left pixel of each; no glyph uses it.
inline constexpr QRgb kGlyphGround = qRgb(128, 128, 0);

enum class StandardGlyph {
    Tick,
    Cross,
    Question,
    BarredCircle,
    OpenDoor,
    Retry,
    WalkingFigure,
    DoubleTick
};

// 36 x 18: the glyph in colour with a dark outline at the left, its embossed grey look
// ($808080 with a white edge) at the right; the bottom-left pixel is the olive ground.
QImage standardGlyphPair(StandardGlyph kind);

} // namespace tarnell::generator
