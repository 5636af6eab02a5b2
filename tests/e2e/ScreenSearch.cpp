#include "ScreenSearch.h"

#include "tests/support/FieldGeometry.h"

#include <QDir>

namespace tarnell::e2e {

namespace {

// Whether image holds block with its top-left corner at at.
bool holdsAt(const QImage& image, const QImage& block, QPoint at) {
    if (at.x() < 0 || at.y() < 0 || at.x() + block.width() > image.width() ||
        at.y() + block.height() > image.height())
        return false;
    for (int y = 0; y < block.height(); ++y) {
        const auto* seen = reinterpret_cast<const QRgb*>(image.constScanLine(at.y() + y)) + at.x();
        const auto* wanted = reinterpret_cast<const QRgb*>(block.constScanLine(y));
        for (int x = 0; x < block.width(); ++x)
            if ((seen[x] & 0xffffff) != (wanted[x] & 0xffffff))
                return false;
    }
    return true;
}

} // namespace

std::optional<QPoint> find(const QImage& image, const QImage& block) {
    if (image.isNull() || block.isNull())
        return std::nullopt;
    const QRgb first = block.pixel(0, 0) & 0xffffff;
    for (int y = 0; y + block.height() <= image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x + block.width() <= image.width(); ++x)
            if ((row[x] & 0xffffff) == first && holdsAt(image, block, QPoint(x, y)))
                return QPoint(x, y);
    }
    return std::nullopt;
}

QPoint cellOnScreen(QPoint window, int row, int col) {
    return window + testsupport::inwindow::Field.topLeft() + testsupport::cellCentre(row, col);
}

QRgb plateOnScreen(const QImage& shot, QPoint window, int row, int col, QPoint offset) {
    const QPoint at = cellOnScreen(window, row, col) + offset;
    return shot.valid(at) ? shot.pixel(at) : QRgb(0);
}

bool showsAboveThePlate(const QImage& shot, QPoint window, const QImage& before, int row, int col) {
    const QRect above(testsupport::inwindow::Field.topLeft() + testsupport::cellOrigin(row, col) +
                          QPoint(20, -14),
                      QSize(18, 14));
    return shot.copy(above.translated(window)) != before.copy(above);
}

std::string kept(const QImage& shot, const QString& name) {
    const QString path = QDir::temp().absoluteFilePath(QStringLiteral("tarnell-%1.png").arg(name));
    shot.save(path);
    return " (screenshot: " + path.toStdString() + ")";
}

} // namespace tarnell::e2e
