// The LCD label: sizes, refusals, repaint counting and its pixels, worked out here from
// the glyph rows the display must show.
#include "ClockGlyphRows.h"
#include "tests/support/TestSupport.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace tarnell {

// Readable colours in failure messages.
void PrintTo(const QColor& color, std::ostream* os) {
    *os << color.name().toStdString();
}

using platform::rgb;
using testsupport::pixel;

namespace {

using lcdtest::ClockGlyphRows;

const QColor Black(0, 0, 0);
const QColor Lime(0, 255, 0);
const QColor DarkGreen(0, 72, 0);

class LCDLabelTest : public ::testing::Test {
protected:
    void SetUp() override { testsupport::clearMessages(); }

    // The shape and ground the main window gives its displays, in the order it sets them.
    static void setMainWindowShape(TLCDLabel& label, int chars) {
        label.setPixelSize(pix1x1);
        label.setPixelShape(spShaped);
        label.setPixelSpacing(1);
        label.setCharSpacing(2);
        label.setLineSpacing(1);
        label.setBorderSpace(2);
        label.setTextLines(1);
        label.setNoOfChars(chars);
        label.setBorderStyle(frNone);
        label.setBackGround(platform::clBlack);
    }

    // A label set up the way the main window sets its displays.
    std::unique_ptr<TLCDLabel> mainWindowLabel(int chars, const QString& caption) {
        auto label = std::make_unique<TLCDLabel>();
        setMainWindowShape(*label, chars);
        label->setPixelOn(platform::clLime);
        label->setPixelOff(rgb(0, 72, 0));
        label->setCaption(caption);
        label->show();
        return label;
    }

    static QImage shot(QWidget& widget) { return widget.grab().toImage(); }

    // The image a main-window display must show for text: black ground, cells 9 pixels
    // wide 2 apart from (3, 3), one-pixel dots 2 apart, lime where lit, dark green where not.
    static QImage expectedDisplay(int chars, const std::string& text, QColor ground = Black,
                                  QColor on = Lime, QColor off = DarkGreen) {
        QImage image(4 + chars * 9 + (chars - 1) * 2 + 2, 19, QImage::Format_RGB32);
        image.fill(ground);
        for (int cell = 0; cell < chars; ++cell) {
            const char c = cell < static_cast<int>(text.size()) ? text[cell] : ' ';
            const auto& rows = ClockGlyphRows.at(c);
            for (int r = 0; r < 7; ++r)
                for (int k = 0; k < 5; ++k) {
                    const bool lit = (rows[r] >> (4 - k)) & 1;
                    image.setPixelColor(3 + cell * 11 + k * 2, 3 + r * 2, lit ? on : off);
                }
        }
        return image;
    }

    static void expectSameImage(const QImage& actual, const QImage& expected) {
        ASSERT_EQ(actual.size(), expected.size());
        int mismatches = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                if (pixel(actual, x, y) != pixel(expected, x, y) && ++mismatches <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is "
                                  << pixel(actual, x, y).name().toStdString() << ", expected "
                                  << pixel(expected, x, y).name().toStdString();
        EXPECT_EQ(mismatches, 0);
    }
};

TEST_F(LCDLabelTest, ANewLabelHasItsInitialValuesAndIs166By28) {
    TLCDLabel label;
    EXPECT_EQ(label.size(), QSize(166, 28));
    EXPECT_EQ(label.lastSize(), QSize(166, 28));
    EXPECT_EQ(label.Caption(), QString());
    EXPECT_EQ(label.DotMatrix(), mat5x7);
    EXPECT_EQ(label.PixelSize(), pix2x2);
    EXPECT_EQ(label.PixelSpacing(), 1);
    EXPECT_EQ(label.PixelShape(), spSquare);
    EXPECT_EQ(label.PixelWidth(), 2);
    EXPECT_EQ(label.PixelHeight(), 2);
    EXPECT_EQ(label.CharSpacing(), 2);
    EXPECT_EQ(label.LineSpacing(), 2);
    EXPECT_EQ(label.BorderSpace(), 3);
    EXPECT_EQ(label.TextLines(), 1);
    EXPECT_EQ(label.NoOfChars(), 10);
    EXPECT_EQ(label.BackGround(), 12632256u);
    EXPECT_EQ(label.BorderStyle(), frLowered);
    EXPECT_EQ(label.BorderColor(), 0u);
    EXPECT_EQ(label.PixelOn(), 0u);
    EXPECT_EQ(label.PixelOff(), 11184810u);
    EXPECT_EQ(label.filename(), QString());
    EXPECT_EQ(label.focusPolicy(), Qt::NoFocus);
}

TEST_F(LCDLabelTest, PublishesItsPropertiesInOrder) {
    const QStringList expected = {
        "Caption",     "DotMatrix",   "PixelSize",   "PixelSpacing", "PixelShape", "PixelWidth",
        "PixelHeight", "CharSpacing", "LineSpacing", "BorderSpace",  "TextLines",  "NoOfChars",
        "BackGround",  "BorderStyle", "BorderColor", "PixelOn",      "PixelOff",   "filename"};
    const QMetaObject& meta = TLCDLabel::staticMetaObject;
    QStringList own;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        own << QString::fromLatin1(meta.property(i).name());
    ASSERT_GE(own.size(), expected.size());
    EXPECT_EQ(own.mid(0, expected.size()), expected);

    TLCDLabel label;
    EXPECT_TRUE(label.setProperty("NoOfChars", 4));
    EXPECT_EQ(label.NoOfChars(), 4);
}

TEST_F(LCDLabelTest, ClockTextsShowDotForDotUpToTheSeventhCharacter) {
    for (const auto& [caption, shown] : {std::pair<std::string, std::string>{"00:00,0", "00:00,0"},
                                         {"12:34,5", "12:34,5"},
                                         {"67:89,0", "67:89,0"},
                                         {"12:34,56", "12:34,5"}}) {
        SCOPED_TRACE(caption);
        auto label = mainWindowLabel(7, QString::fromStdString(caption));
        EXPECT_EQ(label->size(), QSize(81, 19));
        expectSameImage(shot(*label), expectedDisplay(7, shown));
    }
}

TEST_F(LCDLabelTest, TwoCellDisplaysPadAndCutTheirText) {
    auto label = mainWindowLabel(2, "5");
    EXPECT_EQ(label->size(), QSize(26, 19));
    const QImage image = shot(*label);
    expectSameImage(image, expectedDisplay(2, "5"));
    int unlit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 14; x < image.width(); ++x)
            unlit += pixel(image, x, y) == DarkGreen ? 1 : 0;
    EXPECT_EQ(unlit, 35);

    label->setCaption("123");
    expectSameImage(shot(*label), expectedDisplay(2, "12"));
}

TEST_F(LCDLabelTest, TextRunsOnAcrossLines) {
    auto label = mainWindowLabel(2, "0123");
    label->setTextLines(2);
    EXPECT_EQ(label->size(), QSize(26, 4 + 2 * 13 + 1 + 2));
    const QImage image = shot(*label);
    // Second line, second cell: the '3' (row 0 is #####), 14 pixels below the first line.
    const int top = 3 + 13 + 1;
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(pixel(image, 3 + 11 + k * 2, top), Lime) << k;
    // Line-break characters are characters like any other: '\n' shows as a blank.
    label->setCaption(QStringLiteral("0\n1"));
    const QImage broken = shot(*label);
    for (int k = 0; k < 5; ++k)
        for (int r = 0; r < 7; ++r)
            EXPECT_EQ(pixel(broken, 3 + 11 + k * 2, 3 + r * 2), DarkGreen);
    EXPECT_EQ(pixel(broken, 3 + 2 * 2, top), Lime); // '1' starts with ..#..
}

TEST_F(LCDLabelTest, CodesOutsideTheSetShowTheNearestEndOfItsRange) {
    auto label = mainWindowLabel(1, "~");
    const QImage tilde = shot(*label);
    label->setCaption(QString(QChar(0xE9))); // above '~' in the 32-126 sets
    expectSameImage(shot(*label), tilde);
    label->setCaption(QStringLiteral("?"));
    const QImage question = shot(*label);
    label->setCaption(QString(QChar(0x263A))); // not a Latin-1 character at all: a '?'
    expectSameImage(shot(*label), question);
    label->setCaption(QStringLiteral("\t")); // below the space: blank
    expectSameImage(shot(*label), expectedDisplay(1, " "));
}

TEST_F(LCDLabelTest, ResizingSnapsToWholeCells) {
    auto label = mainWindowLabel(7, "00:00,0");
    label->resize(60, 19);
    EXPECT_EQ(label->NoOfChars(), 5);
    EXPECT_EQ(label->size(), QSize(59, 19));
    label->resize(5, 5);
    EXPECT_EQ(label->NoOfChars(), 1);
    EXPECT_EQ(label->TextLines(), 1);
    EXPECT_EQ(label->size(), QSize(15, 19));
    label->resize(26, 60);
    EXPECT_EQ(label->TextLines(), (60 - 4 + 1) / (13 + 1));
    EXPECT_EQ(label->size(), QSize(26, 4 + 4 * 13 + 3 + 2));
}

TEST_F(LCDLabelTest, BoundsSetBeforeThePropertiesEndAtTheSameSize) {
    // A window sets a display's bounds first and its properties after them.
    QWidget page;
    for (const auto& [chars, bounds] :
         {std::pair{7, QRect(328, 8, 81, 19)}, std::pair{2, QRect(72, 8, 26, 19)}}) {
        auto* label = new TLCDLabel(&page);
        label->setGeometry(bounds);
        setMainWindowShape(*label, chars);
        EXPECT_EQ(label->geometry(), bounds);
        EXPECT_EQ(label->NoOfChars(), chars);
    }
}

TEST_F(LCDLabelTest, RefusedValuesKeepTheOldOneAndSayWhy) {
    auto label = mainWindowLabel(7, "00:00,0");
    const QSize size = label->size();
    const int paints = label->paintCount();
    struct Refusal {
        std::function<void()> set;
        std::function<int()> get;
        int kept;
        QString message;
    };
    TLCDLabel* l = label.get();
    const std::vector<Refusal> refusals = {
        {[l] { l->setPixelSpacing(-1); }, [l] { return l->PixelSpacing(); }, 1,
         "Pixel spacing can't be less than zero!"},
        {[l] { l->setCharSpacing(-1); }, [l] { return l->CharSpacing(); }, 2,
         "Character spacing can't be less than zero!"},
        {[l] { l->setLineSpacing(-3); }, [l] { return l->LineSpacing(); }, 1,
         "Line spacing can't be less than zero!"},
        {[l] { l->setBorderSpace(-1); }, [l] { return l->BorderSpace(); }, 2,
         "Border spacing can't be less than zero!"},
        {[l] { l->setTextLines(0); }, [l] { return l->TextLines(); }, 1,
         "Display needs at least on line!"},
        {[l] { l->setNoOfChars(0); }, [l] { return l->NoOfChars(); }, 7,
         "Display needs at least one character!"},
    };
    for (const auto& refusal : refusals) {
        testsupport::clearMessages();
        refusal.set();
        EXPECT_EQ(refusal.get(), refusal.kept) << refusal.message.toStdString();
        ASSERT_EQ(testsupport::messages().size(), 1);
        EXPECT_TRUE(testsupport::messages().front().endsWith(": " + refusal.message))
            << testsupport::messages().front().toStdString();
    }
    EXPECT_EQ(label->size(), size);
    EXPECT_EQ(label->paintCount(), paints);

    // Zero spacings are fine.
    testsupport::clearMessages();
    label->setCharSpacing(0);
    EXPECT_EQ(label->CharSpacing(), 0);
    EXPECT_TRUE(testsupport::messages().isEmpty());
}

TEST_F(LCDLabelTest, DotSizeIsSetOnlyWithACustomPixelSize) {
    TLCDLabel label;
    label.setPixelWidth(0);
    label.setPixelHeight(7);
    EXPECT_TRUE(testsupport::messages().isEmpty());
    EXPECT_EQ(label.PixelWidth(), 2);
    EXPECT_EQ(label.PixelHeight(), 2);

    label.setPixelSize(pix4x4);
    EXPECT_EQ(label.PixelWidth(), 4);
    EXPECT_EQ(label.PixelHeight(), 4);
    label.setPixelSize(pixCustom);
    label.setPixelWidth(0);
    label.setPixelHeight(0);
    EXPECT_EQ(testsupport::messages(),
              QStringList({"Tarnell: Display pixel width must be 1 or greater!",
                           "Tarnell: Display pixel height must be 1 or greate!"}));
    EXPECT_EQ(label.PixelWidth(), 4);
    label.setPixelWidth(3);
    label.setPixelHeight(1);
    EXPECT_EQ(label.dotWidth(), 3);
    EXPECT_EQ(label.dotHeight(), 1);
    // 10 cells of 5 x 3 + 4 x 1 = 19 by 7 x 1 + 6 x 1 = 13, 2 apart, 3 of border space.
    EXPECT_EQ(label.size(), QSize(6 + 10 * 19 + 9 * 2 + 2, 6 + 13 + 2));
}

TEST_F(LCDLabelTest, ShadeColourIsThePixelColourHalved) {
    TLCDLabel label;
    EXPECT_EQ(label.shadeColor(), 0u);
    label.setPixelOn(platform::clLime);
    EXPECT_EQ(label.shadeColor(), 0x007F00u);
    label.setPixelOn(0x12345678u);
    EXPECT_EQ(label.shadeColor(), 0x121A2B3Cu);
    label.setPixelOn(0x00FFFFFFu);
    EXPECT_EQ(label.shadeColor(), 0x007F7F7Fu);
}

TEST_F(LCDLabelTest, ShapedDotsAreRoundWithShadedCorners) {
    const QColor shade(0, 127, 0);
    const QColor grey(0xAA, 0xAA, 0xAA);
    for (const TPixelSize size : {pix3x3, pix4x4, pix5x5, pix8x8}) {
        const int n = static_cast<int>(size) + 1;
        SCOPED_TRACE(n);
        TLCDLabel label;
        label.setBorderStyle(frNone);
        label.setNoOfChars(1);
        label.setPixelSize(size);
        label.setPixelShape(spShaped);
        label.setPixelOn(platform::clLime);
        label.setCaption("1");
        label.show();
        const QImage image = shot(label);
        // '1' row 0 is ..#..: dot 2 lit, dot 0 unlit. Dots start at border space + 1 = 4.
        const int litX = 4 + 2 * (n + 1);
        const int y = 4;
        for (const auto& [dx, dy] : {std::pair{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}})
            EXPECT_EQ(pixel(image, litX + dx, y + dy), shade) << dx << "," << dy;
        EXPECT_EQ(pixel(image, litX + n / 2, y + n / 2), Lime);
        EXPECT_EQ(pixel(image, litX + n / 2, y), Lime); // the disc touches its box
        EXPECT_EQ(pixel(image, litX, y + n / 2), Lime);
        // An unlit dot is a full square in the unlit colour.
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                ASSERT_EQ(pixel(image, 4 + i, y + j), grey) << i << "," << j;
        // Round dots leave the background in their corners, lit or not.
        label.setPixelShape(spRound);
        const QImage round = shot(label);
        EXPECT_EQ(pixel(round, litX, y), QColor(192, 192, 192));
        EXPECT_EQ(pixel(round, 4, y), QColor(192, 192, 192));
        EXPECT_EQ(pixel(round, 4 + n / 2, y + n / 2), grey);
        EXPECT_EQ(pixel(round, litX + n / 2, y + n / 2), Lime);
    }
}

TEST_F(LCDLabelTest, OneByOneDotsIgnoreTheShape) {
    auto shaped = mainWindowLabel(2, "05");
    const QImage image = shot(*shaped);
    shaped->setPixelShape(spRound);
    expectSameImage(shot(*shaped), image);
    shaped->setPixelShape(spSquare);
    expectSameImage(shot(*shaped), image);
}

TEST_F(LCDLabelTest, FrameStylesUseTheSystemColours) {
    const QColor white(255, 255, 255);
    const QColor grey(128, 128, 128);
    const QColor red(255, 0, 0);
    TLCDLabel label;
    label.setNoOfChars(2);
    label.setBorderColor(platform::clRed);
    label.show();
    const int w = label.width();
    const int h = label.height();
    struct Expectation {
        TMyBorder style;
        QColor topLeft;     // top row and left column but its last pixel
        QColor bottomRight; // bottom row, right column, and the left column's last pixel
    };
    for (const Expectation& e :
         {Expectation{frLowered, grey, white}, Expectation{frRaised, white, grey},
          Expectation{frSingle, red, red}}) {
        SCOPED_TRACE(static_cast<int>(e.style));
        label.setBorderStyle(e.style);
        const QImage image = shot(label);
        for (int x = 0; x < w; ++x) {
            EXPECT_EQ(pixel(image, x, 0), e.topLeft) << x;
            if (x > 0) {
                EXPECT_EQ(pixel(image, x, h - 1), e.bottomRight) << x;
            }
        }
        for (int y = 0; y < h - 1; ++y) {
            EXPECT_EQ(pixel(image, 0, y), e.topLeft) << y;
            if (y > 0) {
                EXPECT_EQ(pixel(image, w - 1, y), e.bottomRight) << y;
            }
        }
        EXPECT_EQ(pixel(image, 0, h - 1), e.bottomRight);
        EXPECT_EQ(pixel(image, 1, 1), QColor(192, 192, 192));
    }
    label.setBorderStyle(frNone);
    const QImage none = shot(label);
    EXPECT_EQ(pixel(none, 0, 0), QColor(192, 192, 192));
    EXPECT_EQ(pixel(none, w - 1, h - 1), QColor(192, 192, 192));
}

TEST_F(LCDLabelTest, DisabledAndHiddenLabelsShowNoDots) {
    TLCDLabel label;
    label.setCaption("88");
    label.show();
    label.setEnabled(false);
    const QImage image = shot(label);
    for (int y = 1; y < label.height() - 1; ++y)
        for (int x = 1; x < label.width() - 1; ++x)
            ASSERT_EQ(pixel(image, x, y), QColor(192, 192, 192)) << x << "," << y;
    EXPECT_EQ(pixel(image, 0, 0), QColor(128, 128, 128));
    label.setEnabled(true);
    EXPECT_EQ(pixel(shot(label), 4, 4), QColor(0xAA, 0xAA, 0xAA));

    // A label hidden on purpose draws nothing but the button face.
    label.hide();
    const QImage hidden = label.renderImage();
    for (int y = 0; y < label.height(); ++y)
        for (int x = 0; x < label.width(); ++x)
            ASSERT_EQ(pixel(hidden, x, y), QColor(192, 192, 192)) << x << "," << y;
}

TEST_F(LCDLabelTest, TheSameCaptionTwicePaintsOnce) {
    auto label = mainWindowLabel(7, "00:00,0");
    QCoreApplication::processEvents();
    const int before = label->paintCount();
    label->setCaption("00:00,1");
    EXPECT_EQ(label->paintCount(), before + 1);
    label->setCaption("00:00,1");
    EXPECT_EQ(label->paintCount(), before + 1);
    label->setPixelOn(platform::clLime); // unchanged
    label->setNoOfChars(7);
    EXPECT_EQ(label->paintCount(), before + 1);
    label->setDotMatrix(mat5x7); // the character set always repaints
    EXPECT_EQ(label->paintCount(), before + 2);
}

// The image kept for caption changes must not outlive a change of colour: each colour
// property, changed on a label already shown, is on the screen at once.
TEST_F(LCDLabelTest, EveryColourChangeIsOnTheScreenAtOnce) {
    auto label = mainWindowLabel(3, "8:0");
    QColor ground = Black, on = Lime, off = DarkGreen, border = ground;
    const auto check = [&](const char* what) {
        SCOPED_TRACE(what);
        QCoreApplication::processEvents();
        QImage expected = expectedDisplay(3, "8:0", ground, on, off);
        for (int x = 0; x < expected.width(); ++x)
            for (const int y : {0, expected.height() - 1})
                expected.setPixelColor(x, y, border);
        for (int y = 0; y < expected.height(); ++y)
            for (const int x : {0, expected.width() - 1})
                expected.setPixelColor(x, y, border);
        expectSameImage(label->screen()
                            ->grabWindow(label->winId(), 0, 0, label->width(), label->height())
                            .toImage(),
                        expected);
    };
    check("as set up");
    ground = QColor(0, 0, 128);
    border = ground;
    label->setBackGround(rgb(0, 0, 128));
    check("BackGround");
    on = QColor(255, 255, 0);
    label->setPixelOn(rgb(255, 255, 0));
    check("PixelOn");
    off = QColor(96, 0, 0);
    label->setPixelOff(rgb(96, 0, 0));
    check("PixelOff");
    label->setBorderStyle(frSingle);
    border = QColor(0, 0, 0);
    check("BorderStyle");
    border = QColor(255, 0, 255);
    label->setBorderColor(rgb(255, 0, 255));
    check("BorderColor");
}

TEST_F(LCDLabelTest, TheScreenShowsTheWholeCaptionAfterAnySequenceOfChanges) {
    // A caption change draws and repaints only the cells it changes: whatever came before,
    // the screen must show what drawing the label afresh shows.
    auto label = mainWindowLabel(7, "00:00,0");
    std::mt19937 random(17);
    auto roll = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const QString pieces[] = {
        QStringLiteral("01:23,4"),
        QStringLiteral("01:23,5"),
        QStringLiteral("7"),
        QStringLiteral(""),
        QStringLiteral("123456789"),
        QString::fromUtf8("\xc3\xa9t\xc3\xa9"), // above the set's codes: its last glyph
        QStringLiteral("1\u00002:34"),          // a zero ends the text: blank from there
        QStringLiteral("1X2:34"),
        QStringLiteral("\u0001 ~"),
    };
    for (int step = 0; step < 300; ++step) {
        switch (roll(9)) {
        case 0:
            label->setEnabled(!label->isEnabled());
            break;
        case 1:
            label->setPixelOn(roll(2) ? platform::clLime : platform::clYellow);
            break;
        case 8: // hidden on purpose a while, and looked at meanwhile
            label->hide();
            label->setCaption(pieces[roll(static_cast<int>(std::size(pieces)))]);
            ASSERT_EQ(shot(*label).convertToFormat(QImage::Format_RGB32),
                      label->renderImage().copy(label->rect()));
            label->show();
            break;
        case 2: // one digit of a running clock
            label->setCaption(QStringLiteral("00:0%1,%2").arg(roll(10)).arg(roll(10)));
            break;
        default:
            label->setCaption(pieces[roll(static_cast<int>(std::size(pieces)))]);
            break;
        }
        QCoreApplication::processEvents();
        const QImage shown = label->screen()
                                 ->grabWindow(label->winId(), 0, 0, label->width(), label->height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        const QImage afresh = label->renderImage().copy(label->rect());
        ASSERT_EQ(shown, afresh) << "step " << step << ", caption "
                                 << label->Caption().toStdString();
        ASSERT_EQ(shot(*label).convertToFormat(QImage::Format_RGB32), afresh) << "step " << step;
    }
}

TEST_F(LCDLabelTest, CaptionsKeepAtMost255Characters) {
    TLCDLabel label;
    label.setCaption(QString(300, QChar('7')));
    EXPECT_EQ(label.Caption().size(), 255);
    label.setNoOfChars(200);
    label.setTextLines(2);
    label.show();
    const QImage image = shot(label);
    // Cells of 5 x 2 + 4 x 1 = 14 by 7 x 2 + 6 x 1 = 20 pixels, 2 apart, from (4, 4). The
    // character number 254 ('7', whose top row is lit) is cell 54 of the second line; the
    // next cells are blank, not whatever follows the text in memory.
    const QColor lit(0, 0, 0);
    const QColor unlit(0xAA, 0xAA, 0xAA);
    const int secondLine = 4 + 20 + 2;
    EXPECT_EQ(pixel(image, 4 + 54 * 16, secondLine), lit);
    for (const int cell : {55, 56, 199})
        EXPECT_EQ(pixel(image, 4 + cell * 16, secondLine), unlit) << cell;
}

TEST_F(LCDLabelTest, AbsurdSizesStayBounded) {
    TLCDLabel label;
    label.setNoOfChars(2000000000);
    label.setPixelSpacing(2000000000);
    label.setTextLines(2000000000);
    EXPECT_LE(label.width(), TLCDLabel::MaxExtent);
    EXPECT_LE(label.height(), TLCDLabel::MaxExtent);
    label.setPixelSpacing(1);
    label.setNoOfChars(3);
    label.setTextLines(1);
    label.setPixelSize(pixCustom);
    label.setPixelWidth(2000000000);
    label.setPixelShape(spShaped);
    label.setCaption("8");
    const QImage image = label.renderImage();
    EXPECT_FALSE(image.isNull());
}

TEST_F(LCDLabelTest, MouseEventsGoOnToTheParent) {
    struct Parent : QWidget {
        int presses = 0;
        void mousePressEvent(QMouseEvent*) override { ++presses; }
    } parent;
    parent.resize(200, 60);
    auto* label = new TLCDLabel(&parent);
    label->setHint("Time elapsed");
    label->setShowHint(true);
    EXPECT_EQ(label->toolTip(), QString("Time elapsed"));
    label->setShowHint(false);
    EXPECT_EQ(label->toolTip(), QString());
    parent.show();
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(parent.presses, 1);
}

} // namespace

} // namespace tarnell
