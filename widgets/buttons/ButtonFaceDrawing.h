// Pixel-exact drawing of the push-button faces: a nearest-neighbour stretched copy, frames
// of a four-frame strip, and the three-slice face whose end caps keep their width.
#pragma once

#include <QImage>
#include <QRect>

namespace tarnell {

// Copies source's sourceRect into target's targetRect, stretched by nearest neighbour: target
// pixel i of n samples source pixel (2i + 1) * m / (2n) of m, so duplicated and dropped lines
// spread evenly and both ends map to both ends. With blend, pixels of alpha 0 are left out.
// Clipped to target.
void stretchCopy(QImage& target, const QRect& targetRect, const QImage& source,
                 const QRect& sourceRect, bool blend = false);
// The same, leaving out the source pixels of colour transparent (compared with alpha
// ignored): what stretchCopy with blend does from a copy keyed by cutGlyphImage.
void stretchCopyKeyed(QImage& target, const QRect& targetRect, const QImage& source,
                      const QRect& sourceRect, QRgb transparent);

// The four frames of a face strip, side by side from the left.
enum class FaceFrame { Normal = 0, Active = 1, Pressed = 2, Disabled = 3 };

// Stretches frame of strip (frames of strip width / 4) onto the whole of target.
void drawStripFrame(QImage& target, const QImage& strip, FaceFrame frame);

// A face cut into a left cap, a middle and a right cap.
struct ThreeSliceFace {
    static constexpr int CapWidth = 10;
    QImage left;
    QImage middle;
    QImage right;

    // Caps of CapWidth columns at both ends, the middle between them.
    static ThreeSliceFace cut(const QImage& face);
    bool isNull() const { return left.isNull(); }
    // Caps keep their width and stretch in height; the middle takes the width between them.
    void draw(QImage& target) const;
};

} // namespace tarnell
