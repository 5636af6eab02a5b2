#include "BmpWriter.h"

#include <QtEndian>
#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>

namespace tarnell::generator {

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int PixelsPerMetre = 2835; // 72 dpi; a fixed value keeps the bytes stable

void put16(QByteArray& out, int value) {
    const quint16 v = qToLittleEndian(static_cast<quint16>(value));
    out.append(reinterpret_cast<const char*>(&v), 2);
}

void put32(QByteArray& out, qint64 value) {
    const quint32 v = qToLittleEndian(static_cast<quint32>(value));
    out.append(reinterpret_cast<const char*>(&v), 4);
}

int rowBytes(int width, int bitsPerPixel) {
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

void putInfoHeader(QByteArray& out, int width, int height, int bitsPerPixel, int imageBytes,
                   int coloursUsed) {
    put32(out, InfoHeaderSize);
    put32(out, width);
    put32(out, height); // positive: rows are stored bottom-up
    put16(out, 1);      // planes
    put16(out, bitsPerPixel);
    put32(out, 0); // BI_RGB, uncompressed
    put32(out, imageBytes);
    put32(out, PixelsPerMetre);
    put32(out, PixelsPerMetre);
    put32(out, coloursUsed);
    put32(out, 0); // all colours important
}

void putPalette(QByteArray& out, const std::vector<QRgb>& palette) {
    for (QRgb c : palette) {
        out.append(static_cast<char>(qBlue(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qRed(c)));
        out.append('\0');
    }
}

// Packs one row of palette indices at 1, 4 or 8 bits, most significant bits first.
void putIndexRow(QByteArray& out, const std::vector<int>& indices, int bitsPerPixel) {
    const int size = rowBytes(static_cast<int>(indices.size()), bitsPerPixel);
    QByteArray row(size, '\0');
    const int perByte = 8 / bitsPerPixel;
    for (size_t x = 0; x < indices.size(); ++x) {
        const int byte = static_cast<int>(x) / perByte;
        const int shift = 8 - bitsPerPixel * (static_cast<int>(x) % perByte + 1);
        row[byte] =
            static_cast<char>(static_cast<unsigned char>(row[byte]) | (indices[x] << shift));
    }
    out.append(row);
}

std::vector<QRgb> paletteFor(const QImage& image, int bitsPerPixel, const char* what) {
    std::vector<QRgb> palette = distinctColours(image);
    const size_t limit = size_t{1} << bitsPerPixel;
    if (palette.size() > limit)
        throw std::runtime_error(std::string(what) + " has " + std::to_string(palette.size()) +
                                 " colours, more than " + std::to_string(limit) + " at " +
                                 std::to_string(bitsPerPixel) + " bits per pixel");
    return palette;
}

std::vector<int> indexRow(const QImage& rgb, int y, const std::map<QRgb, int>& index) {
    std::vector<int> row(static_cast<size_t>(rgb.width()));
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x)
        row[static_cast<size_t>(x)] = index.at(line[x] | 0xFF000000u);
    return row;
}

std::map<QRgb, int> indexOf(const std::vector<QRgb>& palette) {
    std::map<QRgb, int> index;
    for (size_t i = 0; i < palette.size(); ++i)
        index[palette[i] | 0xFF000000u] = static_cast<int>(i);
    return index;
}

} // namespace

std::vector<QRgb> distinctColours(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<QRgb> colours;
    colours.reserve(static_cast<size_t>(rgb.width()) * static_cast<size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            colours.push_back(line[x] | 0xFF000000u);
    }
    std::sort(colours.begin(), colours.end());
    colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
    return colours;
}

QByteArray encodeBmp(const QImage& image, int bitsPerPixel) {
    if (image.isNull())
        throw std::runtime_error("cannot store an empty image");
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24)
        throw std::runtime_error("unsupported depth " + std::to_string(bitsPerPixel));
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const int height = rgb.height();
    const int stride = rowBytes(width, bitsPerPixel);
    const int imageBytes = stride * height;

    std::vector<QRgb> palette;
    if (bitsPerPixel <= 8) {
        palette = paletteFor(rgb, bitsPerPixel, "the image");
        // A one-colour mask still needs both entries of a 1-bit palette.
        while (bitsPerPixel == 1 && palette.size() < 2)
            palette.push_back(palette.front() == 0xFF000000u ? 0xFFFFFFFFu : 0xFF000000u);
    }
    const int paletteBytes = static_cast<int>(palette.size()) * 4;
    const int offset = FileHeaderSize + InfoHeaderSize + paletteBytes;

    QByteArray out;
    out.reserve(offset + imageBytes);
    out.append("BM", 2);
    put32(out, offset + imageBytes);
    put32(out, 0); // two reserved words
    put32(out, offset);
    putInfoHeader(out, width, height, bitsPerPixel, imageBytes, static_cast<int>(palette.size()));
    putPalette(out, palette);

    if (bitsPerPixel == 24) {
        for (int y = height - 1; y >= 0; --y) {
            QByteArray row(stride, '\0');
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                row[3 * x] = static_cast<char>(qBlue(line[x]));
                row[3 * x + 1] = static_cast<char>(qGreen(line[x]));
                row[3 * x + 2] = static_cast<char>(qRed(line[x]));
            }
            out.append(row);
        }
    } else {
        const std::map<QRgb, int> index = indexOf(palette);
        for (int y = height - 1; y >= 0; --y)
            putIndexRow(out, indexRow(rgb, y, index), bitsPerPixel);
    }
    return out;
}

QByteArray encodeIco4(const QImage& image) {
    if (image.width() != 32 || image.height() != 32)
        throw std::runtime_error("the icon must be 32 x 32");
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    // Transparent pixels are stored black under a set AND bit, the usual convention.
    QImage colours(32, 32, QImage::Format_RGB32);
    QImage transparent(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb p = argb.pixel(x, y);
            const bool opaque = qAlpha(p) >= 128;
            colours.setPixel(x, y, opaque ? (p | 0xFF000000u) : 0xFF000000u);
            transparent.setPixel(x, y, opaque ? 0xFF000000u : 0xFFFFFFFFu);
        }
    std::vector<QRgb> palette = paletteFor(colours, 4, "the icon");
    palette.resize(16, 0xFF000000u);
    const std::map<QRgb, int> index = indexOf(palette);

    constexpr int xorBytes = 16 * 32; // 32 pixels at 4 bits: 16 bytes a row
    constexpr int andBytes = 4 * 32;  // 32 pixels at 1 bit: 4 bytes a row
    const int imageBytes = InfoHeaderSize + 16 * 4 + xorBytes + andBytes;

    QByteArray out;
    put16(out, 0); // reserved
    put16(out, 1); // type: icon
    put16(out, 1); // one image
    out.append(static_cast<char>(32));
    out.append(static_cast<char>(32));
    out.append(static_cast<char>(16)); // colour count
    out.append('\0');
    put16(out, 1); // planes
    put16(out, 4); // bits per pixel
    put32(out, imageBytes);
    put32(out, 6 + 16); // the image follows the directory
    // Inside an icon the header's height counts the colour and the mask bitmaps.
    putInfoHeader(out, 32, 64, 4, xorBytes + andBytes, 0);
    putPalette(out, palette);
    for (int y = 31; y >= 0; --y)
        putIndexRow(out, indexRow(colours, y, index), 4);
    const std::map<QRgb, int> maskIndex{{0xFF000000u, 0}, {0xFFFFFFFFu, 1}};
    for (int y = 31; y >= 0; --y)
        putIndexRow(out, indexRow(transparent, y, maskIndex), 1);
    return out;
}

} // namespace tarnell::generator
