// Writers for the stored image formats: Windows BMP with a BITMAPINFOHEADER at 1, 4, 8 or
// 24 bits per pixel, and a 32 x 32 icon file with its AND mask.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <vector>

namespace tarnell::generator {

// The distinct colours of an image (alpha ignored), sorted by value, so that the same
// picture always gets the same palette.
std::vector<QRgb> distinctColours(const QImage& image);

// The complete BMP file of image at the given depth (1, 4, 8 or 24). Palette depths store
// the image's own colours; an image with more colours than the depth allows is an error
// (std::runtime_error naming the count), never a silent reduction.
QByteArray encodeBmp(const QImage& image, int bitsPerPixel);

// The complete ICO file of one 4-bit image: the opaque pixels (alpha >= 128) are stored in a
// 16-colour palette, the others are transparent through the AND mask. Throws
// std::runtime_error when the opaque pixels need more than 16 colours with black.
QByteArray encodeIco4(const QImage& image);

} // namespace tarnell::generator
