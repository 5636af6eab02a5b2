// Tmybitbutn: the main window's small arrow buttons, 24 x 19, face from one of seven
// four-frame strips B1 to B7 chosen by Selected 2 to 8.
#pragma once

#include "ButtonFaceStrip.h"

namespace tarnell {

class Tmybitbutn : public TStripFaceButton {
    Q_OBJECT
public:
    explicit Tmybitbutn(QWidget* parent = nullptr);
    // The glyph images of every Tmybitbutn.
    static GlyphImageStore& glyphStore();
};

} // namespace tarnell
