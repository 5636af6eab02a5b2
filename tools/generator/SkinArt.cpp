// The window skin: corner piece with the icon recess, caption pieces, borders and the
// caption buttons.
#include "Art.h"
#include "PixelArt.h"

namespace generator {

std::vector<GeneratedImage> DrawSkinArt() {
    const QRgb metal = qRgb(150, 160, 176);
    return {
        {QStringLiteral("C_UL"), canvas(46, 46, metal), 8},
        {QStringLiteral("MASK"), canvas(32, 32, 0xFF000000u), 8},
        {QStringLiteral("TOP"), canvas(60, 31, metal), 8},
        {QStringLiteral("TOP_D"), canvas(60, 31, metal), 8},
        {QStringLiteral("LEF"), canvas(8, 1, metal), 4},
        {QStringLiteral("RIG"), canvas(8, 1, metal), 4},
        {QStringLiteral("BOT"), canvas(247, 15, metal), 8},
        {QStringLiteral("I_MIN"), canvas(16, 23, metal), 8},
        {QStringLiteral("I_MIND"), canvas(16, 23, metal), 8},
        {QStringLiteral("I_MAX"), canvas(16, 23, metal), 8},
        {QStringLiteral("I_MAXD"), canvas(16, 23, metal), 8},
        {QStringLiteral("I_CLO"), canvas(16, 23, metal), 8},
        {QStringLiteral("I_CLOD"), canvas(16, 23, metal), 8},
    };
}

} // namespace generator
