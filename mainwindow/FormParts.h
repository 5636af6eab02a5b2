// The plain parts of the main window's layout: the bevelled panel that holds the pages,
// the lowered box around the set-up group, and the small image-less focus buttons.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QWidget>

class QPainter;

namespace tarnell {

// A one-pixel 3-D frame just inside rect: the top colour on the left column and top row,
// the bottom colour on the right column and bottom row, which also take both far corners.
void drawFrame3D(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom);

// Panel3: a panel in its own colour with a raised outer and a lowered inner bevel, one
// pixel each.
class TBevelPanel : public QWidget {
    Q_OBJECT
public:
    TBevelPanel(const QColor& colour, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};

// Bevel1: a lowered box, shadow on the left and top, highlight on the right and bottom.
// Paints only its outline and takes no input.
class TLoweredBox : public QWidget {
    Q_OBJECT
public:
    explicit TLoweredBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A bitmap button without images (RzBmpButton1, RzBmpButton16): it shows nothing, takes the
// keyboard focus, and clicks with the mouse, Space or Enter.
class TImagelessButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TImagelessButton(QWidget* parent = nullptr);

signals:
    void OnEnter(); // it got the focus
    void OnExit();  // it lost the focus

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace tarnell
