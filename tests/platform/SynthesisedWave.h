// Wave files made for the sound tests: samples written with libsndfile in a chosen format,
// returned as the bytes a resource would hold.
#pragma once

#include <QByteArray>
#include <vector>

namespace tarnell::soundtest {

// Interleaved samples as a wave file of the given libsndfile format; empty when it fails.
QByteArray synthesise(int format, int channels, int rate, const std::vector<short>& samples);
// Two channels of different tones, `frames` long.
std::vector<short> stereoTone(int frames);

} // namespace tarnell::soundtest
