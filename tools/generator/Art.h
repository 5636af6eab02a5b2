// The generator's artwork: every image the program embeds, drawn by code, and the
// depth it is stored at. Each Draw* function returns its images in a fixed order.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace tarnell::generator {

struct GeneratedImage {
    QString name;     // upper-case resource name, e.g. "PLATE"
    QImage image;     // the picture, any format; the writer reduces it to bitsPerPixel
    int bitsPerPixel; // 1, 4, 8 or 24 (stored depth of the BMP)
};

std::vector<GeneratedImage> DrawFieldArt();  // PLATE.. FOX_M
std::vector<GeneratedImage> DrawSkinArt();   // C_UL .. I_CLOD (MAINICON is written apart)
std::vector<GeneratedImage> DrawButtonArt(); // BT1..BTD, B1..B7, C1..C3, ABOK..ABALL
std::vector<GeneratedImage> DrawWindowArt(); // ANI_*, ABOUT_ANIM, CHECK_*, PIC_*, GLYPH_*, DONATE_*
QImage DrawMainIcon();                       // MAINICON, 32 x 32 ARGB, stored as a 4-bit icon

} // namespace tarnell::generator
