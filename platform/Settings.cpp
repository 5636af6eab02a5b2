#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <limits>

namespace platform {

namespace {

std::optional<int> integerFrom(const QVariant& value) {
    if (!value.isValid())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Int:
        return value.toInt();
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: {
        bool ok = false;
        const qlonglong wide = value.toLongLong(&ok);
        if (!ok || wide < std::numeric_limits<int>::min() || wide > std::numeric_limits<int>::max())
            return std::nullopt;
        return static_cast<int>(wide);
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        // The INI file holds text; only a whole decimal integer that fits counts.
        bool ok = false;
        const int parsed = value.toString().trimmed().toInt(&ok, 10);
        if (!ok)
            return std::nullopt;
        return parsed;
    }
    default:
        return std::nullopt;
    }
}

// A file that does not parse (FormatError) is still usable: what could be read is checked
// value by value, and the next write replaces the file with a sound one. Refusing it would
// leave the damaged file in place for good and lose every later change of the settings.
bool usable(const QSettings& settings) {
    return settings.status() != QSettings::AccessError && settings.isWritable();
}

} // namespace

SettingsStore::SettingsStore() = default;
SettingsStore::~SettingsStore() {
    if (settings_)
        settings_->sync();
}

bool SettingsStore::open() {
    settings_ = std::make_unique<QSettings>(QStringLiteral("Morvane"), QStringLiteral("Tarnell"));
    // isWritable() creates the folder when it is missing and tries the file itself.
    if (!usable(*settings_)) {
        settings_.reset();
        return false;
    }
    return true;
}

bool SettingsStore::isOpen() const {
    return settings_ != nullptr;
}

bool SettingsStore::valueExists(const QString& name) const {
    return settings_ && settings_->contains(name);
}

std::optional<int> SettingsStore::readInteger(const QString& name) const {
    if (!settings_)
        return std::nullopt;
    return integerFrom(settings_->value(name));
}

std::optional<bool> SettingsStore::readBool(const QString& name) const {
    const std::optional<int> stored = readInteger(name);
    if (!stored)
        return std::nullopt;
    return *stored != 0;
}

bool SettingsStore::writeInteger(const QString& name, int value) {
    if (!settings_)
        return false;
    settings_->setValue(name, value);
    return settings_->status() != QSettings::AccessError;
}

bool SettingsStore::writeBool(const QString& name, bool value) {
    return writeInteger(name, value ? 1 : 0);
}

bool SettingsStore::sync() {
    if (!settings_)
        return false;
    settings_->sync();
    return settings_->status() != QSettings::AccessError;
}

QString SettingsStore::location() const {
    if (settings_)
        return settings_->fileName();
    return QSettings(QStringLiteral("Morvane"), QStringLiteral("Tarnell")).fileName();
}

} // namespace platform
