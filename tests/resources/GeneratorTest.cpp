// The generator itself: its BMP and icon writers against Qt's readers, its refusal of images
// with too many colours, and its output: the same bytes on every run, and the same bytes as
// the embedded files it made and the same pixels as the committed contact sheet.
#include "Generator.h"
#include "BmpWriter.h"
#include "StoredFiles.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>

namespace tarnell {

using namespace resourcetest;

namespace {

// An image of the given width with exactly `colours` distinct colours.
QImage patterned(int width, int height, int colours) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int k = (x * 7 + y * 3) % colours;
            image.setPixel(x, y, qRgb(k & 0xFF, (k >> 8) * 90, 255 - (k & 0xFF)));
        }
    return image;
}

TEST(BmpWriter, EveryDepthReadsBackPixelForPixelAtAwkwardWidths) {
    for (const int bits : {1, 4, 8, 24})
        for (const int width : {1, 3, 7, 9, 33}) {
            const int colours = bits == 24 ? 300 : std::min(1 << bits, width * 5);
            const QImage image = patterned(width, 5, colours);
            const QByteArray bytes = generator::encodeBmp(image, bits);
            const auto header = readBmpHeader(bytes);
            ASSERT_TRUE(header.has_value());
            EXPECT_EQ(header->bitsPerPixel, bits);
            const QImage back = QImage::fromData(bytes, "BMP");
            ASSERT_FALSE(back.isNull()) << bits << " bits, width " << width;
            const QImage a = image.convertToFormat(QImage::Format_RGB32);
            const QImage b = back.convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < width; ++x)
                    ASSERT_EQ(rgbAt(b, x, y), rgbAt(a, x, y))
                        << bits << " bits, width " << width << " at " << x << ", " << y;
        }
}

TEST(BmpWriter, RefusesMoreColoursThanTheDepthHolds) {
    EXPECT_THROW(generator::encodeBmp(patterned(20, 2, 3), 1), std::runtime_error);
    EXPECT_THROW(generator::encodeBmp(patterned(20, 2, 17), 4), std::runtime_error);
    EXPECT_THROW(generator::encodeBmp(patterned(30, 30, 257), 8), std::runtime_error);
    EXPECT_THROW(generator::encodeBmp(patterned(4, 4, 2), 16), std::runtime_error);
    EXPECT_NO_THROW(generator::encodeBmp(patterned(30, 30, 256), 8));
}

TEST(BmpWriter, OneColourMaskStillHasATwoEntryPalette) {
    QImage black(9, 3, QImage::Format_RGB32);
    black.fill(Qt::black);
    const QImage back = QImage::fromData(generator::encodeBmp(black, 1), "BMP");
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(rgbAt(back.convertToFormat(QImage::Format_RGB32), 8, 2), 0x000000u);
}

TEST(IconWriter, KeepsColoursAndTransparency) {
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    for (int y = 4; y < 28; ++y)
        for (int x = 6; x < 26; ++x)
            icon.setPixel(x, y, (x + y) % 3 == 0 ? qRgb(224, 128, 32) : qRgb(0, 0, 0));
    const QImage back =
        QImage::fromData(generator::encodeIco4(icon), "ICO").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(back.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb in = icon.pixel(x, y);
            const QRgb out = back.pixel(x, y);
            ASSERT_EQ(qAlpha(out), qAlpha(in)) << x << ", " << y;
            if (qAlpha(in)) {
                ASSERT_EQ(out & 0xFFFFFF, in & 0xFFFFFF) << x << ", " << y;
            }
        }
    EXPECT_THROW(generator::encodeIco4(patterned(32, 32, 17)), std::runtime_error);
    EXPECT_THROW(generator::encodeIco4(patterned(16, 16, 2)), std::runtime_error);
}

TEST(Generator, MakesTheSameBytesOnEveryRunAndMatchesTheCommittedFiles) {
    const auto first = generator::buildResourceFiles(generator::drawAllArt());
    const auto second = generator::buildResourceFiles(generator::drawAllArt());
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].path, second[i].path);
        EXPECT_TRUE(first[i].bytes == second[i].bytes) << qPrintable(first[i].path);
    }
    // The embedded files are what the generator makes now: nobody changed the artwork
    // without regenerating, and nothing is embedded that the generator no longer makes.
    int compared = 0;
    for (const auto& file : first) {
        if (!file.path.startsWith("res/"))
            continue;
        ++compared;
        EXPECT_TRUE(embeddedFile(":/" + file.path) == file.bytes)
            << qPrintable(file.path) << " is out of date: run the generate-resources target";
    }
    const int embedded = static_cast<int>(QDir(":/res").entryList(QDir::Files).size() +
                                          QDir(":/res/WAVE").entryList(QDir::Files).size());
    EXPECT_EQ(compared, embedded);

    // The contact sheet's previews are drawn by the program's own renderer and frame painter:
    // a change to either that was not regenerated shows here. Pixels, not PNG bytes, are
    // compared, so another compression library cannot fail it.
    const auto sheet = std::find_if(first.begin(), first.end(), [](const auto& file) {
        return file.path == QLatin1String("contact-sheet.png");
    });
    ASSERT_NE(sheet, first.end());
    const QImage committed(QStringLiteral(TARNELL_SOURCE_DIR "/resources/contact-sheet.png"));
    ASSERT_FALSE(committed.isNull()) << "resources/contact-sheet.png does not load";
    EXPECT_TRUE(QImage::fromData(sheet->bytes, "PNG").convertToFormat(QImage::Format_RGB32) ==
                committed.convertToFormat(QImage::Format_RGB32))
        << "resources/contact-sheet.png is out of date: run the generate-resources target";
}

TEST(Generator, WritesItsFilesAndRemovesStaleOnes) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("res/WAVE")));
    QFile stale(dir.filePath("res/OLD.bmp"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    QFile unrelated(dir.filePath("res/README.txt"));
    ASSERT_TRUE(unrelated.open(QIODevice::WriteOnly));
    unrelated.close();
    const std::vector<generator::ResourceFile> files{
        {QStringLiteral("res/PLATE.bmp"), QByteArray("plate")},
        {QStringLiteral("res/WAVE/CLICK.wav"), QByteArray("click")},
        {QStringLiteral("contact-sheet.png"), QByteArray("sheet")},
    };
    generator::writeResourceFiles(dir.path(), files);
    for (const auto& file : files) {
        QFile written(dir.filePath(file.path));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << qPrintable(file.path);
        EXPECT_EQ(written.readAll(), file.bytes);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("res/OLD.bmp")));
    EXPECT_TRUE(QFile::exists(dir.filePath("res/README.txt")));
}

} // namespace

} // namespace tarnell
