#include "SkinTestImages.h"

#include "platform/Resources.h"

#include <QColor>
#include <QStringList>

namespace tarnell::skintest {

namespace {

const QStringList BitmapNames{"C_UL",  "TOP",    "TOP_D", "LEF",    "RIG",   "BOT",   "MASK",
                              "I_MIN", "I_MIND", "I_MAX", "I_MAXD", "I_CLO", "I_CLOD"};

// Fills an image so that the pixel (x, y) has red = base + x * dx, green = y * dy, blue = tag.
QImage ramp(int width, int height, int base, int dx, int dy, int tag) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(base + x * dx, y * dy, tag));
    return image;
}

QImage corner() {
    // Distinct colours everywhere (never all above 250), then some near-white pixels
    // above, inside and below the rows that are recoloured.
    QImage image = ramp(46, 46, 0, 5, 5, 40);
    for (int x = 0; x < 46; ++x) {
        image.setPixel(x, 30, qRgb(255, 255, 255)); // above the rows
        image.setPixel(x, 33, x % 2 ? qRgb(251, 251, 251) : qRgb(250, 255, 255));
        image.setPixel(x, 45, x % 3 ? qRgb(255, 255, 255) : qRgb(255, 251, 250));
    }
    // White inside the recess, where the icon is ANDed in.
    for (int y = 8; y < 40; ++y)
        for (int x = 10; x < 42; ++x)
            if ((x + y) % 4 == 0)
                image.setPixel(x, y, qRgb(255, 255, 255));
    return image;
}

QImage disc() {
    QImage image(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double dx = x - 15.5, dy = y - 15.5;
            image.setPixel(x, y,
                           dx * dx + dy * dy <= 15.0 * 15.0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    return image;
}

QImage icon() {
    // Opaque colours on the left and top, transparent elsewhere (drawn on white).
    QImage image(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            image.setPixel(
                x, y, x < 20 || y < 6 ? qRgba(200 + x, 60 + 3 * y, 90, 255) : qRgba(0, 0, 0, 0));
    return image;
}

} // namespace

QImage syntheticImage(const QString& name) {
    if (name == QLatin1String("C_UL"))
        return corner();
    if (name == QLatin1String("MASK"))
        return disc();
    if (name == QLatin1String("MAINICON"))
        return icon();
    if (name == QLatin1String("TOP"))
        return ramp(60, 31, 10, 4, 8, 100);
    if (name == QLatin1String("TOP_D"))
        return ramp(60, 31, 11, 4, 8, 200);
    if (name == QLatin1String("BOT"))
        return ramp(247, 15, 1, 1, 16, 150);
    if (name == QLatin1String("LEF"))
        return ramp(8, 1, 5, 30, 0, 7);
    if (name == QLatin1String("RIG"))
        return ramp(8, 1, 7, 30, 0, 9);
    const QStringList buttons{"I_MIN", "I_MIND", "I_MAX", "I_MAXD", "I_CLO", "I_CLOD"};
    const int index = static_cast<int>(buttons.indexOf(name));
    if (index >= 0)
        return ramp(16, 23, 3 + index, 15, 11, 20 + 30 * index);
    return {};
}

bool embeddedSkinPresent() {
    for (const QString& name : BitmapNames)
        if (platform::loadBitmap(name).isNull())
            return false;
    return !platform::loadIcon(QStringLiteral("MAINICON"), 32).isNull();
}

ScopedSkin::ScopedSkin(Source source)
    : previous_(skin::setSkinImageLoader(source == Source::Synthetic
                                             ? skin::SkinImageLoader(syntheticImage)
                                             : skin::SkinImageLoader())) {}

ScopedSkin::~ScopedSkin() {
    skin::setSkinImageLoader(previous_);
}

std::string sourceName(const ::testing::TestParamInfo<Source>& info) {
    return info.param == Source::Synthetic ? "Synthetic" : "Embedded";
}

QString colourText(QRgb rgb) {
    return QStringLiteral("(%1, %2, %3)").arg(qRed(rgb)).arg(qGreen(rgb)).arg(qBlue(rgb));
}

::testing::AssertionResult regionMatches(const QImage& target, const QRect& area,
                                         const QImage& source, QPoint from, const QRect& skip) {
    int failures = 0;
    QString report;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (skip.contains(x, y))
                continue;
            const QPoint s = QPoint(x, y) - area.topLeft() + from;
            const QRgb want = source.pixel(s) & 0xFFFFFF;
            const QRgb got = target.pixel(x, y) & 0xFFFFFF;
            if (want != got && ++failures <= 4)
                report += QStringLiteral(" at (%1, %2) got %3, want %4 from source (%5, %6);")
                              .arg(x)
                              .arg(y)
                              .arg(colourText(got), colourText(want))
                              .arg(s.x())
                              .arg(s.y());
        }
    if (failures == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << failures << " pixels differ" << report.toStdString();
}

::testing::AssertionResult regionIs(const QImage& target, const QRect& area, QColor colour) {
    QImage plain(area.size(), QImage::Format_RGB32);
    plain.fill(colour);
    return regionMatches(target, area, plain, QPoint(0, 0));
}

} // namespace tarnell::skintest
