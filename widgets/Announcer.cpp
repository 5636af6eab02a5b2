#include "Announcer.h"

#include "AccessibleWidgets.h"

#include <QAccessible>

namespace tarnell {

TAnnouncer::TAnnouncer(QWidget* parent) : QWidget(parent), listening_(&QAccessible::isActive) {
    setObjectName(QStringLiteral("announcer"));
    setAccessibleRole(this, QAccessible::Notification);
    // One pixel in the corner that paints nothing and lets every click through.
    setGeometry(0, 0, 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void TAnnouncer::announce(const QString& text) {
    if (!listening_() || text.isEmpty())
        return;
    setAccessibleName(text);
    // Showing is what the screen reader presents: an old message goes away first.
    hide();
    show();
}

} // namespace tarnell
