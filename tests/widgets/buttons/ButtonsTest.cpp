// The skinned push buttons: faces pixel for pixel, content layout and its shift while pressed,
// the disabled looks, the shared glyph stores, the focus rule and the dialog keys.
#include "ButtonFaceTestImages.h"
#include "platform/Resources.h"
#include "tests/support/TestSupport.h"
#include "widgets/buttons/buts.h"
#include "widgets/buttons/buts2.h"
#include "widgets/buttons/buts5.h"

#include <QDialog>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace tarnell {

using buttontest::grabImage;
using buttontest::patternStrip;
using buttontest::sampleOf;
using buttontest::solidImage;

namespace {

// Expected face of a strip button: frame `frame` of strip (frames strip width / 4 wide)
// stretched to size.
QImage expectedStripFace(const QImage& strip, int frame, QSize size) {
    const int frameWidth = strip.width() / 4;
    QImage expected(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            expected.setPixel(
                x, y,
                strip.pixel(frame * frameWidth + sampleOf(x, frameWidth, size.width()),
                            sampleOf(y, strip.height(), size.height())));
    return expected;
}

// Expected three-slice face of a 56 x 23 skin at size.
QImage expectedPill(const QImage& skin, QSize size) {
    const int w = size.width();
    const int h = size.height();
    QImage expected(size, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const int sy = sampleOf(y, 23, h);
        for (int x = 0; x < w; ++x) {
            int sx = 0;
            if (x < 10)
                sx = x;
            else if (x >= w - 10)
                sx = 46 + (x - (w - 10));
            else
                sx = 10 + sampleOf(x - 10, 36, w - 20);
            expected.setPixel(x, y, skin.pixel(sx, sy));
        }
    }
    return expected;
}

int countDifferences(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return -1;
    int differences = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) | 0xFF000000u) != (b.pixel(x, y) | 0xFF000000u))
                ++differences;
    return differences;
}

// A window the tests can give the keyboard focus to.
struct ActiveWindow {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);

    ActiveWindow() {
        window.resize(300, 200);
        edit->setGeometry(200, 150, 80, 20);
    }
    bool show() {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
    void focus(QWidget* widget) {
        widget->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST(StripButtons, ConstructionSizesCaptionsAndDefaults) {
    Tmybitbutn5 wide;
    Tmybitbutn small;
    Tmybitbut dialog;
    EXPECT_EQ(wide.size(), QSize(45, 22));
    EXPECT_EQ(small.size(), QSize(24, 19));
    EXPECT_EQ(dialog.size(), QSize(75, 25));
    EXPECT_TRUE(wide.Caption().isEmpty());
    EXPECT_EQ(wide.Selected(), 0);
    for (const TFaceButton* b : std::initializer_list<const TFaceButton*>{&wide, &small, &dialog}) {
        EXPECT_EQ(b->Spacing(), 4);
        EXPECT_EQ(b->Margin(), -1);
        EXPECT_EQ(b->Layout(), blGlyphLeft);
        EXPECT_EQ(b->Kind(), bkCustom);
        EXPECT_EQ(b->NumGlyphs(), 1);
        EXPECT_EQ(b->ModalResult(), 0);
        EXPECT_FALSE(b->isActiveButton());
    }
}

TEST(StripButtons, FramesOfTheButtonsSizeShowOneToOne) {
    // Two buttons of each class go through their cases in turn: one shows the embedded
    // strips, the other patterns put in their places before they are selected.
    Tmybitbutn small, smallPatterned;
    Tmybitbutn5 wide, widePatterned;
    wide.resize(60, 22);
    widePatterned.resize(60, 22);
    const struct {
        TStripFaceButton* embedded;
        TStripFaceButton* patterned;
        int selected;
        const char* name;
    } cases[] = {{&small, &smallPatterned, 6, "B5"},  {&small, &smallPatterned, 7, "B6"},
                 {&wide, &widePatterned, 11, "BTA"},  {&wide, &widePatterned, 13, "BTC"},
                 {&wide, &widePatterned, 14, "BTD"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect frame({}, c.embedded->size());
        const QImage embedded = platform::loadBitmap(QString::fromLatin1(c.name));
        ASSERT_FALSE(embedded.isNull());
        c.embedded->setSelected(c.selected);
        EXPECT_EQ(countDifferences(grabImage(*c.embedded), embedded.copy(frame)), 0);
        const QImage strip = patternStrip(4 * frame.width(), frame.height(), c.selected);
        c.patterned->replaceFaceStrip(c.selected, strip);
        c.patterned->setSelected(c.selected);
        EXPECT_EQ(countDifferences(grabImage(*c.patterned), strip.copy(frame)), 0);
    }
}

TEST(StripButtons, FortyFivePixelFramesAreStretchedToTheButton) {
    for (int selected = 2; selected <= 7; ++selected) {
        Tmybitbutn5 button;
        button.resize(60, 22);
        const QImage strip = patternStrip(180, 22, selected);
        button.replaceFaceStrip(selected, strip);
        button.setSelected(selected);
        const QImage shown = grabImage(button);
        EXPECT_EQ(countDifferences(shown, expectedStripFace(strip, 0, QSize(60, 22))), 0)
            << "Selected " << selected;
        // Spot checks by hand: both ends map to both ends, column 1 samples source column 1.
        EXPECT_EQ(qRed(shown.pixel(0, 5)), 0);
        EXPECT_EQ(qRed(shown.pixel(1, 5)), 1);
        EXPECT_EQ(qRed(shown.pixel(59, 5)), 44);
    }
}

TEST(StripButtons, SelectedOutsideTheRangeCopiesNoFrame) {
    Tmybitbutn button;
    button.replaceFaceStrip(2, patternStrip(96, 19, 1));
    for (int selected : {0, 1, 9, -3}) {
        button.setSelected(selected);
        const QImage shown = grabImage(button);
        EXPECT_EQ(buttontest::pixelsOf(shown, shown.pixel(0, 0)).size(), 24 * 19)
            << "Selected " << selected << " should show a plain face";
    }
}

TEST(StripButtons, DisabledPressedActiveAndNormalFramesInThatPriority) {
    Tmybitbutn5 button;
    button.resize(60, 22);
    const QImage strip = patternStrip(240, 22, 3);
    button.replaceFaceStrip(12, strip);
    button.setSelected(12);
    for (bool enabled : {true, false})
        for (bool active : {false, true})
            for (bool pressed : {false, true}) {
                button.setEnabled(enabled);
                button.setDefault(active); // no focus anywhere: the Default button is active
                button.setDown(pressed);
                EXPECT_EQ(button.isActiveButton(), active);
                const int frame = !enabled ? 3 : pressed ? 2 : active ? 1 : 0;
                EXPECT_EQ(countDifferences(grabImage(button), strip.copy(frame * 60, 0, 60, 22)), 0)
                    << "enabled " << enabled << " active " << active << " pressed " << pressed;
            }
}

TEST(DialogButton, PillSlicesAt97x25) {
    Tmybitbut button;
    button.resize(97, 25);
    const QImage normal = patternStrip(56, 23, 1);
    const QImage pressed = patternStrip(56, 23, 2);
    const QImage active = patternStrip(56, 23, 3);
    button.replaceFaces(normal, pressed, active);

    const QImage shown = grabImage(button);
    EXPECT_EQ(countDifferences(shown, expectedPill(normal, QSize(97, 25))), 0);
    // By hand: the caps keep their columns, the middle spreads 36 columns over 77.
    EXPECT_EQ(qRed(shown.pixel(9, 0)), 9);
    EXPECT_EQ(qRed(shown.pixel(10, 0)), 10);
    EXPECT_EQ(qRed(shown.pixel(86, 0)), 45);
    EXPECT_EQ(qRed(shown.pixel(87, 0)), 46);
    EXPECT_EQ(qRed(shown.pixel(96, 0)), 55);
    EXPECT_EQ(qGreen(shown.pixel(0, 24)), 22 * 7);

    button.setDefault(true);
    EXPECT_EQ(countDifferences(grabImage(button), expectedPill(active, QSize(97, 25))), 0);
    button.setDown(true);
    EXPECT_EQ(countDifferences(grabImage(button), expectedPill(pressed, QSize(97, 25))), 0);
    // Disabled keeps the face; only the content changes.
    button.setDown(false);
    button.setEnabled(false);
    EXPECT_EQ(countDifferences(grabImage(button), expectedPill(active, QSize(97, 25))), 0);
}

TEST(DialogButton, ContentMovesOnePixelRightAndDownWhilePressed) {
    Tmybitbut button;
    button.resize(97, 25);
    const QImage plain = solidImage(56, 23, qRgb(60, 90, 120));
    button.replaceFaces(plain, plain, plain);
    QFont font = button.font();
    font.setStyleStrategy(QFont::NoAntialias);
    button.setFont(font);
    button.setCaption(QStringLiteral("Yes"));
    QImage glyph = solidImage(12, 12, qRgb(255, 0, 0));
    glyph.setPixel(0, 11, qRgb(0, 255, 0)); // bottom-left: the transparent colour
    glyph.setPixel(11, 11, qRgb(0, 255, 0));
    button.setGlyph(glyph);

    const QImage up = grabImage(button);
    button.setDown(true);
    const QImage down = grabImage(button);
    // The face is uniform, so the pressed picture is the released one moved by (1, 1).
    for (int y = 1; y < 25; ++y)
        for (int x = 1; x < 97; ++x)
            ASSERT_EQ(down.pixel(x, y), up.pixel(x - 1, y - 1)) << x << "," << y;
    EXPECT_EQ(down.pixel(0, 0), qRgb(60, 90, 120));

    // Glyph beside the caption, the block centred: margin = (97 - (12 + 4 + text) + 1) / 2.
    const int textWidth =
        QFontMetrics(font).size(Qt::TextSingleLine, QStringLiteral("Yes")).width();
    const int margin = (97 - (12 + 4 + textWidth) + 1) / 2;
    const int top = (25 - 12 + 1) / 2;
    EXPECT_EQ(up.pixel(margin, top), qRgb(255, 0, 0));
    EXPECT_EQ(up.pixel(margin + 11, top + 10), qRgb(255, 0, 0));
    EXPECT_EQ(up.pixel(margin - 1, top), qRgb(60, 90, 120));
    // Pixels of the transparent colour show the face.
    EXPECT_EQ(up.pixel(margin, top + 11), qRgb(60, 90, 120));
    EXPECT_EQ(up.pixel(margin + 11, top + 11), qRgb(60, 90, 120));
}

TEST(DialogButton, DisabledCaptionIsEmbossedWhiteThenGrey) {
    Tmybitbut button;
    button.resize(97, 25);
    const QImage plain = solidImage(56, 23, qRgb(30, 60, 90));
    button.replaceFaces(plain, plain, plain);
    QFont font = button.font();
    font.setStyleStrategy(QFont::NoAntialias);
    button.setFont(font);
    button.setCaption(QStringLiteral("Cancel"));

    const QImage enabled = grabImage(button);
    const auto ink = buttontest::pixelsOf(enabled, qRgb(0, 0, 0));
    ASSERT_GT(ink.size(), 20);
    EXPECT_TRUE(buttontest::pixelsOf(enabled, qRgb(255, 255, 255)).isEmpty());

    button.setEnabled(false);
    const QImage disabled = grabImage(button);
    const auto grey = buttontest::pixelsOf(disabled, qRgb(128, 128, 128));
    const auto white = buttontest::pixelsOf(disabled, qRgb(255, 255, 255));
    EXPECT_EQ(grey, ink); // the grey copy stands where the enabled text stood
    EXPECT_EQ(white, buttontest::edgeOf(ink, 1, 1));
}

TEST(ButtonGlyph, NumGlyphsGuessAndTransparentColour) {
    GlyphImageStore store;
    TButtonGlyph glyph(store);
    QImage strip = patternStrip(36, 18, 1);
    strip.setPixel(0, 17, qRgb(128, 128, 0));
    glyph.setGlyph(strip);
    EXPECT_EQ(glyph.numGlyphs(), 2);
    EXPECT_EQ(glyph.transparentColor(), qRgb(128, 128, 0));
    EXPECT_EQ(glyph.imageSize(), QSize(18, 18));
    glyph.setGlyph(patternStrip(72, 18, 1));
    EXPECT_EQ(glyph.numGlyphs(), 4);
    glyph.setGlyph(patternStrip(90, 18, 1));
    EXPECT_EQ(glyph.numGlyphs(), 1); // five squares: more than four
    glyph.setNumGlyphs(3);
    glyph.setGlyph(patternStrip(40, 18, 1)); // no whole multiple: the count stays
    EXPECT_EQ(glyph.numGlyphs(), 3);
    glyph.setNumGlyphs(9);
    EXPECT_EQ(glyph.numGlyphs(), 4);
    glyph.setNumGlyphs(0);
    EXPECT_EQ(glyph.numGlyphs(), 1);
}

TEST(ButtonGlyph, StatesUseTheirImagesOrTheUpImage) {
    GlyphImageStore store;
    TButtonGlyph glyph(store);
    // Three images: red, (disabled) white/grey/key, blue; key colour olive at bottom-left.
    QImage strip(24, 8, QImage::Format_RGB32);
    strip.fill(qRgb(128, 128, 0));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            strip.setPixel(x + 2, y + 2, qRgb(255, 0, 0));
            strip.setPixel(8 + x + 2, y + 2, y < 2 ? qRgb(255, 255, 255) : qRgb(128, 128, 128));
            strip.setPixel(16 + x + 2, y + 2, qRgb(0, 0, 255));
        }
    glyph.setGlyph(strip);
    EXPECT_EQ(glyph.numGlyphs(), 3);
    const QImage up = glyph.image(GlyphState::Up);
    EXPECT_EQ(up.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(up.pixel(0, 0)), 0);
    EXPECT_EQ(glyph.image(GlyphState::Pressed).pixel(3, 3), qRgb(0, 0, 255));
    EXPECT_EQ(glyph.image(GlyphState::Exclusive).pixel(3, 3), qRgb(255, 0, 0)); // lacks a 4th
    const QImage disabled = glyph.image(GlyphState::Disabled);
    EXPECT_EQ(disabled.pixel(2, 2), qRgb(255, 255, 255)); // white: highlight
    EXPECT_EQ(disabled.pixel(2, 5), qRgb(128, 128, 128)); // grey: shadow
    EXPECT_EQ(qAlpha(disabled.pixel(0, 0)), 0);           // key colour stays transparent
}

TEST(ButtonGlyph, DisabledImageIsEmbossedFromASingleImage) {
    GlyphImageStore store;
    TButtonGlyph glyph(store);
    QImage single(5, 5, QImage::Format_RGB32);
    single.fill(qRgb(0, 128, 0)); // key colour
    single.setPixel(1, 1, qRgb(0, 0, 0));
    single.setPixel(2, 1, qRgb(200, 30, 30));
    single.setPixel(3, 3, qRgb(255, 255, 255)); // white is no ink
    single.setPixel(4, 4, qRgb(10, 10, 10));    // its highlight falls outside
    glyph.setGlyph(single);
    const QImage disabled = glyph.image(GlyphState::Disabled);
    const QRgb shadow = qRgb(128, 128, 128);
    const QRgb light = qRgb(255, 255, 255);
    EXPECT_EQ(disabled.pixel(1, 1), shadow);
    EXPECT_EQ(disabled.pixel(2, 1), shadow);
    EXPECT_EQ(disabled.pixel(2, 2), light);
    EXPECT_EQ(disabled.pixel(3, 2), light);
    EXPECT_EQ(disabled.pixel(4, 4), shadow);
    EXPECT_EQ(qAlpha(disabled.pixel(3, 3)), 0);
    EXPECT_EQ(qAlpha(disabled.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(disabled.pixel(1, 2)), 0);
}

TEST(ButtonGlyph, DisabledDialogButtonDrawsTheDisabledImage) {
    Tmybitbut button;
    button.resize(40, 25);
    const QImage plain = solidImage(56, 23, qRgb(20, 40, 60));
    button.replaceFaces(plain, plain, plain);
    QImage strip(20, 10, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 255));
    for (int y = 2; y < 8; ++y)
        for (int x = 2; x < 8; ++x) {
            strip.setPixel(x, y, qRgb(0, 0, 200));
            strip.setPixel(10 + x, y, qRgb(128, 128, 128));
        }
    button.setGlyph(strip);
    // No caption: the glyph is centred, (40 - 10 + 1) / 2 = 15, (25 - 10 + 1) / 2 = 8.
    EXPECT_EQ(grabImage(button).pixel(15 + 4, 8 + 4), qRgb(0, 0, 200));
    button.setEnabled(false);
    const QImage shown = grabImage(button);
    EXPECT_EQ(shown.pixel(15 + 4, 8 + 4), qRgb(128, 128, 128));
    EXPECT_EQ(shown.pixel(15, 8), qRgb(20, 40, 60));
}

TEST(GlyphLayout, MarginAndSpacingRules) {
    const QRect client(0, 0, 97, 25);
    const QSize glyph(18, 18);
    const QSize text(30, 13);
    auto place = layoutGlyphAndCaption(client, glyph, text, blGlyphLeft, -1, 4);
    EXPECT_EQ(place.glyph, QPoint(23, 4)); // (97 - 52 + 1) / 2 = 23; (25 - 18 + 1) / 2 = 4
    EXPECT_EQ(place.caption, QRect(45, 6, 30, 13));
    place = layoutGlyphAndCaption(client, glyph, text, blGlyphRight, -1, 4);
    EXPECT_EQ(place.glyph, QPoint(56, 4));
    EXPECT_EQ(place.caption.topLeft(), QPoint(22, 6));
    place = layoutGlyphAndCaption(client, glyph, text, blGlyphLeft, -1, -1);
    EXPECT_EQ(place.glyph.x(), 16); // (97 - 48) / 3
    EXPECT_EQ(place.caption.x(), 16 + 18 + 16);
    place = layoutGlyphAndCaption(client, glyph, text, blGlyphLeft, 5, -1);
    EXPECT_EQ(place.caption.x(), 5 + 18 + 22); // spacing (97 - 5 - 18 - 30) / 2
    place = layoutGlyphAndCaption(client, glyph, text, blGlyphLeft, 3, 7);
    EXPECT_EQ(place.glyph.x(), 3);
    EXPECT_EQ(place.caption.x(), 28);
    // Without a caption the spacing drops out and the glyph alone is centred.
    place = layoutGlyphAndCaption(client, glyph, QSize(0, 0), blGlyphLeft, -1, 4);
    EXPECT_EQ(place.glyph.x(), 40);
}

TEST(GlyphLayout, VerticalLayoutsAndClientOrigin) {
    const QRect client(1, 1, 60, 60);
    auto place = layoutGlyphAndCaption(client, QSize(16, 16), QSize(20, 10), blGlyphTop, 2, 3);
    EXPECT_EQ(place.glyph, QPoint(1 + 22, 1 + 2));
    EXPECT_EQ(place.caption.topLeft(), QPoint(1 + 20, 1 + 21));
    place = layoutGlyphAndCaption(client, QSize(16, 16), QSize(20, 10), blGlyphBottom, 2, 3);
    EXPECT_EQ(place.glyph, QPoint(1 + 22, 1 + 42));
    EXPECT_EQ(place.caption.topLeft(), QPoint(1 + 20, 1 + 29));
}

TEST(GlyphStore, ListsPerSizeLowestFreeSlotAndFreedWhenEmpty) {
    GlyphImageStore store;
    {
        TButtonGlyph a(store);
        TButtonGlyph b(store);
        TButtonGlyph c(store);
        a.setGlyph(patternStrip(16, 16, 1));
        b.setGlyph(patternStrip(16, 16, 2));
        c.setGlyph(patternStrip(10, 10, 3));
        EXPECT_EQ(store.listCount(), 0); // images are made on first use
        a.image(GlyphState::Up);
        b.image(GlyphState::Up);
        b.image(GlyphState::Pressed);
        ASSERT_EQ(store.listCount(), 1);
        const GlyphImageList* list = store.findList(QSize(16, 16));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->imagesInUse(), 3);
        c.image(GlyphState::Up);
        EXPECT_EQ(store.listCount(), 2);

        a.setGlyph(patternStrip(16, 16, 4)); // gives slot 0 back
        EXPECT_FALSE(list->inUse(0));
        EXPECT_EQ(list->imagesInUse(), 2);
        a.image(GlyphState::Disabled); // takes the lowest free slot again
        EXPECT_TRUE(list->inUse(0));
        EXPECT_EQ(list->slotCount(), 3);
        c.setNumGlyphs(2); // a changed count gives the images back; the 10 x 10 list goes
        EXPECT_EQ(store.findList(QSize(10, 10)), nullptr);
    }
    EXPECT_EQ(store.listCount(), 0);
}

TEST(GlyphStore, EachButtonClassHasItsOwnStore) {
    QImage glyph = patternStrip(13, 13, 9);
    Tmybitbut first;
    Tmybitbut second;
    first.setGlyph(glyph);
    second.setGlyph(glyph);
    first.renderFace();
    second.renderFace();
    const GlyphImageList* list = Tmybitbut::glyphStore().findList(QSize(13, 13));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->imagesInUse(), 2);
    EXPECT_EQ(Tmybitbutn5::glyphStore().findList(QSize(13, 13)), nullptr);
    EXPECT_EQ(Tmybitbutn::glyphStore().findList(QSize(13, 13)), nullptr);
}

TEST(StandardKinds, CaptionModalResultDefaultCancelAndGlyph) {
    Tmybitbut ok;
    ok.setKind(bkOK);
    EXPECT_EQ(ok.Caption(), QStringLiteral("OK"));
    EXPECT_EQ(ok.ModalResult(), 1);
    EXPECT_TRUE(ok.Default());
    EXPECT_FALSE(ok.Cancel());
    EXPECT_EQ(ok.Kind(), bkOK);
    Tmybitbut no;
    no.setKind(bkNo);
    EXPECT_EQ(no.Caption(), QStringLiteral("&No"));
    EXPECT_EQ(no.ModalResult(), 7);
    EXPECT_TRUE(no.Cancel());
    no.setCaption(QStringLiteral("Nope"));
    EXPECT_EQ(no.Kind(), bkCustom);

    const QImage embedded = platform::loadBitmap(QStringLiteral("ABOK"));
    ASSERT_FALSE(embedded.isNull());
    EXPECT_EQ(ok.Glyph(), embedded);
    EXPECT_EQ(ok.NumGlyphs(), 2);
    const int loads = Tmybitbut::glyphStore().kindGlyphLoads();
    Tmybitbut another;
    another.setKind(bkOK);
    EXPECT_EQ(Tmybitbut::glyphStore().kindGlyphLoads(), loads); // loaded once per class
}

TEST(FocusRule, FocusedPushButtonIsActiveOtherwiseTheDefault) {
    ActiveWindow w;
    auto* first = new Tmybitbutn5(&w.window);
    auto* second = new Tmybitbutn5(&w.window);
    second->move(0, 30);
    second->setDefault(true);
    const QImage strip = patternStrip(180, 22, 1);
    first->replaceFaceStrip(2, strip);
    first->setSelected(2);
    ASSERT_TRUE(w.show());

    w.focus(w.edit);
    EXPECT_FALSE(first->isActiveButton());
    EXPECT_TRUE(second->isActiveButton());
    w.focus(first);
    EXPECT_TRUE(first->isActiveButton());
    EXPECT_FALSE(second->isActiveButton());
    EXPECT_EQ(countDifferences(grabImage(*first), strip.copy(45, 0, 45, 22)), 0);
    w.focus(second);
    EXPECT_FALSE(first->isActiveButton());
    EXPECT_TRUE(second->isActiveButton());
    EXPECT_EQ(countDifferences(grabImage(*first), strip.copy(0, 0, 45, 22)), 0);
    w.focus(w.edit);
    EXPECT_TRUE(second->isActiveButton());
    second->setDefault(false);
    EXPECT_FALSE(second->isActiveButton());
}

TEST(DialogKeys, EnterClicksTheActiveButtonEscapeTheCancelButton) {
    ActiveWindow w;
    auto* ok = new Tmybitbut(&w.window);
    auto* cancel = new Tmybitbut(&w.window);
    cancel->move(0, 30);
    ok->setCaption(QStringLiteral("OK"));
    ok->setDefault(true);
    cancel->setCaption(QStringLiteral("Cancel"));
    cancel->setCancel(true);
    QSignalSpy okClicks(ok, &QAbstractButton::clicked);
    QSignalSpy cancelClicks(cancel, &QAbstractButton::clicked);
    ASSERT_TRUE(w.show());
    w.focus(w.edit);

    QTest::keyClick(w.edit, Qt::Key_Return);
    EXPECT_EQ(okClicks.count(), 1);
    QTest::keyClick(w.edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(okClicks.count(), 2);
    QTest::keyClick(w.edit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(okClicks.count(), 2);
    QTest::keyClick(w.edit, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks.count(), 1);

    // The focused push button is the active one, so Enter clicks it.
    w.focus(cancel);
    QTest::keyClick(cancel, Qt::Key_Return);
    EXPECT_EQ(cancelClicks.count(), 2);
    EXPECT_EQ(okClicks.count(), 2);

    // A button that cannot take the focus is not clicked.
    w.focus(w.edit);
    ok->setEnabled(false);
    QTest::keyClick(w.edit, Qt::Key_Return);
    cancel->hide();
    QTest::keyClick(w.edit, Qt::Key_Escape);
    EXPECT_EQ(okClicks.count(), 2);
    EXPECT_EQ(cancelClicks.count(), 2);
}

TEST(DialogKeys, AcceleratorLetterClicksItsButton) {
    EXPECT_EQ(captionAccelerator(QStringLiteral("&Retry")), QChar('R'));
    EXPECT_EQ(captionAccelerator(QStringLiteral("Fish && &chips")), QChar('C'));
    EXPECT_TRUE(captionAccelerator(QStringLiteral("A && B")).isNull());
    EXPECT_EQ(captionWithoutAccelerator(QStringLiteral("Fish && &chips")),
              QStringLiteral("Fish & chips"));

    ActiveWindow w;
    auto* retry = new Tmybitbut(&w.window);
    auto* other = new Tmybitbut(&w.window);
    other->move(0, 30);
    retry->setCaption(QStringLiteral("&Retry"));
    other->setCaption(QStringLiteral("&Ignore"));
    QSignalSpy retryClicks(retry, &QAbstractButton::clicked);
    QSignalSpy otherClicks(other, &QAbstractButton::clicked);
    ASSERT_TRUE(w.show());

    w.focus(w.edit);
    QTest::keyClick(w.edit, Qt::Key_R); // the text box takes the letter
    EXPECT_EQ(retryClicks.count(), 0);
    QTest::keyClick(w.edit, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(retryClicks.count(), 1);
    w.focus(other); // a button wants no letters: the plain letter is an accelerator
    QTest::keyClick(other, Qt::Key_R);
    EXPECT_EQ(retryClicks.count(), 2);
    QTest::keyClick(other, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(retryClicks.count(), 2);
    EXPECT_EQ(otherClicks.count(), 0);
}

TEST(ButtonClicks, MouseClickDoubleClickAndPointerNotifications) {
    Tmybitbutn5 button;
    button.show();
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    QSignalSpy enters(&button, &TStripFaceButton::OnMouseEnter);
    QSignalSpy leaves(&button, &TStripFaceButton::OnMouseLeave);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    // A double-click is a second press: two clicks in all.
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5),
                            QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &doubleClick);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 3);

    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(&button, &enter);
    EXPECT_EQ(enters.count(), 1);
    EXPECT_EQ(leaves.count(), 0);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_EQ(leaves.count(), 1);
}

TEST(ButtonClicks, ModalResultEndsAModalDialogAndCloseKindClosesTheWindow) {
    QDialog dialog;
    auto* yes = new Tmybitbut(&dialog);
    yes->setModalResult(6);
    QTimer::singleShot(0, yes, [yes] { yes->click(); });
    EXPECT_EQ(dialog.exec(), 6);

    QWidget window;
    auto* close = new Tmybitbut(&window);
    close->setKind(bkClose);
    window.show();
    ASSERT_TRUE(window.isVisible());
    close->click();
    EXPECT_FALSE(window.isVisible());
}

} // namespace tarnell
