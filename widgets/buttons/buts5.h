// Tmybitbutn5: the main window's lettered buttons, 45 x 22 when made, face (lettering
// included) from one of thirteen four-frame strips BT1 to BTD chosen by Selected 2 to 14.
#pragma once

#include "ButtonFaceStrip.h"

namespace tarnell {

class Tmybitbutn5 : public TStripFaceButton {
    Q_OBJECT
public:
    explicit Tmybitbutn5(QWidget* parent = nullptr);
    // The glyph images of every Tmybitbutn5.
    static GlyphImageStore& glyphStore();
};

} // namespace tarnell
