#include "Resources.h"

#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QPainter>

namespace tarnell::platform {

namespace {
QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
} // namespace

namespace {
// Read by the built-in BMP reader alone: probing the contents would load every image format
// plug-in first.
void openBitmap(QImageReader& reader, const QString& name) {
    reader.setFileName(QStringLiteral(":/res/%1.bmp").arg(name.toUpper()));
    reader.setFormat("BMP");
    reader.setAutoDetectImageFormat(false);
}
} // namespace

QSize bitmapSize(const QString& name) {
    QImageReader reader;
    openBitmap(reader, name);
    return reader.size();
}

QImage loadBitmap(const QString& name) {
    QImageReader reader;
    openBitmap(reader, name);
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage loadIcon(const QString& name, int size) {
    QImageReader reader(QStringLiteral(":/res/%1.ico").arg(name.toUpper()), "ICO");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.width() != size || image.height() != size)
        image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return image;
}

QByteArray loadWave(const QString& name) {
    return readAll(QStringLiteral(":/res/WAVE/%1.wav").arg(name.toUpper()));
}

QByteArray bitmapFileBytes(const QString& name) {
    return readAll(QStringLiteral(":/res/%1.bmp").arg(name.toUpper()));
}

} // namespace tarnell::platform
