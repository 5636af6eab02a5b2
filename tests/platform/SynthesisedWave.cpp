#include "SynthesisedWave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cmath>
#include <sndfile.h>

namespace tarnell::soundtest {

QByteArray synthesise(int format, int channels, int rate, const std::vector<short>& samples) {
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/tarnell-wave-XXXXXX.wav"));
    if (!file.open())
        return {};
    const QByteArray path = file.fileName().toLocal8Bit();
    file.close();
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = rate;
    info.format = format;
    SNDFILE* out = sf_open(path.constData(), SFM_WRITE, &info);
    if (!out)
        return {};
    sf_write_short(out, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(out);
    QFile written(file.fileName());
    if (!written.open(QIODevice::ReadOnly))
        return {};
    return written.readAll();
}

std::vector<short> stereoTone(int frames) {
    std::vector<short> samples;
    for (int i = 0; i < frames; ++i) {
        samples.push_back(static_cast<short>(std::lround(12000.0 * std::sin(i * 0.05))));
        samples.push_back(static_cast<short>(std::lround(-8000.0 * std::sin(i * 0.03))));
    }
    return samples;
}

} // namespace tarnell::soundtest
