// The two embedded sounds, synthesised: CLICK, a short crisp click (16-bit PCM), and TADA,
// a bright fanfare (Microsoft ADPCM). Both are complete RIFF WAVE files.
#pragma once

#include <QByteArray>
#include <vector>

namespace tarnell::generator {

constexpr int SoundSampleRate = 22050;
constexpr int SoundChannels = 2;
constexpr int ClickDataBytes = 11552; // 2888 stereo frames of 16 bits
constexpr int TadaDataBytes = 47104;  // the ADPCM data chunk

QByteArray synthesiseClick();
QByteArray synthesiseTada();

// Interleaved stereo samples in -1..1 as a 16-bit PCM RIFF WAVE file.
QByteArray encodePcmWave(const std::vector<float>& interleaved, int channels, int sampleRate);
// The same samples as a Microsoft ADPCM RIFF WAVE file written by libsndfile.
QByteArray encodeAdpcmWave(const std::vector<float>& interleaved, int channels, int sampleRate);

} // namespace tarnell::generator
