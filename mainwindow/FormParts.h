// The small image-less focus buttons of the main window's game page; its bevelled panel and
// lowered frames are the shared ones of widgets/Bevel.h.
#pragma once

#include "widgets/Bevel.h"

#include <QAbstractButton>

namespace tarnell {

// A bitmap button without images (RzBmpButton1, RzBmpButton16): it shows nothing, takes the
// keyboard focus, and clicks with the mouse, Space or Enter.
class TImagelessButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TImagelessButton(QWidget* parent = nullptr);

signals:
    // It got or lost the focus by a move between controls, not by the window's activation.
    void OnEnter();
    void OnExit();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace tarnell
