#include "AccessibleWidgets.h"

#include "MyAni.h"
#include "ShadowLabel.h"
#include "widgets/lcd/LCD_Lab.h"

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

// The LCD label reads as static text named by what it counts and the number it shows (screen
// readers read a label's name, seldom its description); the number alone is its value.
class LcdLabelAccessible : public QAccessibleWidget {
public:
    explicit LcdLabelAccessible(TLCDLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text type) const override {
        const auto* label = static_cast<const TLCDLabel*>(widget());
        switch (type) {
        case QAccessible::Name:
            return lcdSpokenName(!label->accessibleName().isEmpty() ? label->accessibleName()
                                                                    : label->Hint(),
                                 label->Caption());
        case QAccessible::Description:
            return label->accessibleDescription();
        case QAccessible::Value:
            return label->Caption();
        default:
            return QAccessibleWidget::text(type);
        }
    }
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

// The animated image is an animation named by its hint; the side toolbar's buttons are push
// buttons whose press action does what a click with the mouse does.
class AnimatedImageAccessible : public QAccessibleWidget {
public:
    explicit AnimatedImageAccessible(TAnimatedImage* image)
        : QAccessibleWidget(image, qobject_cast<TMyAni*>(image) ? QAccessible::Button
                                                                : QAccessible::Animation) {}

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name && widget()->accessibleName().isEmpty())
            return widget()->toolTip();
        return QAccessibleWidget::text(type);
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (role() == QAccessible::Button && widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction() && role() == QAccessible::Button) {
            if (widget()->isEnabled())
                static_cast<TAnimatedImage*>(widget())->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface* makeInterface(const QString& className, QObject* object) {
    // What the owner asked for comes first, whatever the widget's class.
    if (object && object->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(object);
        if (const QVariant box = object->property(CheckBoxProperty); box.isValid())
            return new CheckBoxHandleAccessible(
                static_cast<QAbstractButton*>(widget),
                qobject_cast<QAbstractButton*>(box.value<QObject*>()));
        if (const QVariant role = object->property(RoleProperty); role.isValid())
            return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
    }
    if (className == QLatin1String(TLCDLabel::staticMetaObject.className()))
        return new LcdLabelAccessible(static_cast<TLCDLabel*>(object));
    if (className == QLatin1String(TMyAni::staticMetaObject.className()) ||
        className == QLatin1String(TAnimatedImage::staticMetaObject.className()))
        return new AnimatedImageAccessible(static_cast<TAnimatedImage*>(object));
    if (className == QLatin1String(TShadowLabel::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::StaticText);
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
