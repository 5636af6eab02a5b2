#include "buts2.h"

namespace tarnell {

Tmybitbutn::Tmybitbutn(QWidget* parent)
    : TStripFaceButton(glyphStore(),
                       {QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("B3"),
                        QStringLiteral("B4"), QStringLiteral("B5"), QStringLiteral("B6"),
                        QStringLiteral("B7")},
                       2, QStringLiteral("B3"), QSize(24, 19), parent) {}

GlyphImageStore& Tmybitbutn::glyphStore() {
    static GlyphImageStore store;
    return store;
}

} // namespace tarnell
