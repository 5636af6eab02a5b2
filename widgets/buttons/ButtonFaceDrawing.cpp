#include "ButtonFaceDrawing.h"

#include <algorithm>

namespace tarnell {

namespace {

// Samples sourceRect of source into targetRect of target; leaveOut(pixel) says which source
// pixels are not drawn.
template <typename LeaveOut>
void stretchPixels(QImage& target, const QRect& targetRect, const QImage& source,
                   const QRect& sourceRect, LeaveOut leaveOut) {
    if (targetRect.isEmpty() || sourceRect.isEmpty() || source.isNull() || target.isNull())
        return;
    const QRect clipped = targetRect.intersected(target.rect());
    const int tw = targetRect.width();
    const int th = targetRect.height();
    const int sw = sourceRect.width();
    const int sh = sourceRect.height();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        const int i = y - targetRect.top();
        const int sy = sourceRect.top() + static_cast<int>((2LL * i + 1) * sh / (2LL * th));
        if (sy < 0 || sy >= source.height())
            continue;
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const int j = x - targetRect.left();
            const int sx = sourceRect.left() + static_cast<int>((2LL * j + 1) * sw / (2LL * tw));
            if (sx < 0 || sx >= source.width())
                continue;
            const QRgb pixel = source.pixel(sx, sy);
            if (leaveOut(pixel))
                continue;
            target.setPixel(x, y, pixel | 0xFF000000u);
        }
    }
}

} // namespace

void stretchCopy(QImage& target, const QRect& targetRect, const QImage& source,
                 const QRect& sourceRect, bool blend) {
    stretchPixels(target, targetRect, source, sourceRect,
                  [blend](QRgb pixel) { return blend && qAlpha(pixel) == 0; });
}

void stretchCopyKeyed(QImage& target, const QRect& targetRect, const QImage& source,
                      const QRect& sourceRect, QRgb transparent) {
    const QRgb key = transparent | 0xFF000000u;
    stretchPixels(target, targetRect, source, sourceRect,
                  [key](QRgb pixel) { return (pixel | 0xFF000000u) == key; });
}

void drawStripFrame(QImage& target, const QImage& strip, FaceFrame frame) {
    if (strip.isNull())
        return;
    const int frameWidth = strip.width() / 4;
    const QRect source(static_cast<int>(frame) * frameWidth, 0, frameWidth, strip.height());
    stretchCopy(target, target.rect(), strip, source);
}

ThreeSliceFace ThreeSliceFace::cut(const QImage& face) {
    ThreeSliceFace slices;
    if (face.isNull() || face.width() <= 2 * CapWidth)
        return slices;
    const int h = face.height();
    slices.left = face.copy(0, 0, CapWidth, h);
    slices.middle = face.copy(CapWidth, 0, face.width() - 2 * CapWidth, h);
    slices.right = face.copy(face.width() - CapWidth, 0, CapWidth, h);
    return slices;
}

void ThreeSliceFace::draw(QImage& target) const {
    if (isNull())
        return;
    const int w = target.width();
    const int h = target.height();
    stretchCopy(target, QRect(0, 0, CapWidth, h), left, left.rect());
    stretchCopy(target, QRect(CapWidth, 0, w - 2 * CapWidth, h), middle, middle.rect());
    stretchCopy(target, QRect(w - CapWidth, 0, CapWidth, h), right, right.rect());
}

} // namespace tarnell
