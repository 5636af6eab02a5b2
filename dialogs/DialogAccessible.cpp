#include "DialogAccessible.h"

#include "dialogs/DialogParts.h"
#include "widgets/ShadowLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QStringList>

namespace tarnell {

namespace {

QAccessibleInterface* makeDialogInterface(const QString& className, QObject* object) {
    // Asked for each class from the most derived up, so every dialog arrives here by its base.
    if (className == QLatin1String(TDialogForm::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Dialog);
    return nullptr;
}

} // namespace

void installDialogAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&makeDialogInterface);
        return true;
    }();
    (void)installed;
}

QString spokenLine(const std::vector<TShadowLabel*>& parts) {
    QStringList captions;
    for (const TShadowLabel* part : parts)
        captions.append(part->Caption());
    return captions.join(QLatin1Char(' ')).simplified();
}

} // namespace tarnell
