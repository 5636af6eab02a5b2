// Placeholder: the settings store is being written.
#include "Settings.h"
#include <QSettings>
namespace platform {
SettingsStore::SettingsStore() = default;
SettingsStore::~SettingsStore() = default;
} // namespace platform
