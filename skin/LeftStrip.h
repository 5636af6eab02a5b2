// The coloured strip down the left side of every skinned window (PaintBox1): a vertical
// gradient from cyan to dark teal. A window may paint over it (the main window's side buttons).
#pragma once

#include <QColor>
#include <QWidget>
#include <functional>

class TLeftStrip : public QWidget {
    Q_OBJECT
public:
    static inline const QColor TopColour{0, 255, 255};
    static inline const QColor BottomColour{0, 32, 32};
    static constexpr int Steps = 255;

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
