#include "AccessibleWidgets.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <functional>
#include <optional>

namespace tarnell {

namespace {

const char* const RoleProperty = "tarnellAccessibleRole";
const char* const CheckBoxProperty = "tarnellAccessibleCheckBox";

// A self-drawn control, as it says it is.
class SpokenControlAccessible : public QAccessibleWidget {
public:
    SpokenControlAccessible(QWidget* widget, TSpokenControl& control)
        : QAccessibleWidget(widget, control.spokenRole()), control_(control) {}

    QString text(QAccessible::Text type) const override {
        if (std::optional<QString> own = control_.spokenText(type))
            return *own;
        return QAccessibleWidget::text(type);
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (control_.pressable() && widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction() && control_.pressable()) {
            if (widget()->isEnabled())
                control_.press();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

private:
    TSpokenControl& control_;
};

// The handle of a check box, read as that check box.
class CheckBoxHandleAccessible : public QAccessibleWidget {
public:
    CheckBoxHandleAccessible(QAbstractButton* handle, QAbstractButton* box)
        : QAccessibleWidget(handle, QAccessible::CheckBox), box_(box) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = box_ && box_->isChecked();
        return state;
    }
    QStringList actionNames() const override {
        return widget()->isEnabled() ? QStringList{toggleAction()} : QStringList{};
    }
    void doAction(const QString& actionName) override {
        if (actionName == toggleAction() && widget()->isEnabled())
            static_cast<QAbstractButton*>(widget())->click();
    }

private:
    QPointer<QAbstractButton> box_;
};

QAccessibleInterface* makeInterface(const QString&, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    // What the owner asked for comes first, whatever the widget's class.
    if (const QVariant box = object->property(CheckBoxProperty); box.isValid())
        return new CheckBoxHandleAccessible(static_cast<QAbstractButton*>(widget),
                                            qobject_cast<QAbstractButton*>(box.value<QObject*>()));
    if (const QVariant role = object->property(RoleProperty); role.isValid())
        return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
    // A control that says itself what it is (asked for each class up its line, the first
    // time for its own: once it is whole, the cast finds it).
    if (auto* control = dynamic_cast<TSpokenControl*>(widget))
        return new SpokenControlAccessible(widget, *control);
    return nullptr;
}

} // namespace

void installAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(&makeInterface);
        return true;
    }();
    (void)installed;
}

namespace {

qint64 steadyMilliseconds() {
    static const QElapsedTimer start = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return start.elapsed();
}

std::function<qint64()>& noticeClock() {
    static std::function<qint64()> clock = &steadyMilliseconds;
    return clock;
}

// When a control's name was last told, and whether a later change waits for its turn.
class NameNotices : public QObject {
public:
    explicit NameNotices(QObject* control) : QObject(control) {
        setObjectName(QStringLiteral("tarnell-name-notices"));
        waiting_.setSingleShot(true);
        // A coarse timer may fire up to 5 % early, within the second.
        waiting_.setTimerType(Qt::PreciseTimer);
        connect(&waiting_, &QTimer::timeout, this, [this] { send(noticeClock()()); });
    }

    static NameNotices& of(QObject* control) {
        auto* notices = control->findChild<NameNotices*>(QStringLiteral("tarnell-name-notices"),
                                                         Qt::FindDirectChildrenOnly);
        return notices ? *notices : *new NameNotices(control);
    }

    void changed() {
        if (waiting_.isActive())
            return;
        // One reading for the decision and the wait: two could straddle the end of the second
        // and ask for a negative wait, which the timer refuses while it counts as running.
        const qint64 now = noticeClock()();
        const qint64 since = last_ ? now - *last_ : NameNoticeInterval;
        if (since >= NameNoticeInterval)
            send(now);
        else
            waiting_.start(static_cast<int>(NameNoticeInterval - since));
    }

private:
    void send(qint64 now) {
        last_ = now;
        if (!QAccessible::isActive())
            return;
        QAccessibleEvent event(parent(), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }

    std::optional<qint64> last_;
    QTimer waiting_;
};

} // namespace

void setNameNoticeClock(std::function<qint64()> clock) {
    noticeClock() = clock ? std::move(clock) : std::function<qint64()>(&steadyMilliseconds);
}

void notifyAccessibleNameChanged(QObject* control) {
    if (!QAccessible::isActive())
        return;
    NameNotices::of(control).changed();
}

QString lcdSpokenName(const QString& counts, const QString& shown) {
    QString number = shown.trimmed();
    bool digitsOnly = !number.isEmpty();
    for (const QChar c : number)
        digitsOnly = digitsOnly && c.isDigit();
    if (digitsOnly)
        number = QString::number(number.toLongLong());
    if (counts.trimmed().isEmpty())
        return number;
    return number.isEmpty() ? counts.trimmed() : counts.trimmed() + QLatin1Char(' ') + number;
}

namespace {

// An interface that the toolkit made before the owner's wish was known goes, so that the next
// one asked for follows the wish.
void renewInterface(QWidget* widget) {
    if (QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(face));
}

} // namespace

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    installAccessibleInterfaces();
    widget->setProperty(RoleProperty, static_cast<int>(role));
    renewInterface(widget);
}

void presentAsCheckBox(QAbstractButton* handle, QAbstractButton* box) {
    installAccessibleInterfaces();
    handle->setProperty(CheckBoxProperty, QVariant::fromValue<QObject*>(box));
    renewInterface(handle);
    QObject::connect(box, &QAbstractButton::toggled, handle, [handle] {
        if (!QAccessible::isActive())
            return;
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(handle, changed);
        QAccessible::updateAccessibility(&event);
    });
}

} // namespace tarnell
