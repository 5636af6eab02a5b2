// The per-user settings store for the key "SOFTWARE\Morvane\Tarnell": named integer and
// boolean values with an existence test, a read and a write (QSettings "Morvane"/"Tarnell").
#pragma once

#include <QString>
#include <memory>
#include <optional>

class QSettings;

namespace tarnell::platform {

class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Opens the key, creating it if missing; false when the store cannot be used.
    bool open();
    bool isOpen() const;

    bool valueExists(const QString& name) const;
    // A missing value, or one of the wrong type, reads as nullopt.
    std::optional<int> readInteger(const QString& name) const;
    std::optional<bool> readBool(const QString& name) const;
    // The boolean is written as the integer 1 or 0. False when the write failed.
    bool writeInteger(const QString& name, int value);
    bool writeBool(const QString& name, bool value);
    // Flushes to disk; false on failure.
    bool sync();

    // Where the store lives (for messages and tests).
    QString location() const;

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace tarnell::platform
