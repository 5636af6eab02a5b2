// Bevelled frames of the classic desktop, for the main window and the dialogs alike: the
// one-pixel 3-D frame, the lowered frame line and box, and the panel with a raised and a
// lowered bevel.
#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

// A one-pixel 3-D frame just inside rect: the top colour on the left column and top row,
// the bottom colour on the right column and bottom row, which also take both far corners.
void drawFrame3D(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom);

// A lowered frame line (Bevel1 of the dialogs, Bevel2 and Bevel3 of the about page): a dark
// grey rectangle with a white copy one pixel to the right and below it, so that it reads as a
// groove cut into its ground. Paints only its outline and takes no input.
class TBevel : public QWidget {
    Q_OBJECT
public:
    explicit TBevel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A lowered box (Bevel1 of the game page): shadow on the left and top, highlight on the right
// and bottom; the shadow keeps the lower-left corner, the highlight the upper-right one.
// Paints only its outline and takes no input.
class TLoweredBox : public QWidget {
    Q_OBJECT
public:
    explicit TLoweredBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
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
