// The shadowed label and the glyph check box: text and shadow pixels, the engraved look,
// glyphs per state, transparency, raised and recessed captions, clicks and pointer events.
#include "platform/Resources.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/buttons/ButtonFaceTestImages.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/ShadowLabel.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tarnell {

using buttontest::grabImage;
using buttontest::pixelsOf;
using buttontest::edgeOf;

namespace {

const QRgb Ground = qRgb(148, 148, 148);

// A page of the ground colour to put transparent controls on.
struct Page {
    QWidget page;
    Page() {
        page.resize(200, 60);
        page.setAutoFillBackground(true);
        QPalette palette = page.palette();
        palette.setColor(QPalette::Window, QColor(Ground));
        page.setPalette(palette);
    }
    QImage grabArea(const QWidget& child) { return grabImage(page).copy(child.geometry()); }
};

void crispFont(QWidget& widget) {
    QFont font = widget.font();
    font.setStyleStrategy(QFont::NoAntialias);
    widget.setFont(font);
}

QImage checkGlyph(QRgb colour) {
    QImage glyph(14, 14, QImage::Format_RGB32);
    glyph.fill(qRgb(0, 128, 128)); // key colour, as in the bottom-left pixel
    for (int y = 2; y < 12; ++y)
        for (int x = 2; x < 12; ++x)
            glyph.setPixel(x, y, colour);
    return glyph;
}

} // namespace

TEST(ShadowLabel, GamePageLook) {
    Page p;
    auto* label = new TShadowLabel(QStringLiteral("Field size:"), platform::clAqua, &p.page);
    label->setGeometry(8, 10, 60, 13);
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->font().pixelSize(), 11);
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    crispFont(*label);

    const QImage shown = p.grabArea(*label);
    const auto text = pixelsOf(shown, qRgb(0, 255, 255));
    const auto shadow = pixelsOf(shown, qRgb(0, 0, 0));
    ASSERT_GT(text.size(), 30);
    EXPECT_EQ(shadow, edgeOf(text, 1, 1));
    // Everything else is the page beneath: the label is transparent.
    EXPECT_EQ(pixelsOf(shown, Ground).size() + text.size() + shadow.size(), 60 * 13);
    EXPECT_EQ(label->textRect().topLeft(), QPoint(0, 0));
}

TEST(ShadowLabel, TwoLinesOnTwoRows) {
    Page p;
    auto* label =
        new TShadowLabel(QStringLiteral("Foxes \nrevealed:"), platform::clYellow, &p.page);
    label->setGeometry(0, 0, 56, 26);
    crispFont(*label);
    const auto text = pixelsOf(p.grabArea(*label), qRgb(255, 255, 0));
    int upper = 0;
    int lower = 0;
    for (const QPoint& point : text)
        (point.y() < 13 ? upper : lower)++;
    EXPECT_GT(upper, 15);
    EXPECT_GT(lower, 15);

    // Word wrap breaks a long caption at the blank in the same way.
    label->setCaption(QStringLiteral("Foxes revealed:"));
    label->setWordWrap(true);
    const auto wrapped = pixelsOf(p.grabArea(*label), qRgb(255, 255, 0));
    EXPECT_EQ(wrapped, text);
}

TEST(ShadowLabel, EngravedLookOfTheAboutPage) {
    Page p;
    auto* label = new TShadowLabel(QStringLiteral("developer:"), platform::clAqua, &p.page);
    label->setGeometry(10, 10, 90, 16);
    label->useEngravedLook();
    crispFont(*label);
    EXPECT_FALSE(label->Transparent());
    EXPECT_TRUE(label->ParentColor());
    EXPECT_EQ(label->textRect().topLeft(), QPoint(1, 1));

    auto checkEngraved = [&](QRgb ground) {
        const QImage shown = p.grabArea(*label);
        const auto text = pixelsOf(shown, platform::toQColor(platform::clWindowText).rgb());
        const auto highlight = pixelsOf(shown, platform::toQColor(platform::clBtnHighlight).rgb());
        ASSERT_GT(text.size(), 30);
        EXPECT_EQ(highlight, edgeOf(text, -1, -1));
        EXPECT_EQ(pixelsOf(shown, ground).size() + text.size() + highlight.size(), 90 * 16);
    };
    checkEngraved(Ground); // in the page's colour
    label->setColor(platform::rgb(192, 192, 192));
    EXPECT_FALSE(label->ParentColor());
    checkEngraved(qRgb(192, 192, 192));
}

TEST(GlyphCheckBox, GlyphPerStateOnATransparentGround) {
    Page p;
    auto* box = new TGlyphCheckBox(QStringLiteral("Show hints"), &p.page);
    box->setGeometry(88, 20, 73, 15);
    box->replaceGlyphs(checkGlyph(qRgb(0, 200, 0)), checkGlyph(qRgb(200, 0, 0)),
                       checkGlyph(qRgb(90, 90, 90)));
    box->setChecked(true);
    // Glyph at (0, (15 - 14 + 1) / 2) = (0, 1); its key-coloured rim shows the page.
    QImage shown = p.grabArea(*box);
    EXPECT_EQ(shown.pixel(2, 3), qRgb(0, 200, 0));
    EXPECT_EQ(shown.pixel(11, 12), qRgb(0, 200, 0));
    EXPECT_EQ(shown.pixel(1, 2), Ground);
    EXPECT_EQ(shown.pixel(0, 0), Ground);
    box->setChecked(false);
    EXPECT_EQ(p.grabArea(*box).pixel(5, 5), qRgb(200, 0, 0));
    box->setEnabled(false);
    EXPECT_EQ(p.grabArea(*box).pixel(5, 5), qRgb(90, 90, 90));
    box->setChecked(true);
    EXPECT_EQ(p.grabArea(*box).pixel(5, 5), qRgb(90, 90, 90));
}

TEST(GlyphCheckBox, EmbeddedGlyphsAreUsed) {
    const QImage on = platform::loadBitmap(QStringLiteral("CHECK_ON"));
    ASSERT_FALSE(on.isNull());
    Page p;
    auto* box = new TGlyphCheckBox(QString(), &p.page);
    box->setGeometry(0, 0, 73, 15);
    box->setChecked(true);
    const QImage shown = p.grabArea(*box);
    const QRgb key = on.pixel(0, 13);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 14; ++x)
            ASSERT_EQ(shown.pixel(x, y + 1), on.pixel(x, y) == key ? Ground : on.pixel(x, y))
                << x << "," << y;
}

TEST(GlyphCheckBox, RaisedAndRecessedCaptions) {
    Page p;
    auto* box = new TGlyphCheckBox(QStringLiteral("Show hints"), &p.page);
    box->setGeometry(0, 0, 100, 17);
    box->replaceGlyphs(QImage(), QImage(), QImage());
    crispFont(*box);
    EXPECT_EQ(box->captionStyle(), TGlyphCheckBox::CaptionStyle::Raised);

    // By default white letters with a black edge below and right, like the page's labels.
    const QImage plain = p.grabArea(*box);
    const auto letters = pixelsOf(plain, qRgb(255, 255, 255));
    ASSERT_GT(letters.size(), 30);
    EXPECT_EQ(pixelsOf(plain, qRgb(0, 0, 0)), edgeOf(letters, 1, 1));
    box->setCaptionStyle(TGlyphCheckBox::CaptionStyle::Recessed);
    EXPECT_EQ(pixelsOf(p.grabArea(*box), qRgb(0, 0, 0)), edgeOf(letters, -1, -1));

    // With both edges: the dark one (below and right when raised) is drawn over the light one.
    box->setFontColor(platform::rgb(10, 20, 200));
    box->setHighlightColor(platform::rgb(250, 250, 250));
    box->setShadowColor(platform::rgb(40, 40, 40));
    for (const auto& [style, darkSide] : {std::pair{TGlyphCheckBox::CaptionStyle::Raised, 1},
                                          std::pair{TGlyphCheckBox::CaptionStyle::Recessed, -1}}) {
        SCOPED_TRACE(darkSide);
        box->setCaptionStyle(style);
        const QImage shown = p.grabArea(*box);
        EXPECT_EQ(pixelsOf(shown, qRgb(10, 20, 200)), letters);
        const auto dark = edgeOf(letters, darkSide, darkSide);
        auto light = edgeOf(letters, -darkSide, -darkSide);
        light.subtract(dark);
        EXPECT_EQ(pixelsOf(shown, qRgb(40, 40, 40)), dark);
        EXPECT_EQ(pixelsOf(shown, qRgb(250, 250, 250)), light);
    }
}

TEST(GlyphCheckBox, ClickTogglesWithoutTakingTheFocus) {
    Page p;
    auto* box = new TGlyphCheckBox(QStringLiteral("Show hints"), &p.page);
    box->setGeometry(10, 10, 73, 15);
    p.page.show();
    EXPECT_EQ(box->focusPolicy(), Qt::NoFocus);
    QSignalSpy clicks(box, &QAbstractButton::clicked);
    QSignalSpy toggles(box, &QAbstractButton::toggled);
    QSignalSpy enters(box, &TGlyphCheckBox::OnMouseEnter);
    QSignalSpy leaves(box, &TGlyphCheckBox::OnMouseLeave);

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(40, 7)); // on the caption
    EXPECT_TRUE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 7)); // on the glyph
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(toggles.count(), 2);
    EXPECT_FALSE(box->hasFocus());

    box->setChecked(true); // the owner's keyboard handle toggles it in code
    EXPECT_EQ(toggles.count(), 3);
    EXPECT_EQ(clicks.count(), 2);

    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(box, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(box, &leave);
    EXPECT_EQ(enters.count(), 1);
    EXPECT_EQ(leaves.count(), 1);
}

} // namespace tarnell
