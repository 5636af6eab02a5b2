// Sounds as the windows play them: the embedded sounds by name, played asynchronously, a new
// sound cutting the one playing. Below it, one player thread (SoundPlayer) decodes each sound
// once (WaveSound) and hands it to the system's output (AlsaOutput), which stays open between
// sounds; on desktops ALSA hands the sound to PulseAudio or PipeWire. The libraries are
// loaded on first use, never before the first frame, and without an audio device playing does
// nothing, quickly and silently.
#pragma once

#include "platform/WaveSound.h"

#include <QString>

namespace tarnell::platform {

// The embedded sound of this name (CLICK, TADA), the same for the whole run, so that it is
// decoded once however often it is asked for.
WaveSound embeddedSound(const QString& name);

// Starts playing, replacing any sound that plays; returns at once (decoding and output
// happen on the player's own thread, never on the caller's).
void playSound(const WaveSound& sound);
// Loads the output and decoding libraries and decodes the sound on the player's thread,
// without playing it and once the sound that plays has ended, so that its first play starts
// without that delay. Returns at once.
void prepareSound(const WaveSound& sound);
// Stops whatever plays and lets the output device go (used at shutdown).
void stopSound();

} // namespace tarnell::platform
