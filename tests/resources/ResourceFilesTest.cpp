// Every field and skin picture is embedded under its name, at its size and stored depth,
// as a plain uncompressed bottom-up BMP that loads back; the icon is a 4-bit 32 x 32 icon.
#include "StoredFiles.h"
#include "platform/Resources.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>

namespace tarnell {

using namespace resourcetest;

namespace {

struct Expected {
    const char* name;
    int width;
    int height;
    int bitsPerPixel;
};

const Expected FieldAndSkin[] = {
    {"PLATE", 41, 23, 8},   {"PLATEB", 41, 23, 8},   {"PLATEY", 41, 23, 8},
    {"PLATE_L", 41, 25, 8}, {"PLATE_LB", 41, 25, 8}, {"PLATE_LY", 41, 25, 8},
    {"PLATE_R", 41, 25, 8}, {"PLATE_RB", 41, 25, 8}, {"PLATE_RY", 41, 25, 24},
    {"MASKP", 41, 23, 1},   {"MASK_L", 41, 25, 1},   {"MASK_R", 41, 25, 1},
    {"FLAG", 15, 19, 24},   {"FLAG_M", 15, 19, 1},   {"FOX", 20, 15, 4},
    {"FOX_M", 20, 15, 24},  {"C_UL", 46, 46, 8},     {"MASK", 32, 32, 8},
    {"TOP", 60, 31, 8},     {"TOP_D", 60, 31, 8},    {"LEF", 8, 1, 4},
    {"RIG", 8, 1, 4},       {"BOT", 247, 15, 8},     {"I_MIN", 16, 23, 8},
    {"I_MIND", 16, 23, 8},  {"I_MAX", 16, 23, 8},    {"I_MAXD", 16, 23, 8},
    {"I_CLO", 16, 23, 8},   {"I_CLOD", 16, 23, 8},
};

// The button faces and the pictures of single windows.
const Expected ButtonsAndWindows[] = {
    {"BT1", 180, 22, 8},
    {"BT2", 180, 22, 8},
    {"BT3", 180, 22, 8},
    {"BT4", 180, 22, 8},
    {"BT5", 180, 22, 8},
    {"BT6", 180, 22, 8},
    {"BT7", 240, 22, 8},
    {"BT8", 240, 22, 8},
    {"BT9", 240, 22, 8},
    {"BTA", 240, 22, 8},
    {"BTB", 240, 22, 8},
    {"BTC", 240, 22, 8},
    {"BTD", 240, 22, 8},
    {"B1", 96, 19, 8},
    {"B2", 96, 19, 8},
    {"B3", 96, 19, 8},
    {"B4", 96, 19, 8},
    {"B5", 96, 19, 8},
    {"B6", 96, 19, 8},
    {"B7", 96, 19, 8},
    {"C1", 56, 23, 8},
    {"C2", 56, 23, 8},
    {"C3", 56, 23, 8},
    {"ABOK", 36, 18, 4},
    {"ABCANCEL", 36, 18, 4},
    {"ABHELP", 36, 18, 4},
    {"ABYES", 36, 18, 4},
    {"ABNO", 36, 18, 4},
    {"ABCLOSE", 36, 18, 4},
    {"ABABORT", 36, 18, 4},
    {"ABRETRY", 36, 18, 4},
    {"ABIGNORE", 36, 18, 4},
    {"ABALL", 36, 18, 4},
    {"ANI_SOLVE", 288, 32, 24},
    {"ANI_ABOUT", 192, 32, 24},
    {"ANI_EXIT", 340, 33, 24},
    {"ABOUT_ANIM", 450, 50, 24},
    {"CHECK_ON", 14, 14, 24},
    {"CHECK_OFF", 14, 14, 24},
    {"CHECK_DIS", 14, 14, 24},
    {"PIC_WARNING", 32, 32, 24},
    {"PIC_ERROR", 32, 32, 24},
    {"PIC_QUESTION", 32, 32, 24},
    {"GLYPH_TICK", 36, 18, 24},
    {"GLYPH_CROSS", 36, 18, 24},
    {"DONATE_PAYPAL", 62, 31, 24},
    {"DONATE_WEBMONEY", 95, 41, 24},
};

// Printed by name: the test's listed name then carries no address that differs between builds.
void PrintTo(const Expected& e, std::ostream* out) { *out << e.name; }

class StoredBitmap : public ::testing::TestWithParam<Expected> {};

TEST_P(StoredBitmap, HasItsSizeDepthAndAPlainLayout) {
    const Expected e = GetParam();
    const QByteArray bytes = platform::bitmapFileBytes(QString::fromLatin1(e.name));
    ASSERT_FALSE(bytes.isEmpty()) << e.name << " is not embedded";
    const auto header = readBmpHeader(bytes);
    ASSERT_TRUE(header.has_value()) << e.name;
    EXPECT_EQ(header->magic, QByteArray("BM"));
    EXPECT_EQ(header->fileSize, static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(header->infoSize, 40u);
    EXPECT_EQ(header->width, e.width);
    EXPECT_EQ(header->height, e.height) << "rows are stored bottom-up, so the height is positive";
    EXPECT_EQ(header->planes, 1);
    EXPECT_EQ(header->bitsPerPixel, e.bitsPerPixel);
    EXPECT_EQ(header->compression, 0u);

    const uint32_t paletteEntries =
        e.bitsPerPixel > 8 ? 0 : (header->coloursUsed ? header->coloursUsed : 1u << e.bitsPerPixel);
    EXPECT_LE(paletteEntries, e.bitsPerPixel > 8 ? 0u : 1u << e.bitsPerPixel);
    EXPECT_EQ(header->pixelOffset, 54u + 4u * paletteEntries);
    const uint32_t stride = ((e.width * e.bitsPerPixel + 31) / 32) * 4;
    EXPECT_EQ(header->fileSize, header->pixelOffset + stride * e.height);

    const QImage image = platform::loadBitmap(QString::fromLatin1(e.name));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(e.width, e.height));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
}

INSTANTIATE_TEST_SUITE_P(FieldAndSkin, StoredBitmap, ::testing::ValuesIn(FieldAndSkin),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(ButtonsAndWindows, StoredBitmap, ::testing::ValuesIn(ButtonsAndWindows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StoredFiles, AreExactlyTheListedImagesIconAndSounds) {
    QStringList expected;
    for (const Expected& e : FieldAndSkin)
        expected << QString::fromLatin1(e.name) + ".bmp";
    for (const Expected& e : ButtonsAndWindows)
        expected << QString::fromLatin1(e.name) + ".bmp";
    expected << "MAINICON.ico";
    QStringList images = QDir(":/res").entryList(QDir::Files);
    images.sort();
    expected.sort();
    EXPECT_EQ(images, expected);
    QStringList sounds = QDir(":/res/WAVE").entryList(QDir::Files);
    sounds.sort();
    EXPECT_EQ(sounds, QStringList({"CLICK.wav", "TADA.wav"}));
}

// The names of a README table row's first cell: "PLATE, PLATEB", "BT1..BT6", "MAINICON (.ico)".
QStringList namesOfRow(const QString& cell) {
    QStringList names;
    static const QRegularExpression range(QStringLiteral("^([A-Z_]*)([0-9]+)\\.\\.\\1([0-9]+)$"));
    for (QString name : cell.split(QLatin1Char(','))) {
        name = name.trimmed().section(QLatin1Char(' '), 0, 0);
        const QRegularExpressionMatch span = range.match(name);
        if (!span.hasMatch()) {
            names << name;
            continue;
        }
        for (int n = span.captured(2).toInt(); n <= span.captured(3).toInt(); ++n)
            names << span.captured(1) + QString::number(n);
    }
    return names;
}

// The README of the resources describes every file in a table row that a Markdown reader shows
// as one (rows follow their header without a break), with the size and depth it has.
TEST(StoredFiles, EachIsARowOfTheReadmeTablesWithItsSizeAndDepth) {
    QFile readme(QStringLiteral(TARNELL_SOURCE_DIR "/resources/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(readme.readAll()).split(QLatin1Char('\n'));
    QStringList described;
    for (qsizetype at = 0; at + 1 < lines.size(); ++at) {
        if (!lines[at].startsWith(QLatin1Char('|')) || !lines[at + 1].startsWith(u"|---"))
            continue;
        const QStringList header = lines[at].split(QLatin1Char('|'));
        const bool images =
            header.value(2).trimmed() == u"size" && header.value(3).trimmed() == u"bpp";
        for (at += 2; at < lines.size() && lines[at].startsWith(QLatin1Char('|')); ++at) {
            const QStringList cells = lines[at].split(QLatin1Char('|'));
            const QString size = cells.value(2).trimmed();
            for (const QString& name : namesOfRow(cells.value(1))) {
                SCOPED_TRACE(name.toStdString());
                const QString path =
                    images ? QStringLiteral(":/res/%1.%2")
                                 .arg(name, name == u"MAINICON" ? QStringLiteral("ico")
                                                                : QStringLiteral("bmp"))
                           : QStringLiteral(":/res/WAVE/%1.wav").arg(name);
                described << path;
                ASSERT_TRUE(QFile::exists(path)) << "the README names a file that is not there";
                if (!images || name == u"MAINICON")
                    continue;
                const std::optional<BmpHeader> bmp = readBmpHeader(embeddedFile(path));
                ASSERT_TRUE(bmp.has_value());
                EXPECT_EQ(size, QStringLiteral("%1 x %2").arg(bmp->width).arg(bmp->height));
                EXPECT_EQ(cells.value(3).trimmed().toInt(), bmp->bitsPerPixel);
            }
        }
    }
    QStringList stored;
    for (const QString& folder : {QStringLiteral(":/res"), QStringLiteral(":/res/WAVE")})
        for (const QString& file : QDir(folder).entryList(QDir::Files))
            stored << folder + QLatin1Char('/') + file;
    for (const QString& file : stored)
        EXPECT_TRUE(described.contains(file)) << file.toStdString() << " is in no table row";
}

TEST(StoredIcon, IsOne32By32ImageAt4BitsWithItsMask) {
    const QByteArray bytes = embeddedFile(QStringLiteral(":/res/MAINICON.ico"));
    ASSERT_GE(bytes.size(), 22 + 40 + 64 + 512 + 128);
    auto u16 = [&](int at) { return qFromLittleEndian<uint16_t>(bytes.constData() + at); };
    auto u32 = [&](int at) { return qFromLittleEndian<uint32_t>(bytes.constData() + at); };
    EXPECT_EQ(u16(0), 0);
    EXPECT_EQ(u16(2), 1) << "type 1 is an icon";
    EXPECT_EQ(u16(4), 1) << "one image";
    EXPECT_EQ(static_cast<uint8_t>(bytes[6]), 32);
    EXPECT_EQ(static_cast<uint8_t>(bytes[7]), 32);
    EXPECT_EQ(u16(12), 4);
    const uint32_t size = u32(14);
    const uint32_t offset = u32(18);
    EXPECT_EQ(offset + size, static_cast<uint32_t>(bytes.size()));
    // The image's own header: twice the height for the colour bitmap and the AND mask.
    EXPECT_EQ(u32(offset), 40u);
    EXPECT_EQ(u32(offset + 4), 32u);
    EXPECT_EQ(u32(offset + 8), 64u);
    EXPECT_EQ(u16(offset + 14), 4);
    EXPECT_EQ(size, 40u + 16u * 4u + 32u * 16u + 32u * 4u);

    const QImage icon = platform::loadIcon(QStringLiteral("MAINICON"), 32);
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << "the corners are transparent";
    EXPECT_EQ(qAlpha(icon.pixel(16, 16)), 255) << "the motif is centred";
}

} // namespace

} // namespace tarnell
