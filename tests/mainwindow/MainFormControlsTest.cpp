// The main window's controls: where they stand, their properties, the tab order, the focus
// convention, the side buttons with their sunken frame, and the keyboard shortcuts.
#include "MainFormFixture.h"

#include "dialogs/DialogParts.h"
#include "dialogs/donat.h"
#include "dialogs/score.h"
#include "dialogs/warnin_fo.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/MyAni.h"
#include "widgets/ShadowLabel.h"
#include "widgets/buttons/buts.h"
#include "widgets/buttons/buts2.h"
#include "widgets/buttons/buts5.h"
#include "widgets/lcd/LCD_Lab.h"

#include "platform/Resources.h"
#include "platform/Screen.h"

#include <QEnterEvent>
#include <QTimer>

namespace tarnell {

using namespace mainformtest;
using enum TGlyphCheckBox::CaptionStyle;

namespace {

struct Placement {
    const char* name;
    const char* parent;
    QRect geometry;
};

// Every control of the layout with its parent and its place in the parent.
const Placement Layout[] = {
    {"Panel1", "mainform_form", {8, 46, 40, 315}}, {"Panel3", "mainform_form", {48, 32, 433, 329}},
    {"Notebook1", "Panel3", {3, 3, 422, 318}},     {"MyAni1", "Panel1", {3, 172, 32, 32}},
    {"MyAni2", "Panel1", {3, 222, 32, 32}},        {"MyAni4", "Panel1", {3, 272, 34, 33}},
    {"RxLabel2", "game", {8, 10, 60, 13}},         {"RxLabel3", "game", {104, 10, 40, 13}},
    {"RxLabel4", "game", {176, 4, 56, 26}},        {"RxLabel1", "game", {272, 4, 51, 26}},
    {"PaintBox3", "game", {8, 32, 401, 225}},      {"RzBmpButton1", "game", {410, 184, 9, 33}},
    {"Bevel1", "game", {168, 264, 241, 50}},       {"mybitbutn510", "game", {8, 264, 60, 22}},
    {"mybitbutn51", "game", {8, 288, 60, 22}},     {"RzBmpButton16", "game", {76, 268, 9, 17}},
    {"JvgCheckBox12", "game", {88, 270, 73, 15}},  {"mybitbutn52", "game", {80, 288, 60, 22}},
    {"RxLabel7", "game", {172, 266, 94, 13}},      {"RxLabel5", "game", {272, 266, 25, 13}},
    {"mybitbutn3", "game", {248, 288, 24, 19}},    {"mybitbutn1", "game", {296, 288, 24, 19}},
    {"mybitbutn4", "game", {328, 288, 24, 19}},    {"RxLabel6", "game", {348, 266, 33, 13}},
    {"mybitbutn2", "game", {376, 288, 24, 19}},    {"Bevel2", "about", {8, 8, 409, 305}},
    {"Bevel3", "about", {32, 64, 369, 193}},       {"RxGIFAnimator1", "about", {48, 80, 50, 50}},
    {"RxLabel14", "about", {120, 92, 153, 24}},    {"RxLabel15", "about", {40, 144, 78, 16}},
    {"RxLabel16", "about", {176, 140, 78, 24}},    {"RxLabel9", "about", {48, 266, 316, 13}},
    {"mybitbutn53", "about", {176, 284, 60, 22}},
};

// The LCD labels size themselves from their settings: 26 x 19 for two characters, 81 x 19
// for seven.
struct LcdPlacement {
    const char* name;
    QPoint place;
    int chars;
    const char* caption;
    platform::TColor lit, unlit;
};
const LcdPlacement Lcds[] = {
    {"LCDLabel2", {72, 8}, 2, "00", platform::clAqua, platform::rgb(72, 0, 0)},
    {"LCDLabel3", {144, 8}, 2, "00", platform::clAqua, platform::rgb(72, 0, 0)},
    {"LCDLabel4", {240, 8}, 2, "00", platform::clYellow, platform::rgb(0, 72, 72)},
    {"LCDLabel1", {328, 8}, 7, "00:00,0", platform::clLime, platform::rgb(0, 72, 0)},
    {"LCDLabel5", {270, 288}, 2, "08", platform::clAqua, platform::rgb(72, 0, 0)},
    {"LCDLabel6", {350, 288}, 2, "05", platform::clAqua, platform::rgb(72, 0, 0)},
};

void enter(QWidget* widget) {
    const QPointF inside(2, 2);
    QEnterEvent event(inside, inside, widget->mapToGlobal(inside));
    QApplication::sendEvent(widget, &event);
}
void leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST_F(MainForm, WindowIsFramelessCentredAndCaptioned) {
    open();
    EXPECT_EQ(window_->size(), QSize(488, 376));
    EXPECT_TRUE(window_->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window_->caption(), QStringLiteral("Tarnell"));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Tarnell"));
    const QSize screen = platform::usableScreenSize();
    EXPECT_EQ(window_->pos(), QPoint((screen.width() - 488) / 2, (screen.height() - 376) / 2));
    EXPECT_EQ(ui<"Timer1">()->interval(), 100);
    EXPECT_TRUE(ui<"Timer1">()->isActive());
}

TEST_F(MainForm, EveryControlStandsAtItsPlace) {
    open();
    for (const Placement& p : Layout) {
        SCOPED_TRACE(p.name);
        auto* control = window_->findChild<QWidget*>(QLatin1String(p.name));
        ASSERT_NE(control, nullptr);
        if (QLatin1String(p.name).startsWith(QLatin1String("RxLabel1")) &&
            QLatin1String(p.parent) == QLatin1String("about")) {
            // The about page's big labels grow to their text where the face runs wide.
            EXPECT_EQ(control->pos(), p.geometry.topLeft());
            EXPECT_EQ(control->height(), p.geometry.height());
            EXPECT_GE(control->width(), p.geometry.width());
            EXPECT_GE(control->width(), control->sizeHint().width());
        } else {
            EXPECT_EQ(control->geometry(), p.geometry);
        }
        const QWidget* parent = control->parentWidget();
        if (QLatin1String(p.parent) == QLatin1String("game"))
            EXPECT_EQ(parent, ui<"gamePage">());
        else if (QLatin1String(p.parent) == QLatin1String("about"))
            EXPECT_EQ(parent, ui<"aboutPage">());
        else
            EXPECT_EQ(parent->objectName(), QLatin1String(p.parent));
    }
    EXPECT_EQ(window_->strip()->geometry(), QRect(0, 0, 40, 314));
    for (const LcdPlacement& l : Lcds) {
        SCOPED_TRACE(l.name);
        auto* lcd = window_->findChild<TLCDLabel*>(QLatin1String(l.name));
        ASSERT_NE(lcd, nullptr);
        EXPECT_EQ(lcd->parentWidget(), ui<"gamePage">());
        EXPECT_EQ(lcd->geometry(), QRect(l.place, QSize(l.chars == 2 ? 26 : 81, 19)));
        EXPECT_EQ(lcd->NoOfChars(), l.chars);
        EXPECT_EQ(lcd->Caption(), QLatin1String(l.caption));
        EXPECT_EQ(lcd->PixelOn(), l.lit);
        EXPECT_EQ(lcd->PixelOff(), l.unlit);
        EXPECT_EQ(lcd->PixelSize(), pix1x1);
        EXPECT_EQ(lcd->PixelShape(), spShaped);
        EXPECT_EQ(lcd->PixelSpacing(), 1);
        EXPECT_EQ(lcd->CharSpacing(), 2);
        EXPECT_EQ(lcd->TextLines(), 1);
        EXPECT_EQ(lcd->BorderSpace(), 2);
        EXPECT_EQ(lcd->BorderStyle(), frNone);
        EXPECT_EQ(lcd->BackGround(), platform::clBlack);
    }
}

// The end-to-end tests aim at the controls by their places in the window; those places are
// read here from the running window, and the board's cells from the field the player sees.
TEST_F(MainForm, TheEndToEndTestsAimAtTheControlsAndCells) {
    openActive();
    namespace inwindow = testsupport::inwindow;
    const struct {
        QWidget* control;
        QRect place;
    } places[] = {
        {ui<"PaintBox3">(), inwindow::Field},       {ui<"mybitbutn510">(), inwindow::StartNewGame},
        {ui<"mybitbutn51">(), inwindow::HighScore}, {ui<"mybitbutn1">(), inwindow::SizeUp},
        {ui<"mybitbutn2">(), inwindow::FoxesUp},    {ui<"LCDLabel1">(), inwindow::Clock},
    };
    for (const auto& p : places) {
        SCOPED_TRACE(p.control->objectName().toStdString());
        EXPECT_EQ(QRect(p.control->mapTo(window_.get(), QPoint(0, 0)), p.control->size()), p.place);
        EXPECT_EQ(window_->childAt(testsupport::middle(p.place)), p.control);
    }
    // The pointer over a cell's centre makes its plate the cyan one, for every cell of the
    // largest board, and a click there opens that cell.
    window_->mybitbutn1Click();
    window_->mybitbutn1Click(); // 10 x 10
    hideFoxesAt({{10, 10}, {1, 1}, {1, 10}, {10, 1}, {5, 5}});
    window_->mybitbutn510Click();
    for (int row = 1; row <= 10; ++row)
        for (int col = 1; col <= 10; ++col) {
            QTest::mouseMove(ui<"PaintBox3">(), cellCentre(row, col));
            window_->Timer1Timer();
            ASSERT_TRUE(isCyanPlate(fieldPixel(cellCentre(row, col)))) << row << "," << col;
            ASSERT_EQ(window_->puzzle().HotRow(), row);
            ASSERT_EQ(window_->puzzle().HotCol(), col);
        }
    QTest::mouseClick(ui<"PaintBox3">(), Qt::LeftButton, Qt::NoModifier, cellCentre(4, 7));
    EXPECT_EQ(window_->puzzle().ViewState(4, 7), vsOpened);
}

TEST_F(MainForm, ButtonsLabelsAndSideButtonsCarryTheirProperties) {
    open();
    const struct {
        TStripFaceButton* button;
        int selected;
        const char* hint;
    } buttons[] = {
        {ui<"mybitbutn510">(), 11, "Start new game"},
        {ui<"mybitbutn51">(), 14, "View the high score for the current puzzle"},
        {ui<"mybitbutn52">(), 13, ""},
        {ui<"mybitbutn53">(), 13, ""},
        {ui<"mybitbutn3">(), 7, "Decrease the size of field"},
        {ui<"mybitbutn1">(), 6, "Increase the size of field"},
        {ui<"mybitbutn4">(), 7, "Decrease the number of foxes "},
        {ui<"mybitbutn2">(), 6, "Increase the number of foxes"},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.button->objectName().toStdString());
        EXPECT_EQ(b.button->Selected(), b.selected);
        EXPECT_EQ(b.button->toolTip(), QLatin1String(b.hint));
    }
    const struct {
        TShadowLabel* label;
        const char* text;
        platform::TColor colour;
    } labels[] = {
        {ui<"RxLabel2">(), "Field size:", platform::clAqua},
        {ui<"RxLabel3">(), "Foxes:", platform::clAqua},
        {ui<"RxLabel4">(), "Foxes \nrevealed:", platform::clYellow},
        {ui<"RxLabel1">(), "Time \nelapsed:", platform::clLime},
        {ui<"RxLabel7">(), "Set up the field:", platform::clWhite},
        {ui<"RxLabel5">(), "size", platform::clWhite},
        {ui<"RxLabel6">(), "foxes", platform::clWhite},
        {ui<"RxLabel9">(), "If you like this software you can support the developer.",
         platform::clYellow},
        {ui<"RxLabel14">(), "Tarnell", platform::clWindowText},
        {ui<"RxLabel15">(), "developer:", platform::clWindowText},
        {ui<"RxLabel16">(), "Morvane", platform::clWindowText},
    };
    for (const auto& l : labels) {
        SCOPED_TRACE(l.text);
        EXPECT_EQ(l.label->Caption(), QLatin1String(l.text));
        EXPECT_EQ(l.label->FontColor(), l.colour);
        EXPECT_TRUE(l.label->font().bold());
    }
    EXPECT_EQ(ui<"RxLabel2">()->ShadowColor(), platform::clBlack);
    EXPECT_EQ(ui<"RxLabel2">()->ShadowPos(), spRightBottom);
    EXPECT_TRUE(ui<"RxLabel2">()->Transparent());
    EXPECT_EQ(ui<"RxLabel14">()->font().pixelSize(), 21);
    EXPECT_EQ(ui<"RxLabel15">()->font().pixelSize(), 13);
    EXPECT_EQ(ui<"RxLabel16">()->font().pixelSize(), 21);
    EXPECT_FALSE(ui<"RxLabel14">()->Transparent());
    EXPECT_EQ(ui<"RxLabel14">()->ShadowPos(), spLeftTop);
    EXPECT_EQ(ui<"JvgCheckBox12">()->text(), QStringLiteral("Show hints"));

    const struct {
        TMyAni* button;
        int frames;
        uint32_t interval;
        const char* hint;
    } side[] = {{ui<"MyAni1">(), 9, 150, "Solve a puzzle"},
                {ui<"MyAni2">(), 6, 200, "About"},
                {ui<"MyAni4">(), 10, 150, "Exit"}};
    for (const auto& s : side) {
        SCOPED_TRACE(s.hint);
        EXPECT_EQ(s.button->NumGlyphs(), s.frames);
        EXPECT_EQ(s.button->Interval(), s.interval);
        EXPECT_EQ(s.button->InactiveGlyph(), 0);
        EXPECT_EQ(s.button->shownFrame(), 0);
        EXPECT_EQ(s.button->toolTip(), QLatin1String(s.hint));
    }
    EXPECT_EQ(ui<"RxGIFAnimator1">()->NumGlyphs(), 9);
    EXPECT_EQ(ui<"RxGIFAnimator1">()->frameSize(), QSize(50, 50));
    EXPECT_EQ(ui<"RxGIFAnimator1">()->Interval(), 150u);
    EXPECT_FALSE(ui<"RxGIFAnimator1">()->Active());
}

TEST_F(MainForm, TheAboutAnimationShowsThePageThroughItsTransparentPixels) {
    openActive();
    QTest::keyClick(window_.get(), Qt::Key_F2, Qt::ControlModifier);
    ASSERT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::AboutPage);
    TAnimatedImage& picture = *ui<"RxGIFAnimator1">();
    const QRect box = picture.geometry();
    // What the page shows beneath the picture, seen with the picture away.
    picture.hide();
    const QImage beneath = ui<"aboutPage">()->grab(box).toImage();
    picture.show();
    // The strip's ground colour (its bottom-left pixel) is transparent.
    const QImage strip = platform::loadBitmap(QStringLiteral("ABOUT_ANIM"));
    ASSERT_FALSE(strip.isNull());
    const QRgb ground = strip.pixel(0, strip.height() - 1);

    picture.setActive(true);
    for (int shown = 0; shown < 9; ++shown) {
        SCOPED_TRACE(shown);
        if (shown > 0)
            picture.TimerTick(); // frames 1 to 8; frame 0 is the still one
        ASSERT_EQ(picture.shownFrame(), shown);
        const QImage onPage = ui<"aboutPage">()->grab(box).toImage();
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) {
                const QRgb own = strip.pixel(shown * 50 + x, y);
                const QColor expected(own == ground ? beneath.pixel(x, y) : own);
                ASSERT_EQ(testsupport::pixel(onPage, x, y), expected) << x << "," << y;
            }
    }
    picture.setActive(false);
}

TEST_F(MainForm, PanelsAndBoxesDrawTheirBevels) {
    open();
    const QColor white(255, 255, 255), shadow = platform::toQColor(platform::clBtnShadow),
                                       page(148, 148, 148);
    const QImage panel = ui<"Panel3">()->grab().toImage(), box = ui<"Bevel1">()->grab().toImage();
    // The panel: raised outside, white left and top, shadow right and bottom (with both far
    // corners); lowered inside; the page's colour within, also below the notebook. The box:
    // lowered all round.
    const std::tuple<const QImage*, int, int, QColor> pixels[] = {
        {&panel, 0, 0, white},    {&panel, 0, 327, white},   {&panel, 0, 328, shadow},
        {&panel, 432, 0, shadow}, {&panel, 432, 328, shadow}, {&panel, 1, 1, shadow},
        {&panel, 431, 1, white},  {&panel, 1, 327, white},   {&panel, 2, 2, page},
        {&panel, 430, 326, page}, {&box, 0, 0, shadow},      {&box, 0, 49, shadow},
        {&box, 240, 0, white},    {&box, 240, 49, white},    {&box, 120, 0, shadow},
        {&box, 120, 49, white}};
    for (const auto& [image, x, y, colour] : pixels)
        EXPECT_EQ(testsupport::pixel(*image, x, y), colour)
            << (image == &panel ? "Panel3 " : "Bevel1 ") << x << "," << y;
}

TEST_F(MainForm, TabOrderOfTheGamePage) {
    openActive();
    QWidget* const order[] = {ui<"RzBmpButton1">(),  ui<"mybitbutn510">(), ui<"mybitbutn51">(),
                              ui<"RzBmpButton16">(), ui<"mybitbutn52">(),  ui<"mybitbutn3">(),
                              ui<"mybitbutn1">(),    ui<"mybitbutn4">(),   ui<"mybitbutn2">()};
    window_->mybitbutn510Click(); // enables mybitbutn51
    ui<"RzBmpButton1">()->setFocus();
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << i;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ui<"RzBmpButton1">()); // round again
}

TEST_F(MainForm, HoverGivesTheFocusAndLeavingParksItOnThePageOnly) {
    openActive();
    enter(ui<"mybitbutn1">());
    EXPECT_TRUE(ui<"mybitbutn1">()->hasFocus());
    EXPECT_TRUE(ui<"mybitbutn1">()->isActiveButton());
    leave(ui<"mybitbutn1">());
    EXPECT_TRUE(ui<"RzBmpButton1">()->hasFocus());
    EXPECT_FALSE(ui<"mybitbutn1">()->isActiveButton());

    enter(ui<"mybitbutn510">());
    EXPECT_TRUE(ui<"mybitbutn510">()->hasFocus());
    enter(ui<"mybitbutn52">());
    EXPECT_TRUE(ui<"mybitbutn52">()->hasFocus());
    EXPECT_FALSE(ui<"mybitbutn510">()->isActiveButton());

    // The check box hands the focus to its keyboard handle, which shows the caption recessed.
    enter(ui<"JvgCheckBox12">());
    EXPECT_TRUE(ui<"RzBmpButton16">()->hasFocus());
    EXPECT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Recessed);
    leave(ui<"JvgCheckBox12">());
    EXPECT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Raised);
    enter(ui<"JvgCheckBox12">()); // the handle still has the focus: recessed all the same
    EXPECT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Recessed);
    enter(ui<"mybitbutn2">()); // the handle loses the focus: raised again
    EXPECT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Raised);

    // On the about page nothing is parked; mybitbutn53 keeps the focus after the pointer.
    QTest::keyClick(window_.get(), Qt::Key_F2, Qt::ControlModifier);
    enter(ui<"mybitbutn53">());
    EXPECT_TRUE(ui<"mybitbutn53">()->hasFocus());
    leave(ui<"mybitbutn53">());
    EXPECT_TRUE(ui<"mybitbutn53">()->hasFocus());
    leave(ui<"mybitbutn2">());
    EXPECT_TRUE(ui<"mybitbutn53">()->hasFocus());
}

TEST_F(MainForm, HoverTakesNoFocusWhileTheProgramIsNotActive) {
    openActive();
    enter(ui<"mybitbutn510">());
    ASSERT_TRUE(ui<"mybitbutn510">()->hasFocus());
    programActive_ = false;
    enter(ui<"mybitbutn1">());
    EXPECT_FALSE(ui<"mybitbutn1">()->hasFocus());
    leave(ui<"mybitbutn510">()); // no parking either
    EXPECT_TRUE(ui<"mybitbutn510">()->hasFocus());
    // The check box hands the focus to its handle in any case.
    enter(ui<"JvgCheckBox12">());
    EXPECT_TRUE(ui<"RzBmpButton16">()->hasFocus());
}

// The arrow buttons sit above the set-up displays beside them: their right-hand columns show
// and take clicks.
TEST_F(MainForm, TheSetUpArrowsLieAboveTheDisplaysBesideThem) {
    openActive();
    QWidget* const page = ui<"gamePage">();
    const auto rightColumn = [](const QWidget* button) {
        return QPoint(button->geometry().right(), button->geometry().center().y());
    };
    for (QWidget* button :
         {static_cast<QWidget*>(ui<"mybitbutn3">()), static_cast<QWidget*>(ui<"mybitbutn4">())}) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_EQ(page->childAt(rightColumn(button)), button);
        EXPECT_EQ(page->childAt(rightColumn(button) - QPoint(1, 0)), button);
    }
    // The displays are still there beside the buttons.
    EXPECT_EQ(page->childAt(rightColumn(ui<"mybitbutn3">()) + QPoint(1, 0)), ui<"LCDLabel5">());
    EXPECT_EQ(page->childAt(rightColumn(ui<"mybitbutn4">()) + QPoint(1, 0)), ui<"LCDLabel6">());
    // A click on the last column, found by the window as a pointer's would be, is a click of
    // the button.
    const auto click = [&](QPoint onPage) {
        QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          page->mapTo(window_.get(), onPage));
    };
    click(rightColumn(ui<"mybitbutn3">()));
    EXPECT_EQ(ui<"LCDLabel5">()->Caption(), QStringLiteral("07"));
    click(rightColumn(ui<"mybitbutn4">()));
    EXPECT_EQ(ui<"LCDLabel6">()->Caption(), QStringLiteral("04"));
}

// A window of the program other than the main window, holding the activation.
std::unique_ptr<QWidget> activeOtherWindow() {
    auto other = std::make_unique<QWidget>();
    other->resize(100, 60);
    other->show();
    other->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(other.get()));
    return other;
}

// Its caption changes when the focus moves between controls, not when the program or the
// main window loses and regains the activation.
TEST_F(MainForm, TheCheckBoxCaptionIgnoresActivation) {
    openActive();
    enter(ui<"JvgCheckBox12">());
    leave(ui<"JvgCheckBox12">());
    ASSERT_TRUE(ui<"RzBmpButton16">()->hasFocus());
    ASSERT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Raised);
    auto other = activeOtherWindow();
    EXPECT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Raised);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    EXPECT_TRUE(ui<"RzBmpButton16">()->hasFocus());
    EXPECT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Raised);
    // A real focus move still changes it.
    enter(ui<"mybitbutn2">());
    ui<"RzBmpButton16">()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Recessed);
}

// While a dialog holds the activation the program is still the active application: hovering
// the main window moves its focus and lights the face under the pointer, and leaving parks the
// focus, but the activation and the keyboard stay with the dialog. The lit button is the one
// that takes Enter when the main window is active again.
TEST_F(MainForm, HoverWhileADialogIsActiveMovesTheFocusButNotTheActivation) {
    openActive();
    enter(ui<"mybitbutn510">());
    ASSERT_TRUE(ui<"mybitbutn510">()->isActiveButton());
    auto dialog = activeOtherWindow();
    enter(ui<"mybitbutn1">());
    EXPECT_TRUE(ui<"mybitbutn1">()->isActiveButton());
    EXPECT_FALSE(ui<"mybitbutn510">()->isActiveButton());
    EXPECT_EQ(window_->focusWidget(), ui<"mybitbutn1">());
    EXPECT_EQ(QApplication::activeWindow(), dialog.get());
    leave(ui<"mybitbutn1">());
    EXPECT_EQ(window_->focusWidget(), ui<"RzBmpButton1">());
    EXPECT_FALSE(ui<"mybitbutn1">()->isActiveButton());
    EXPECT_FALSE(ui<"mybitbutn510">()->isActiveButton());
    enter(ui<"mybitbutn510">());
    EXPECT_TRUE(ui<"mybitbutn510">()->isActiveButton());
    EXPECT_EQ(QApplication::activeWindow(), dialog.get());
    dialog.reset();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    EXPECT_TRUE(ui<"mybitbutn510">()->hasFocus());
    EXPECT_TRUE(ui<"mybitbutn510">()->isActiveButton());
    EXPECT_FALSE(ui<"mybitbutn1">()->isActiveButton());
    // Hovering in the active main window works as before.
    enter(ui<"mybitbutn1">());
    EXPECT_TRUE(ui<"mybitbutn1">()->hasFocus());
    EXPECT_TRUE(ui<"mybitbutn1">()->isActiveButton());
}

// Waits until window is the active window with the keyboard focus in it.
bool holdsTheKeyboard(const QWidget* window) {
    return QTest::qWaitFor([window] {
        return QApplication::activeWindow() == window && QApplication::focusWidget() != nullptr &&
               QApplication::focusWidget()->window() == window;
    });
}

// Score is hovered and clicked; its dialog takes the activation and the pointer moves into it:
// Score goes dark at once, and once OK closes the dialog Enter does not open it again.
TEST_F(MainForm, ScoreLeftForItsDialogGoesDarkAndEnterDoesNotOpenItAgain) {
    openActive();
    hideFoxesAt({{1, 1}, {3, 3}, {5, 5}, {1, 5}, {5, 1}});
    window_->mybitbutn510Click();
    enter(ui<"mybitbutn51">());
    ASSERT_TRUE(ui<"mybitbutn51">()->isActiveButton());
    QTest::mouseClick(ui<"mybitbutn51">(), Qt::LeftButton);
    Tscore_form* scores = window_->highScoreDialog();
    ASSERT_NE(scores, nullptr);
    ASSERT_TRUE(holdsTheKeyboard(scores));
    leave(ui<"mybitbutn51">());
    enter(scores->mybitbut1);
    EXPECT_FALSE(ui<"mybitbutn51">()->isActiveButton()) << "Score stays lit, the pointer away";
    EXPECT_EQ(QApplication::activeWindow(), scores) << "the activation went back to the window";
    QTest::mouseClick(scores->mybitbut1, Qt::LeftButton);
    ASSERT_FALSE(scores->isVisible());
    ASSERT_TRUE(holdsTheKeyboard(window_.get()));
    EXPECT_FALSE(ui<"mybitbutn51">()->isActiveButton());
    QTest::keyClick(window_.get(), Qt::Key_Return);
    EXPECT_EQ(window_->OpenDialogMarker(), odNone);
    EXPECT_EQ(window_->highScoreDialog(), scores) << "Enter opened the high-score dialog again";
    EXPECT_FALSE(scores->isVisible());
}

// A button entered while a dialog is active lights up, the dialog keeps the keyboard, and
// once the dialog is closed Enter presses the lit button.
TEST_F(MainForm, AButtonEnteredWhileADialogIsActiveLightsAndTakesEnterLater) {
    openActive();
    QTest::mouseClick(ui<"mybitbutn52">(), Qt::LeftButton);
    Tdonat_form* donation = window_->donationDialog();
    ASSERT_NE(donation, nullptr);
    ASSERT_TRUE(holdsTheKeyboard(donation));
    QWidget* const dialogFocus = QApplication::focusWidget();
    leave(ui<"mybitbutn52">());
    enter(ui<"mybitbutn1">());
    EXPECT_TRUE(ui<"mybitbutn1">()->isActiveButton());
    EXPECT_FALSE(ui<"mybitbutn52">()->isActiveButton());
    EXPECT_EQ(QApplication::activeWindow(), donation);
    EXPECT_EQ(QApplication::focusWidget(), dialogFocus) << "the dialog lost the keyboard";
    donation->close();
    ASSERT_TRUE(holdsTheKeyboard(window_.get()));
    EXPECT_TRUE(ui<"mybitbutn1">()->hasFocus());
    EXPECT_TRUE(ui<"mybitbutn1">()->isActiveButton());
    QTest::keyClick(window_.get(), Qt::Key_Return);
    EXPECT_EQ(ui<"LCDLabel5">()->Caption(), QStringLiteral("09"));
}

// While a dialog is active the pointer still moves the focus in the main window, and what shows
// the focus follows it: the caption of "Show hints" is raised once its handle lost the focus,
// and only the button with the focus is lit.
TEST_F(MainForm, WhileADialogIsActiveTheCaptionAndTheLitFaceFollowThePointersFocus) {
    openActive();
    ui<"RzBmpButton16">()->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Recessed);
    auto dialog = activeOtherWindow();
    EXPECT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Recessed);
    enter(ui<"mybitbutn3">());
    EXPECT_EQ(window_->focusWidget(), ui<"mybitbutn3">());
    EXPECT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Raised)
        << "the handle lost the focus, the caption stayed recessed";
    dialog.reset();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    EXPECT_TRUE(ui<"mybitbutn3">()->hasFocus());
    EXPECT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Raised);

    // Donate, lit by Tab; Ctrl+N asks first while a game runs; the pointer on the check box
    // gives its handle the focus, and Donate goes dark.
    window_->mybitbutn510Click();
    ui<"mybitbutn52">()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(ui<"mybitbutn52">()->isActiveButton());
    QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
    ASSERT_NE(window_->confirmationDialog(), nullptr);
    ASSERT_TRUE(holdsTheKeyboard(window_->confirmationDialog()));
    enter(ui<"JvgCheckBox12">());
    EXPECT_EQ(window_->focusWidget(), ui<"RzBmpButton16">());
    EXPECT_EQ(ui<"JvgCheckBox12">()->captionStyle(), Recessed);
    EXPECT_FALSE(ui<"mybitbutn52">()->isActiveButton()) << "Donate stays lit without the focus";
    EXPECT_EQ(QApplication::activeWindow(), window_->confirmationDialog());
}

TEST_F(MainForm, ShortcutsAreSeenBeforeTheControls) {
    openActive();
    ui<"mybitbutn510">()->setFocus();
    QWidget* control = ui<"mybitbutn510">();
    QTest::keyClick(control, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::AboutPage);
    EXPECT_FALSE(ui<"mybitbutn53">()->isActiveButton()); // the focus did not jump onto it
    QTest::keyClick(ui<"mybitbutn53">(), Qt::Key_F1);    // F1 alone
    QTest::keyClick(ui<"mybitbutn53">(), Qt::Key_F1, Qt::AltModifier); // not Ctrl
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::AboutPage);
    QTest::keyClick(ui<"mybitbutn53">(), Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::GamePage);
    EXPECT_TRUE(ui<"RzBmpButton1">()->hasFocus());
    QTest::keyClick(control, Qt::Key_F2, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::AboutPage);
    QTest::keyClick(window_.get(), Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::GamePage);

    // Neither F3 nor F4 without their modifier closes the window.
    QTest::keyClick(control, Qt::Key_F3);
    QTest::keyClick(control, Qt::Key_F3, Qt::AltModifier);
    QTest::keyClick(control, Qt::Key_F4);
    QTest::keyClick(control, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_TRUE(window_->isVisible());
    QTest::keyClick(control, Qt::Key_F4, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(MainForm, SideButtonsSinkWithAFrameAndActOnlyInTheActiveWindow) {
    openActive();
    TMyAni* about = ui<"MyAni2">();
    QTest::mousePress(about, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(about->pos(), QPoint(4, 223));
    QImage strip = window_->strip()->grab().toImage();
    const QColor black(0, 0, 0), white(255, 255, 255);
    // Black on the left and top, white on the right and bottom of (2, 220) - (38, 257).
    EXPECT_EQ(testsupport::pixel(strip, 2, 220), black);
    EXPECT_EQ(testsupport::pixel(strip, 2, 257), black);
    EXPECT_EQ(testsupport::pixel(strip, 37, 220), black);
    EXPECT_EQ(testsupport::pixel(strip, 38, 220), white);
    EXPECT_EQ(testsupport::pixel(strip, 38, 257), white);
    EXPECT_EQ(testsupport::pixel(strip, 3, 257), white);
    EXPECT_EQ(testsupport::pixel(strip, 20, 240), testsupport::pixel(strip, 1, 240));

    // Released while another window is active: nothing at all happens.
    QWidget other;
    other.resize(50, 50);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::mouseRelease(about, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(about->pos(), QPoint(4, 223));
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::GamePage);
    EXPECT_EQ(testsupport::pixel(window_->strip()->grab().toImage(), 2, 220), black);

    // Released while active: back in place, the frame gone, the page shown.
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    QTest::mouseRelease(about, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(about->pos(), QPoint(3, 222));
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::AboutPage);
    strip = window_->strip()->grab().toImage();
    EXPECT_EQ(testsupport::pixel(strip, 2, 220), testsupport::pixel(strip, 20, 220));

    // "Solve a puzzle" goes back to the game page and parks the focus.
    ui<"mybitbutn53">()->setFocus();
    QTest::mousePress(ui<"MyAni1">(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(testsupport::pixel(window_->strip()->grab().toImage(), 2, 170), black);
    QTest::mouseRelease(ui<"MyAni1">(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(ui<"Notebook1">()->currentIndex(), Tmainform_form::GamePage);
    EXPECT_TRUE(ui<"RzBmpButton1">()->hasFocus());
}

TEST_F(MainForm, SideButtonsAnimateWhileThePointerIsOverThem) {
    open();
    enter(ui<"MyAni4">());
    EXPECT_TRUE(ui<"MyAni4">()->Active());
    leave(ui<"MyAni4">());
    EXPECT_FALSE(ui<"MyAni4">()->Active());
    EXPECT_EQ(ui<"MyAni4">()->shownFrame(), 0);
}

} // namespace tarnell
