// A message box with one OK button. Tests replace the box with a recorder, since a
// modal box would stop a headless run.
#pragma once

#include <QString>
#include <functional>

namespace tarnell::platform {

using MessageHandler = std::function<void(const QString& title, const QString& text)>;

void showMessage(const QString& text, const QString& title = QStringLiteral("Tarnell"));
// Replaces the box (empty handler: back to the real box); returns the previous handler.
MessageHandler setMessageHandler(MessageHandler handler);

} // namespace tarnell::platform
