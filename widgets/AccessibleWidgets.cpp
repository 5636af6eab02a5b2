#include "AccessibleWidgets.h"

#include "MyAni.h"
#include "ShadowLabel.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace tarnell {

namespace {

// The LCD label reads as static text: named by the owner's accessible name, else its hint,
// else what it shows; what it shows is also its description and its value.
class LcdLabelAccessible : public QAccessibleWidget {
public:
    explicit LcdLabelAccessible(TLCDLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text type) const override {
        const auto* label = static_cast<const TLCDLabel*>(widget());
        switch (type) {
        case QAccessible::Name:
            if (!label->accessibleName().isEmpty())
                return label->accessibleName();
            return !label->Hint().isEmpty() ? label->Hint() : label->Caption();
        case QAccessible::Description:
            if (!label->accessibleDescription().isEmpty())
                return label->accessibleDescription();
            return label->Caption();
        case QAccessible::Value:
            return label->Caption();
        default:
            return QAccessibleWidget::text(type);
        }
    }
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

void notifyAccessibleTextChanged(QObject* control, bool nameChanged) {
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(control, nameChanged ? QAccessible::NameChanged
                                                : QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace tarnell
