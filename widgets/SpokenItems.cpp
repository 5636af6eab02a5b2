#include "SpokenItems.h"

#include <QAccessibleInterface>

namespace tarnell {

namespace {

class SpokenItem : public QAccessibleInterface {
public:
    SpokenItem(QAccessibleInterface* parent, QString text, QRect rect)
        : parent_(parent), text_(std::move(text)), rect_(rect) {}

    // It said its text, and a newer one speaks now.
    void retire() { retired_ = true; }

    bool isValid() const override { return parent_->isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent_->window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return parent_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text type) const override {
        return type == QAccessible::Name ? text_ : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return retired_ ? QRect() : rect_; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.focused = !retired_;
        state.invisible = retired_;
        return state;
    }

private:
    QAccessibleInterface* parent_;
    QString text_;
    QRect rect_;
    bool retired_ = false;
};

} // namespace

TSpokenItems::TSpokenItems(std::function<QAccessibleInterface*()> parent)
    : parent_(std::move(parent)) {}

TSpokenItems::~TSpokenItems() {
    for (QAccessible::Id id : {current_, retired_})
        if (id != 0)
            QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* TSpokenItems::say(const QString& text, const QRect& rect) {
    clear();
    current_ = QAccessible::registerAccessibleInterface(new SpokenItem(parent_(), text, rect));
    return QAccessible::accessibleInterface(current_);
}

QAccessibleInterface* TSpokenItems::current() const {
    return current_ != 0 ? QAccessible::accessibleInterface(current_) : nullptr;
}

void TSpokenItems::clear() {
    if (current_ == 0)
        return;
    if (retired_ != 0)
        QAccessible::deleteAccessibleInterface(retired_);
    static_cast<SpokenItem*>(QAccessible::accessibleInterface(current_))->retire();
    retired_ = std::exchange(current_, 0);
}

} // namespace tarnell
