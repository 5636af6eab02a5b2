#include "Sound.h"
#include "AlsaOutput.h"
#include "Resources.h"
#include "SoundPlayer.h"

#include <QCoreApplication>
#include <map>
#include <mutex>

namespace tarnell::platform {

namespace {

SoundPlayer* thePlayer = nullptr;

void destroyPlayer() {
    delete thePlayer;
    thePlayer = nullptr;
}

SoundPlayer* player() {
    // Sounds belong to the application; outside one (a tool, say) nothing plays.
    if (!QCoreApplication::instance())
        return nullptr;
    if (!thePlayer) {
        thePlayer = new SoundPlayer(std::make_unique<AlsaOutput>());
        // Stopped and joined while the application object still exists.
        qAddPostRoutine(destroyPlayer);
    }
    return thePlayer;
}

} // namespace

WaveSound embeddedSound(const QString& name) {
    static std::mutex mutex;
    static std::map<QString, WaveSound> sounds;
    const std::lock_guard lock(mutex);
    const QString key = name.toUpper(); // as resources are looked up
    const auto found = sounds.find(key);
    if (found != sounds.end())
        return found->second;
    return sounds.emplace(key, WaveSound(loadWave(key))).first->second;
}

void playSound(const WaveSound& sound) {
    if (SoundPlayer* current = player())
        current->play(sound);
}

void prepareSound(const WaveSound& sound) {
    if (SoundPlayer* current = player())
        current->prepare(sound);
}

void stopSound() {
    if (thePlayer)
        thePlayer->stop();
}

} // namespace tarnell::platform
