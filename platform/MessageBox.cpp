#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace tarnell::platform {

namespace {
MessageHandler& handlerSlot() {
    static MessageHandler handler;
    return handler;
}
} // namespace

void showMessage(const QString& text, const QString& title) {
    if (handlerSlot()) {
        handlerSlot()(title, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

MessageHandler setMessageHandler(MessageHandler handler) {
    MessageHandler previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}

} // namespace tarnell::platform
