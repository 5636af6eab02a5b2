// Tmybitbut: the dialogs' push button, a grey pill cut from three skins in three slices so
// that it stretches to any width, with a caption and a glyph.
#pragma once

#include "ButtonFace.h"
#include "ButtonFaceDrawing.h"

namespace tarnell {

class Tmybitbut : public TFaceButton {
    Q_OBJECT
public:
    explicit Tmybitbut(QWidget* parent = nullptr);

    // Replaces the three skins (normal C1, pressed C2, active C3) and cuts them again.
    void replaceFaces(const QImage& normal, const QImage& pressed, const QImage& active);
    // The glyph images of every Tmybitbut.
    static GlyphImageStore& glyphStore();

protected:
    void paintFace(QImage& surface, bool pressed) override;

private:
    ThreeSliceFace normal_;
    ThreeSliceFace pressed_;
    ThreeSliceFace active_;
};

} // namespace tarnell
