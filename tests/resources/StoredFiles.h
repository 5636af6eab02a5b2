// Reading the embedded files back as stored: the header fields of a BMP or ICO file and the
// chunks of a RIFF WAVE file, parsed here independently of the writers under test.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <optional>

namespace tarnell::resourcetest {

struct BmpHeader {
    QByteArray magic;
    uint32_t fileSize = 0;
    uint32_t pixelOffset = 0;
    uint32_t infoSize = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 0;
    uint16_t bitsPerPixel = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
};

std::optional<BmpHeader> readBmpHeader(const QByteArray& bytes);

struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

// The fmt chunk, and the size of the data chunk (-1 when missing).
std::optional<WaveFormat> readWaveFormat(const QByteArray& riff);
qint64 waveDataSize(const QByteArray& riff);

// The bytes of an embedded file by its resource path (":/res/...").
QByteArray embeddedFile(const QString& path);

// Pixel helpers on RGB32 images.
QRgb rgbAt(const QImage& image, int x, int y);
bool hasColour(const QImage& image, QRgb colour);
inline bool isPureWhite(QRgb c) {
    return (c & 0xFFFFFFu) == 0xFFFFFFu;
}
// A colour as rgbAt reports it: no alpha.
constexpr QRgb plainRgb(int red, int green, int blue) {
    return (QRgb(red) << 16) | (QRgb(green) << 8) | QRgb(blue);
}
inline QImage frameOf(const QImage& strip, int frameWidth, int index) {
    return strip.copy(index * frameWidth, 0, frameWidth, strip.height());
}
// How many pixels pass the test, which is given each colour as rgbAt reports it.
template <typename Test> int countPixels(const QImage& image, Test test) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(rgbAt(image, x, y)) ? 1 : 0;
    return count;
}

} // namespace tarnell::resourcetest
