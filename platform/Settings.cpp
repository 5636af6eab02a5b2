#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <cstring>
#include <limits>

namespace tarnell::platform {

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

// The file is INI text ("[General]", "name=value"), read and written here rather than by
// QSettings' IniFormat: that one decodes a value "@Variant(...)" as whatever type its bytes
// name, and the reader of such a type, fed by a damaged or hostile file, can ask for
// gigabytes before the window even opens. Here every value stays text; integerFrom takes
// the whole numbers from it. Names outside [General] are "section/name", as in IniFormat.
// Only plain lines are taken: printable ASCII without the characters that IniFormat quotes,
// escapes or types, so what is written back reads the same with IniFormat too. Any other
// line is damage: skipped, and left out of the next write. The reader never reports it,
// since QSettings would then throw away the good lines too.
bool isPlain(const QByteArray& text, bool isName) {
    if (text.isEmpty() || text.startsWith('@'))
        return false;
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E || std::strchr("\"\\;,%=#[]", c) != nullptr ||
            (isName && c == ' '))
            return false;
    }
    return true;
}

bool readIni(QIODevice& device, QSettings::SettingsMap& map) {
    QString section;
    bool sectionUsable = true;
    for (const QByteArray& raw : device.readAll().split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[')) {
            const QByteArray name = line.mid(1, line.size() - 2).trimmed();
            sectionUsable = line.endsWith(']') && isPlain(name, true);
            section = QString::fromLatin1(name);
            if (section.compare(QStringLiteral("General"), Qt::CaseInsensitive) == 0)
                section.clear();
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        const QByteArray name = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if (!sectionUsable || equals < 0 || !isPlain(name, true) ||
            (!value.isEmpty() && !isPlain(value, false)))
            continue;
        const QString key = QString::fromLatin1(name);
        map.insert(section.isEmpty() ? key : section + u'/' + key, QString::fromLatin1(value));
    }
    return true;
}

bool writeIni(QIODevice& device, const QSettings::SettingsMap& map) {
    QMap<QByteArray, QByteArray> sections;
    for (auto value = map.cbegin(); value != map.cend(); ++value) {
        const qsizetype slash = value.key().lastIndexOf(u'/');
        const QByteArray section =
            slash < 0 ? QByteArrayLiteral("General") : value.key().left(slash).toUtf8();
        const QByteArray name = value.key().mid(slash + 1).toUtf8();
        const QByteArray text = value.value().toString().toUtf8();
        // Whatever could not be read back the same is left out, as when reading.
        if (isPlain(section, true) && isPlain(name, true) &&
            (text.isEmpty() || isPlain(text, false)))
            sections[section] += name + '=' + text + '\n';
    }
    QByteArray text;
    for (auto section = sections.cbegin(); section != sections.cend(); ++section) {
        if (!text.isEmpty())
            text += '\n';
        text += '[' + section.key() + "]\n" + section.value();
    }
    return device.write(text) == text.size();
}

std::unique_ptr<QSettings> openSettings() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("conf"), readIni, writeIni);
    return std::make_unique<QSettings>(format, QSettings::UserScope, QStringLiteral("Morvane"),
                                       QStringLiteral("Tarnell"));
}

} // namespace

SettingsStore::SettingsStore() = default;
SettingsStore::~SettingsStore() {
    if (settings_)
        settings_->sync();
}

bool SettingsStore::open() {
    settings_ = openSettings();
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
    return openSettings()->fileName();
}

} // namespace tarnell::platform
