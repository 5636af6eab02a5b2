#include "buts5.h"

namespace tarnell {

Tmybitbutn5::Tmybitbutn5(QWidget* parent)
    : TStripFaceButton(glyphStore(),
                       {QStringLiteral("BT1"), QStringLiteral("BT2"), QStringLiteral("BT3"),
                        QStringLiteral("BT4"), QStringLiteral("BT5"), QStringLiteral("BT6"),
                        QStringLiteral("BT7"), QStringLiteral("BT8"), QStringLiteral("BT9"),
                        QStringLiteral("BTA"), QStringLiteral("BTB"), QStringLiteral("BTC"),
                        QStringLiteral("BTD")},
                       2, QStringLiteral("BT1"), QSize(45, 22), parent) {
    // What each strip says in its pixels, so that assistive technology can say it too.
    setFaceWords({QStringLiteral("New"), QStringLiteral("Replay"), QStringLiteral("Try"),
                  QStringLiteral("Clear"), QStringLiteral("Play"), QStringLiteral("Copy"),
                  QStringLiteral("Selected"), QStringLiteral("Random"), QStringLiteral("Puzzle"),
                  QStringLiteral("Generate"), QStringLiteral("Print"), QStringLiteral("Donate"),
                  QStringLiteral("Score")});
}

GlyphImageStore& Tmybitbutn5::glyphStore() {
    static GlyphImageStore store;
    return store;
}

} // namespace tarnell
