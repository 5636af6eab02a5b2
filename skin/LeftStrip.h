// The coloured strip down the left side of every skinned window (PaintBox1), painted as the
// frame paints it (skin::paintLeftStrip). A window may paint over it (the main window's side
// buttons).
#pragma once

#include <QWidget>
#include <functional>

namespace tarnell {

class TLeftStrip : public QWidget {
    Q_OBJECT
public:
    using Overlay = std::function<void(QPainter& painter)>;

    explicit TLeftStrip(QWidget* parent = nullptr);

    // Painted after the gradient on every paint of the strip; an empty overlay removes it.
    void setOverlay(Overlay overlay);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintBox1Paint(QPainter& painter);

    Overlay overlay_;
};

} // namespace tarnell
