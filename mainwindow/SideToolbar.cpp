#include "SideToolbar.h"

#include "platform/drawing/Drawing.h"
#include "skin/LeftStrip.h"
#include "skin/SkinnedForm.h"
#include "widgets/MyAni.h"

#include <QPainter>

namespace tarnell {

namespace {

// The sunken frame around a pressed side button whose design top is top: black on the left
// and top, white on the right and bottom, one pixel wide, from (2, top - 2) to (38, top + 35).
void drawSunkenFrame(QPainter& painter, int top) {
    const QColor black(0, 0, 0), white(255, 255, 255);
    platform::drawPixelRun(painter, QPoint(2, top - 2), QPoint(2, top + 35), black);
    platform::drawPixelRun(painter, QPoint(2, top - 2), QPoint(37, top - 2), black);
    platform::drawPixelRun(painter, QPoint(38, top - 2), QPoint(38, top + 34), white);
    platform::drawPixelRun(painter, QPoint(3, top + 35), QPoint(38, top + 35), white);
}

} // namespace

TSideToolbar::TSideToolbar(TSkinnedForm& form, std::vector<TButton> buttons)
    : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("sideToolbar"));
    for (TButton& button : buttons) {
        const QPoint place = button.button->pos();
        sides_.push_back({std::move(button), place});
    }
    // The list no longer grows: each connection holds its own entry.
    for (const TPlaced& side : sides_) {
        TMyAni* button = side.button.button;
        connect(button, &TAnimatedImage::OnMouseDown, this,
                [this, &side](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { down(side); });
        connect(button, &TAnimatedImage::OnMouseUp, this,
                [this, &side](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { up(side); });
        connect(button, &TMyAni::OnMouseEnter, button, [button] { button->setActive(true); });
        connect(button, &TMyAni::OnMouseLeave, button, [button] { button->setActive(false); });
    }
}

void TSideToolbar::down(const TPlaced& side) {
    side.button.button->move(side.place + QPoint(1, 1));
    const int top = side.place.y();
    form_.strip()->setOverlay([top](QPainter& painter) { drawSunkenFrame(painter, top); });
    form_.strip()->update();
}

void TSideToolbar::up(const TPlaced& side) {
    if (!form_.isActiveWindow())
        return;
    side.button.button->move(side.place);
    form_.strip()->setOverlay({});
    form_.strip()->update();
    side.button.action();
}

} // namespace tarnell
