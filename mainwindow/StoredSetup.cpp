#include "StoredSetup.h"

#include "core/Puzzle.h"
#include "platform/Settings.h"

namespace tarnell {

namespace {

const QString SettingFoxes = QStringLiteral("Lim");
const QString SettingSize = QStringLiteral("Fin");
const QString SettingHints = QStringLiteral("Hints");

} // namespace

TStoredSetup readStoredSetup() {
    TStoredSetup stored{DefaultSetupSize, DefaultSetupFoxes, true};
    platform::SettingsStore store;
    if (store.open()) {
        if (const auto foxes = store.readInteger(SettingFoxes))
            stored.foxes = *foxes;
        else
            store.writeInteger(SettingFoxes, DefaultSetupFoxes);
        if (const auto size = store.readInteger(SettingSize))
            stored.size = *size;
        else
            store.writeInteger(SettingSize, DefaultSetupSize);
        if (const auto hints = store.readBool(SettingHints))
            stored.hints = *hints;
        else
            store.writeBool(SettingHints, true);
        store.sync();
    }
    // Stored values outside the limits never reach the planes.
    const TSetup setup = NormalizeSetup(stored.size, stored.foxes);
    return {setup.Size, setup.Foxes, stored.hints};
}

void storeSetup(const TStoredSetup& setup) {
    platform::SettingsStore store;
    if (!store.open())
        return;
    store.writeInteger(SettingFoxes, setup.foxes);
    store.writeInteger(SettingSize, setup.size);
    store.writeBool(SettingHints, setup.hints);
    store.sync();
}

} // namespace tarnell
