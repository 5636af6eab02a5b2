#include "ButtonFaceArt.h"

#include <cmath>

namespace tarnell::generator {

ShapeMask roundedMask(int width, int height, double radiusX, double radiusY) {
    ShapeMask mask(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            // Distance into the nearest corner's ellipse, measured from its centre.
            const double cx = px < radiusX ? radiusX : px > width - radiusX ? width - radiusX : px;
            const double cy = py < radiusY            ? radiusY
                              : py > height - radiusY ? height - radiusY
                                                      : py;
            const double ex = radiusX > 0 ? (px - cx) / radiusX : 0;
            const double ey = radiusY > 0 ? (py - cy) / radiusY : 0;
            mask.set(x, y, ex * ex + ey * ey <= 1.0 + 1e-9);
        }
    }
    return mask;
}

QColor lookColour(const QColor& base, FaceLook look) {
    switch (look) {
    case FaceLook::Normal:
        return base;
    case FaceLook::Active:
        return lighter(base, 0.3);
    case FaceLook::Pressed:
        return darker(base, 0.24);
    case FaceLook::Disabled:
        return mix(greyOf(base), QColor(158, 158, 158), 0.55);
    }
    return base;
}

QPoint lookShift(FaceLook look) {
    return look == FaceLook::Pressed ? QPoint(1, 1) : QPoint(0, 0);
}

namespace {

// The body colour of an inner row, t running from 0 at the top to 1 at the bottom.
QColor bodyColour(const QColor& colour, FaceLook look, double t) {
    const double glossEnd = 0.47;
    if (look == FaceLook::Pressed) {
        if (t < glossEnd)
            return mix(lighter(colour, 0.22), lighter(colour, 0.08), t / glossEnd);
        return mix(darker(colour, 0.08), lighter(colour, 0.06), (t - glossEnd) / (1 - glossEnd));
    }
    const double gloss = look == FaceLook::Disabled ? 0.45 : 0.6;
    if (t < glossEnd)
        return mix(lighter(colour, gloss), lighter(colour, gloss * 0.42), t / glossEnd);
    return mix(colour, darker(colour, 0.16), (t - glossEnd) / (1 - glossEnd));
}

} // namespace

QImage glossyFace(int width, int height, const QColor& base, FaceLook look, const QColor& ground,
                  double radiusX, double radiusY) {
    QImage face = filled(width, height, ground);
    const ShapeMask shape = roundedMask(width, height, radiusX, radiusY);
    const QColor colour = lookColour(base, look);
    const QColor rim = darker(colour, look == FaceLook::Disabled ? 0.42 : 0.55);
    const int innerRows = std::max(1, height - 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!shape.at(x, y))
                continue;
            if (shape.isBorder(x, y)) {
                face.setPixel(x, y, rim.rgb());
                continue;
            }
            const double t = std::clamp(double(y - 1) / innerRows, 0.0, 1.0);
            QColor body = bodyColour(colour, look, t);
            // Light from the top left: the inner edge facing it is lit, the other shaded;
            // a pressed face sinks in and turns that round.
            int towardsLight = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if ((dx || dy) && shape.isBorder(x + dx, y + dy))
                        towardsLight -= dx + dy;
            if (look == FaceLook::Pressed)
                towardsLight = -towardsLight;
            if (towardsLight > 0)
                body = look == FaceLook::Pressed ? lighter(body, 0.22) : lighter(body, 0.5);
            else if (towardsLight < 0)
                body = look == FaceLook::Pressed ? darker(body, 0.3) : darker(body, 0.2);
            face.setPixel(x, y, body.rgb());
        }
    }
    return face;
}

} // namespace tarnell::generator
