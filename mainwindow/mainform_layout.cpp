// The main window's controls: where each one stands and how it is set up.
#include "mainform.h"

#include "BoardKeys.h"
#include "FieldArea.h"
#include "FormParts.h"
#include "platform/Resources.h"
#include "platform/drawing/Colors.h"
#include "platform/drawing/Fonts.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/MyAni.h"
#include "widgets/ShadowLabel.h"
#include "widgets/buttons/buts2.h"
#include "widgets/buttons/buts5.h"
#include "widgets/lcd/LCD_Lab.h"

#include <algorithm>

namespace tarnell {

using platform::TColor;

namespace {

constexpr TColor DarkRed = platform::rgb(72, 0, 0);
constexpr TColor DarkTeal = platform::rgb(0, 72, 72);
constexpr TColor DarkGreen = platform::rgb(0, 72, 0);

QWidget* makePage(QStackedWidget* book) {
    auto* page = new QWidget(book);
    page->setAutoFillBackground(true);
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, Tmainform_form::PageColour);
    page->setPalette(palette);
    book->addWidget(page);
    return page;
}

TShadowLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, TColor colour,
                        const QRect& place) {
    auto* label = new TShadowLabel(caption, colour, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    return label;
}

// The about page's labels: opaque in the page colour, engraved, bold at a pixel height.
TShadowLabel* makeAboutLabel(QWidget* parent, const char* name, const QString& caption,
                             int pixelHeight, const QRect& place) {
    TShadowLabel* label = makeLabel(parent, name, caption, platform::clWindowText, place);
    label->useEngravedLook();
    label->setFont(platform::programFontPixels(pixelHeight, true));
    // The substitute face runs wider than the original one; a label grows to show its whole
    // text rather than cut it off.
    label->resize(std::max(place.width(), label->sizeHint().width()), place.height());
    return label;
}

TLCDLabel* makeLcd(QWidget* parent, const char* name, QPoint place, int chars,
                   const QString& caption, TColor lit, TColor unlit) {
    auto* lcd = new TLCDLabel(parent);
    lcd->setObjectName(QLatin1String(name));
    lcd->setPixelSize(pix1x1);
    lcd->setPixelShape(spShaped);
    lcd->setPixelSpacing(1);
    lcd->setCharSpacing(2);
    lcd->setTextLines(1);
    lcd->setBorderSpace(2);
    lcd->setBorderStyle(frNone);
    lcd->setBackGround(platform::clBlack);
    lcd->setPixelOn(lit);
    lcd->setPixelOff(unlit);
    lcd->setNoOfChars(chars);
    lcd->setCaption(caption);
    lcd->move(place);
    return lcd;
}

template <typename Button>
Button* makeButton(QWidget* parent, const char* name, int selected, const QString& hint,
                   const QRect& place) {
    auto* button = new Button(parent);
    button->setObjectName(QLatin1String(name));
    button->setSelected(selected);
    if (!hint.isEmpty())
        button->setToolTip(hint);
    button->setGeometry(place);
    return button;
}

TMyAni* makeSideButton(QWidget* parent, const char* name, const QString& strip, int frames,
                       int interval, const QString& hint, const QRect& place) {
    auto* ani = new TMyAni(parent);
    ani->setObjectName(QLatin1String(name));
    ani->setLoading(true);
    ani->setGlyph(platform::loadBitmap(strip));
    ani->setNumGlyphs(frames);
    ani->setInactiveGlyph(0);
    ani->setInterval(static_cast<uint32_t>(interval));
    ani->setLoading(false);
    ani->setGeometry(place);
    ani->setToolTip(hint);
    return ani;
}

} // namespace

void Tmainform_form::createSideToolbar() {
    QWidget* panel = stripPanel();
    MyAni1 = makeSideButton(panel, "MyAni1", QStringLiteral("ANI_SOLVE"), 9, 150,
                            QStringLiteral("Solve a puzzle"), QRect(3, 172, 32, 32));
    MyAni2 = makeSideButton(panel, "MyAni2", QStringLiteral("ANI_ABOUT"), 6, 200,
                            QStringLiteral("About"), QRect(3, 222, 32, 32));
    MyAni4 = makeSideButton(panel, "MyAni4", QStringLiteral("ANI_EXIT"), 10, 150,
                            QStringLiteral("Exit"), QRect(3, 272, 34, 33));
}

void Tmainform_form::createGamePage() {
    auto* panel = new TBevelPanel(PageColour, this);
    panel->setObjectName(QStringLiteral("Panel3"));
    panel->setGeometry(48, 32, 433, 329);
    Panel3 = panel;

    Notebook1 = new QStackedWidget(Panel3);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    Notebook1->setGeometry(3, 3, 422, 318);
    gamePageWidget_ = makePage(Notebook1);
    aboutPageWidget_ = makePage(Notebook1);
    QWidget* page = gamePageWidget_;

    // Created in the tab order of the page's focusable controls.
    RzBmpButton1 = new TImagelessButton(page);
    RzBmpButton1->setObjectName(QStringLiteral("RzBmpButton1"));
    RzBmpButton1->setGeometry(410, 184, 9, 33);
    RzBmpButton1->setAccessibleName(QStringLiteral("Game field"));
    RzBmpButton1->setAccessibleDescription(boardKeysHelp());

    RxLabel2 = makeLabel(page, "RxLabel2", QStringLiteral("Field size:"), platform::clAqua,
                         QRect(8, 10, 60, 13));
    LCDLabel2 = makeLcd(page, "LCDLabel2", QPoint(72, 8), 2, QStringLiteral("00"), platform::clAqua,
                        DarkRed);
    RxLabel3 = makeLabel(page, "RxLabel3", QStringLiteral("Foxes:"), platform::clAqua,
                         QRect(104, 10, 40, 13));
    LCDLabel3 = makeLcd(page, "LCDLabel3", QPoint(144, 8), 2, QStringLiteral("00"),
                        platform::clAqua, DarkRed);
    RxLabel4 = makeLabel(page, "RxLabel4", QStringLiteral("Foxes \nrevealed:"), platform::clYellow,
                         QRect(176, 4, 56, 26));
    LCDLabel4 = makeLcd(page, "LCDLabel4", QPoint(240, 8), 2, QStringLiteral("00"),
                        platform::clYellow, DarkTeal);
    RxLabel1 = makeLabel(page, "RxLabel1", QStringLiteral("Time \nelapsed:"), platform::clLime,
                         QRect(272, 4, 51, 26));
    LCDLabel1 = makeLcd(page, "LCDLabel1", QPoint(328, 8), 7, QStringLiteral("00:00,0"),
                        platform::clLime, DarkGreen);

    PaintBox3 = new TFieldArea(page);
    PaintBox3->setObjectName(QStringLiteral("PaintBox3"));
    PaintBox3->move(8, 32);

    Bevel1 = new TBevel(page, TBevel::Shape::Box);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(168, 264, 241, 50);

    mybitbutn510 = makeButton<Tmybitbutn5>(page, "mybitbutn510", 11,
                                           QStringLiteral("Start new game"), {8, 264, 60, 22});
    mybitbutn51 = makeButton<Tmybitbutn5>(
        page, "mybitbutn51", 14, QStringLiteral("View the high score for the current puzzle"),
        {8, 288, 60, 22});
    mybitbutn51->setEnabled(false);

    RzBmpButton16 = new TImagelessButton(page);
    RzBmpButton16->setObjectName(QStringLiteral("RzBmpButton16"));
    RzBmpButton16->setGeometry(76, 268, 9, 17);
    RzBmpButton16->setAccessibleName(QStringLiteral("Show hints"));
    JvgCheckBox12 = new TGlyphCheckBox(QStringLiteral("Show hints"), page);
    JvgCheckBox12->setObjectName(QStringLiteral("JvgCheckBox12"));
    JvgCheckBox12->setGeometry(88, 270, 73, 15);
    JvgCheckBox12->setChecked(true);

    mybitbutn52 = makeButton<Tmybitbutn5>(page, "mybitbutn52", 13, QString(), {80, 288, 60, 22});

    RxLabel7 = makeLabel(page, "RxLabel7", QStringLiteral("Set up the field:"), platform::clWhite,
                         QRect(172, 266, 94, 13));
    RxLabel5 = makeLabel(page, "RxLabel5", QStringLiteral("size"), platform::clWhite,
                         QRect(272, 266, 25, 13));
    mybitbutn3 = makeButton<Tmybitbutn>(
        page, "mybitbutn3", 7, QStringLiteral("Decrease the size of field"), {248, 288, 24, 19});
    LCDLabel5 =
        makeLcd(page, "LCDLabel5", QPoint(270, 288), 2, QString(), platform::clAqua, DarkRed);
    mybitbutn1 = makeButton<Tmybitbutn>(
        page, "mybitbutn1", 6, QStringLiteral("Increase the size of field"), {296, 288, 24, 19});
    mybitbutn4 = makeButton<Tmybitbutn>(
        page, "mybitbutn4", 7, QStringLiteral("Decrease the number of foxes "), {328, 288, 24, 19});
    RxLabel6 = makeLabel(page, "RxLabel6", QStringLiteral("foxes"), platform::clWhite,
                         QRect(348, 266, 33, 13));
    LCDLabel6 =
        makeLcd(page, "LCDLabel6", QPoint(350, 288), 2, QString(), platform::clAqua, DarkRed);
    mybitbutn2 = makeButton<Tmybitbutn>(
        page, "mybitbutn2", 6, QStringLiteral("Increase the number of foxes"), {376, 288, 24, 19});
    // Each display reaches under the two right-hand columns of the arrow button before it.
    LCDLabel5->stackUnder(mybitbutn3);
    LCDLabel6->stackUnder(mybitbutn4);

    // The displays show bare numbers; a screen reader also needs to say what they count.
    LCDLabel2->setAccessibleName(QStringLiteral("Field size"));
    LCDLabel3->setAccessibleName(QStringLiteral("Foxes"));
    LCDLabel4->setAccessibleName(QStringLiteral("Foxes revealed"));
    LCDLabel1->setAccessibleName(QStringLiteral("Time elapsed"));
    LCDLabel5->setAccessibleName(QStringLiteral("Set-up field size"));
    LCDLabel6->setAccessibleName(QStringLiteral("Set-up foxes"));

    QWidget* const tabOrder[] = {RzBmpButton1,  mybitbutn510, mybitbutn51,
                                 RzBmpButton16, mybitbutn52,  mybitbutn3,
                                 mybitbutn1,    mybitbutn4,   mybitbutn2};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void Tmainform_form::createAboutPage() {
    QWidget* page = aboutPageWidget_;
    Bevel2 = new TBevel(page);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setGeometry(8, 8, 409, 305);
    Bevel3 = new TBevel(page);
    Bevel3->setObjectName(QStringLiteral("Bevel3"));
    Bevel3->setGeometry(32, 64, 369, 193);

    RxGIFAnimator1 = new TAnimatedImage(page);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->setLoading(true);
    RxGIFAnimator1->setGlyph(platform::loadBitmap(QStringLiteral("ABOUT_ANIM")));
    RxGIFAnimator1->setNumGlyphs(9);
    RxGIFAnimator1->setInactiveGlyph(0);
    RxGIFAnimator1->setInterval(150);
    RxGIFAnimator1->setLoading(false);
    RxGIFAnimator1->setGeometry(48, 80, 50, 50);
    // Beneath the picture lies nothing but the page's own colour (Bevel3's frame runs around
    // it at a distance), so the picture fills its transparent pixels with that colour itself:
    // a frame of the animation is then one copy, and the page beneath is not painted again.
    RxGIFAnimator1->setColor(platform::fromQColor(PageColour));
    RxGIFAnimator1->setOpaque(true);

    RxLabel14 =
        makeAboutLabel(page, "RxLabel14", QStringLiteral("Tarnell"), 21, QRect(120, 92, 153, 24));
    RxLabel15 =
        makeAboutLabel(page, "RxLabel15", QStringLiteral("developer:"), 13, QRect(40, 144, 78, 16));
    RxLabel16 =
        makeAboutLabel(page, "RxLabel16", QStringLiteral("Morvane"), 21, QRect(176, 140, 78, 24));
    RxLabel9 = makeLabel(page, "RxLabel9",
                         QStringLiteral("If you like this software you can support the developer."),
                         platform::clYellow, QRect(48, 266, 316, 13));
    mybitbutn53 = makeButton<Tmybitbutn5>(page, "mybitbutn53", 13, QString(), {176, 284, 60, 22});
}

} // namespace tarnell
