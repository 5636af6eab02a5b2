// The main window's controls: one table of where each one stands and how it is set up, and the
// loop that places them from it.
#include "mainform.h"

#include "BoardKeys.h"
#include "ControlTable.h"
#include "FormParts.h"
#include "widgets/AccessibleWidgets.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/MyAni.h"

#include <QAccessible>

namespace tarnell {

using namespace platform;

namespace {

constexpr TColor DarkRed = rgb(72, 0, 0);
constexpr TColor DarkTeal = rgb(0, 72, 72);
constexpr TColor DarkGreen = rgb(0, 72, 0);

using enum TControlKind;

// Each list in creation order, which is also the tab order of the game page.
using F = Tmainform_form;
// clang-format off
const TControlRow SideToolbarRows[] = {
    {"MyAni1", Side, {3, 172, 32, 32}, "ANI_SOLVE", 9, "Solve a puzzle", nullptr, 0, 150},
    {"MyAni2", Side, {3, 222, 32, 32}, "ANI_ABOUT", 6, "About", nullptr, 0, 200},
    {"MyAni4", Side, {3, 272, 34, 33}, "ANI_EXIT", 10, "Exit", nullptr, 0, 150},
};

const TControlRow GamePageRows[] = {
    {"RzBmpButton1", Focus, {410, 184, 9, 33}, "", 0, "Game field"},
    {"RxLabel2", Label, {8, 10, 60, 13}, "Field size:", 0, "", nullptr, clAqua},
    {"LCDLabel2", Lcd, {72, 8, 0, 0}, "00", 2, "Field size", nullptr, clAqua, DarkRed},
    {"RxLabel3", Label, {104, 10, 40, 13}, "Foxes:", 0, "", nullptr, clAqua},
    {"LCDLabel3", Lcd, {144, 8, 0, 0}, "00", 2, "Foxes", nullptr, clAqua, DarkRed},
    {"RxLabel4", Label, {176, 4, 56, 26}, "Foxes \nrevealed:", 0, "", nullptr, clYellow},
    {"LCDLabel4", Lcd, {240, 8, 0, 0}, "00", 2, "Foxes revealed", nullptr, clYellow, DarkTeal},
    {"RxLabel1", Label, {272, 4, 51, 26}, "Time \nelapsed:", 0, "", nullptr, clLime},
    {"LCDLabel1", Lcd, {328, 8, 0, 0}, "00:00,0", 7, "Time elapsed", nullptr, clLime, DarkGreen},
    {"PaintBox3", Field, {8, 32, 0, 0}},
    {"Bevel1", BoxBevel, {168, 264, 241, 50}},
    {"mybitbutn510", Wide, {8, 264, 60, 22}, "", 11, "Start new game", &F::mybitbutn510Click},
    {"mybitbutn51", Wide, {8, 288, 60, 22}, "", 14, "View the high score for the current puzzle",
     &F::mybitbutn51Click},
    {"RzBmpButton16", Focus, {76, 268, 9, 17}, "", 0, "Show hints", &F::RzBmpButton16Click},
    {"JvgCheckBox12", Box, {88, 270, 73, 15}, "Show hints", 0, "", &F::JvgCheckBox12Click},
    {"mybitbutn52", Wide, {80, 288, 60, 22}, "", 13, "", &F::mybitbutn52Click},
    {"RxLabel7", Label, {172, 266, 94, 13}, "Set up the field:", 0, "", nullptr, clWhite},
    {"RxLabel5", Label, {272, 266, 25, 13}, "size", 0, "", nullptr, clWhite},
    {"mybitbutn3", Small, {248, 288, 24, 19}, "", 7, "Decrease the size of field",
     &F::mybitbutn3Click},
    {"LCDLabel5", Lcd, {270, 288, 0, 0}, "", 2, "Set-up field size", nullptr, clAqua, DarkRed},
    {"mybitbutn1", Small, {296, 288, 24, 19}, "", 6, "Increase the size of field",
     &F::mybitbutn1Click},
    {"mybitbutn4", Small, {328, 288, 24, 19}, "", 7, "Decrease the number of foxes ",
     &F::mybitbutn4Click},
    {"RxLabel6", Label, {348, 266, 33, 13}, "foxes", 0, "", nullptr, clWhite},
    {"LCDLabel6", Lcd, {350, 288, 0, 0}, "", 2, "Set-up foxes", nullptr, clAqua, DarkRed},
    {"mybitbutn2", Small, {376, 288, 24, 19}, "", 6, "Increase the number of foxes",
     &F::mybitbutn2Click},
};

const TControlRow AboutPageRows[] = {
    {"Bevel2", Bevel, {8, 8, 409, 305}},
    {"Bevel3", Bevel, {32, 64, 369, 193}},
    {"RxGIFAnimator1", Picture, {48, 80, 50, 50}, "ABOUT_ANIM", 9, "", nullptr, 0, 150},
    {"RxLabel14", AboutLabel, {120, 92, 153, 24}, "Tarnell", 21},
    {"RxLabel15", AboutLabel, {40, 144, 78, 16}, "developer:", 13},
    {"RxLabel16", AboutLabel, {176, 140, 78, 24}, "Morvane", 21},
    {"RxLabel9", Label, {48, 266, 316, 13},
     "If you like this software you can support the developer.", 0, "", nullptr, clYellow},
    {"mybitbutn53", Wide, {176, 284, 60, 22}, "", 13, "", &F::mybitbutn53Click},
};
// clang-format on

} // namespace

void Tmainform_form::placeControls(QWidget* parent, std::span<const TControlRow> rows) {
    for (const TControlRow& row : rows)
        if (auto* button = qobject_cast<QAbstractButton*>(makeControl(parent, row)); button && row.click)
            connect(button, &QAbstractButton::clicked, this, row.click);
}

void Tmainform_form::createControls() {
    placeControls(stripPanel(), SideToolbarRows);
    auto* panel = new TBevelPanel(PageColour, this);
    panel->setObjectName(QStringLiteral("Panel3"));
    panel->setGeometry(48, 32, 433, 329);
    Notebook1 = new QStackedWidget(panel);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    Notebook1->setGeometry(3, 3, 422, 318);
    for (const char* name : {"gamePage", "aboutPage"}) {
        auto* page = new QWidget(Notebook1);
        page->setObjectName(QLatin1String(name));
        page->setAutoFillBackground(true);
        QPalette palette = page->palette();
        palette.setColor(QPalette::Window, PageColour);
        page->setPalette(palette);
        Notebook1->addWidget(page);
    }
    placeControls(Notebook1->widget(GamePage), GamePageRows);
    aboutPage_ = Notebook1->widget(AboutPage);
    placeControls(aboutPage_, AboutPageRows);

    RzBmpButton1 = child<TImagelessButton>("RzBmpButton1");
    RzBmpButton16 = child<TImagelessButton>("RzBmpButton16");
    JvgCheckBox12 = child<TGlyphCheckBox>("JvgCheckBox12");
    RxGIFAnimator1 = child<TAnimatedImage>("RxGIFAnimator1");

    RzBmpButton1->setAccessibleDescription(boardKeysHelp());
    JvgCheckBox12->setChecked(true);
    // Each display reaches under the two right-hand columns of the arrow button before it.
    child<QWidget>("LCDLabel5")->stackUnder(child<QWidget>("mybitbutn3"));
    child<QWidget>("LCDLabel6")->stackUnder(child<QWidget>("mybitbutn4"));
    // Beneath the picture lies nothing but the page's own colour (Bevel3's frame runs around
    // it at a distance), so the picture fills its transparent pixels with that colour itself:
    // a frame of the animation is then one copy, and the page beneath is not painted again.
    RxGIFAnimator1->setColor(fromQColor(PageColour));
    RxGIFAnimator1->setOpaque(true);

    // The box cannot take the focus; its handle beside it does, and reads as the box.
    presentAsCheckBox(RzBmpButton16, JvgCheckBox12);
    // The page stack is only layout: its pages speak for themselves.
    setAccessibleRole(Notebook1, QAccessible::Client);
    // The about page takes the focus when it is shown by key and reads as a whole.
    setAccessibleRole(aboutPage_, QAccessible::Pane);
    aboutPage_->setAccessibleName(QStringLiteral("About Tarnell"));
    // What Orca does not read of the page by itself: it reads a page's labels of three words
    // or more, so the last line is heard already.
    aboutPage_->setAccessibleDescription(QStringLiteral("Tarnell. developer: Morvane."));
}

} // namespace tarnell
