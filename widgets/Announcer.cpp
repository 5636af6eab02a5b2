#include "Announcer.h"

#include "SpokenItems.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace tarnell {

namespace {

// The announcer as a screen reader sees it: a filler, which Orca does not name, whose one
// child is the item of the last message.
class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(TAnnouncer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Client) {}
    TSpokenItems& items() const { return static_cast<TAnnouncer*>(widget())->items(); }
    int childCount() const override { return items().current() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? items().current() : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child == items().current() ? 0 : -1;
    }
};

QAccessibleInterface* makeAnnouncerInterface(const QString& className, QObject* object) {
    if (className != QLatin1String(TAnnouncer::staticMetaObject.className()))
        return nullptr;
    return new AnnouncerAccessible(static_cast<TAnnouncer*>(object));
}

} // namespace

TAnnouncer::TAnnouncer(QWidget* parent)
    : QWidget(parent), listening_(&QAccessible::isActive),
      items_(std::make_unique<TSpokenItems>(
          [this] { return QAccessible::queryAccessibleInterface(this); })) {
    static const bool installed = [] {
        QAccessible::installFactory(&makeAnnouncerInterface);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("announcer"));
    // One pixel in the corner that paints nothing and lets every click through.
    setGeometry(0, 0, 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

TAnnouncer::~TAnnouncer() = default;

void TAnnouncer::announce(const QString& text) {
    if (!listening_() || text.isEmpty())
        return;
    QAccessibleEvent event(items_->say(text, QRect(mapToGlobal(QPoint(0, 0)), size())),
                           QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

} // namespace tarnell
