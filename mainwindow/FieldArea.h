// The field area of the main window: the control that shows the field renderer's frames and
// reports the pointer, and the field's images as embedded in the program.
#pragma once

#include "FieldRenderer.h"

#include <QWidget>

namespace tarnell {

// The embedded bitmaps of the field, as 32-bit RGB; a missing one is a null image.
TFieldImages loadFieldImages();

// The field area ("PaintBox3"): a 401 x 225 control that shows the renderer's frame and
// reports the pointer. It owns the renderer, so the images and the back buffer live as long
// as the window that holds the area.
class TFieldArea : public QWidget {
    Q_OBJECT

public:
    // Draws with the embedded images.
    explicit TFieldArea(QWidget* parent = nullptr);

    // Draws a frame of the puzzle into the back buffer and asks for the area to be repainted
    // from it (a plain copy of its top-left 401 x 225 pixels). A frame of the same inputs as
    // the one on the screen is neither drawn nor repainted: it would show the same pixels.
    void showFrame(const TPuzzle& puzzle, bool showHints);
    TFieldRenderer& renderer() { return renderer_; }
    const TFieldRenderer& renderer() const { return renderer_; }

signals:
    // The pointer moved over the area (with or without a button held), in area pixels.
    void mouseMoved(int x, int y);
    // A mouse button was released after a press of that button on the area, wherever the
    // pointer is by then, in area pixels.
    void mouseReleased(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TFieldRenderer renderer_;
    Qt::MouseButtons pressedHere_; // buttons pressed on the area and not yet released
};

} // namespace tarnell
