#include "StoredFiles.h"

#include <QFile>
#include <QtEndian>

namespace tarnell::resourcetest {

namespace {
uint16_t u16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<uint16_t>(b.constData() + at);
}
uint32_t u32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<uint32_t>(b.constData() + at);
}

// The offset of a chunk's body and its size, or -1.
std::pair<qsizetype, qint64> findChunk(const QByteArray& riff, const char* id) {
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return {-1, -1};
    qsizetype at = 12;
    while (at + 8 <= riff.size()) {
        const uint32_t size = u32(riff, at + 4);
        if (riff.mid(at, 4) == id)
            return {at + 8, size};
        at += 8 + size + (size & 1);
    }
    return {-1, -1};
}
} // namespace

std::optional<BmpHeader> readBmpHeader(const QByteArray& bytes) {
    if (bytes.size() < 54)
        return std::nullopt;
    BmpHeader h;
    h.magic = bytes.left(2);
    h.fileSize = u32(bytes, 2);
    h.pixelOffset = u32(bytes, 10);
    h.infoSize = u32(bytes, 14);
    h.width = static_cast<int32_t>(u32(bytes, 18));
    h.height = static_cast<int32_t>(u32(bytes, 22));
    h.planes = u16(bytes, 26);
    h.bitsPerPixel = u16(bytes, 28);
    h.compression = u32(bytes, 30);
    h.coloursUsed = u32(bytes, 46);
    return h;
}

std::optional<WaveFormat> readWaveFormat(const QByteArray& riff) {
    const auto [at, size] = findChunk(riff, "fmt ");
    if (at < 0 || size < 16 || at + 16 > riff.size())
        return std::nullopt;
    return WaveFormat{u16(riff, at),     u16(riff, at + 2),  u32(riff, at + 4),
                      u32(riff, at + 8), u16(riff, at + 12), u16(riff, at + 14)};
}

qint64 waveDataSize(const QByteArray& riff) {
    return findChunk(riff, "data").second;
}

QByteArray embeddedFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QRgb rgbAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

bool hasColour(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (rgbAt(image, x, y) == (colour & 0xFFFFFFu))
                return true;
    return false;
}

} // namespace tarnell::resourcetest
