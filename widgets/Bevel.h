// Bevelled frames of the classic desktop, for the main window and the dialogs alike: the
// one-pixel 3-D frame, the lowered frame line or box, and the panel with a raised and a
// lowered bevel.
#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

namespace tarnell {

// A one-pixel 3-D frame just inside rect: the top colour on the left column and top row,
// the bottom colour on the right column and bottom row, which also take both far corners.
void drawFrame3D(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom);

// A lowered bevel that paints only its outline and takes no input.
class TBevel : public QWidget {
    Q_OBJECT
public:
    enum class Shape {
        // A groove cut into its ground (Bevel1 of the dialogs, Bevel2 and Bevel3 of the about
        // page): a dark grey rectangle with a white copy one pixel to the right and below it.
        Frame,
        // A box (Bevel1 of the game page): shadow on the left and top, highlight on the right
        // and bottom; the shadow keeps the lower-left corner, the highlight the upper-right one.
        Box,
    };

    explicit TBevel(QWidget* parent = nullptr, Shape shape = Shape::Frame);
    Shape shape() const { return shape_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Shape shape_;
};

// A panel (Panel3) in its own colour with a raised outer and a lowered inner bevel, one
// pixel each.
class TBevelPanel : public QWidget {
    Q_OBJECT
public:
    explicit TBevelPanel(const QColor& colour, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};

} // namespace tarnell
