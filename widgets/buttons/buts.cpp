#include "buts.h"

#include "platform/Resources.h"

namespace tarnell {

Tmybitbut::Tmybitbut(QWidget* parent) : TFaceButton(glyphStore(), QSize(75, 25), parent) {
    replaceFaces(platform::loadBitmap(QStringLiteral("C1")),
                 platform::loadBitmap(QStringLiteral("C2")),
                 platform::loadBitmap(QStringLiteral("C3")));
}

GlyphImageStore& Tmybitbut::glyphStore() {
    static GlyphImageStore store;
    return store;
}

void Tmybitbut::replaceFaces(const QImage& normal, const QImage& pressed, const QImage& active) {
    normal_ = ThreeSliceFace::cut(normal);
    pressed_ = ThreeSliceFace::cut(pressed);
    active_ = ThreeSliceFace::cut(active);
    update();
}

void Tmybitbut::paintFace(QImage& surface, bool pressed) {
    (isActiveButton() ? active_ : normal_).draw(surface);
    if (pressed)
        pressed_.draw(surface);
}

} // namespace tarnell
