#include "score.h"

#include "dialogs/BestResultLines.h"
#include "widgets/buttons/buts.h"

namespace tarnell {

namespace {

const TSkinLayout ScoreSkin{QSize(427, 221), QStringLiteral("Highscore"), QSize(40, 160),
                            QSize(40, 160)};

} // namespace

Tscore_form::Tscore_form(TDialogHost& host, int fieldSize, int foxCount,
                         halloffame::FameFileSystem& files)
    : TDialogForm({ScoreSkin, QSize(372, 174), QSize(367, 167)}, host), fieldSize_(fieldSize),
      foxCount_(foxCount), files_(files) {
    RxLabel2 = addLabel("RxLabel2", QStringLiteral("Puzzle difficulty:"), Yellow, {48, 10});
    RxLabel3 = addLabel("RxLabel3", QStringLiteral("The puzzle dimension:"), White, {48, 34});
    RxLabel6 = addLabel("RxLabel6", QString(), Lime, {192, 34});
    RxLabel8 = addLabel("RxLabel8", QStringLiteral("Number of foxes:"), White, {48, 50});
    RxLabel7 = addLabel("RxLabel7", QString(), Lime, {192, 50});
    RxLabel12 =
        addLabel("RxLabel12", QStringLiteral("The best result for this puzzle:"), Yellow, {48, 66});
    RxLabel13 = addLabel("RxLabel13", QStringLiteral("The best time:"), White, {48, 90});
    RxLabel15 = addLabel("RxLabel15", QString(), Lime, {144, 90});
    RxLabel14 = addLabel("RxLabel14", QStringLiteral("Minimum steps:"), White, {48, 106});
    RxLabel16 = addLabel("RxLabel16", QString(), Lime, {144, 106});
    mybitbut1 =
        addButton("mybitbut1", QStringLiteral("OK"), QStringLiteral("GLYPH_TICK"), {136, 134});
    connect(mybitbut1, &QAbstractButton::clicked, this, &QWidget::close);

    speakAsOneLine({RxLabel3, RxLabel6});
    speakAsOneLine({RxLabel8, RxLabel7});
    speakAsOneLine({RxLabel13, RxLabel15});
    speakAsOneLine({RxLabel14, RxLabel16});

    FormCreate();
}

void Tscore_form::FormCreate() {
    centreOnScreen();
    setLabelCaption(*RxLabel6, QStringLiteral("%1 x %1").arg(fieldSize_));
    setLabelCaption(*RxLabel7, QString::number(foxCount_));
    halloffame::HallOfFame fame(files_);
    showBestResultLines(fame, fieldSize_, foxCount_, *RxLabel15, *RxLabel16);
    showOnTop();
}

} // namespace tarnell
