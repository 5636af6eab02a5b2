#include "game_over.h"

#include "core/Clock.h"
#include "dialogs/BestResultLines.h"
#include "platform/Sound.h"
#include "widgets/buttons/buts.h"

#include <QLineEdit>
#include <QTimer>
#include <limits>

namespace tarnell {

namespace {

const TSkinLayout SolvedSkin{QSize(427, 277), QStringLiteral("Congradulations!"), QSize(40, 216),
                             QSize(40, 216)};
// The caption keeps its drawn spelling; a screen reader would spell the typo out.
const QString SpokenTitle = QStringLiteral("Congratulations!");
const QString NameBoxName = QStringLiteral("Enter your name");

} // namespace

void Tgame_over_form::playEmbeddedSound(const QString& name) {
    platform::playSound(platform::embeddedSound(name));
}

Tgame_over_form::Tgame_over_form(TDialogHost& host, const TPuzzleResult& result,
                                 SoundPlayer playSound, halloffame::FameFileSystem& files)
    : TDialogForm({SolvedSkin, QSize(372, 230), QSize(367, 223)}, host), result_(result),
      playSound_(std::move(playSound)), files_(files) {
    RxLabel2 =
        addLabel("RxLabel2", QStringLiteral("You have solved the puzzle!"), Yellow, {48, 10});
    RxLabel3 = addLabel("RxLabel3", QStringLiteral("The puzzle dimension:"), White, {48, 34});
    RxLabel6 = addLabel("RxLabel6", QString(), Lime, {192, 34});
    RxLabel8 = addLabel("RxLabel8", QStringLiteral("Number of foxes:"), White, {48, 50});
    RxLabel7 = addLabel("RxLabel7", QString(), Lime, {192, 50});
    RxLabel4 = addLabel("RxLabel4", QStringLiteral("It took you "), Aqua, {48, 74});
    RxLabel5 = addLabel("RxLabel5", QString(), Lime, {112, 74});
    RxLabel9 = addLabel("RxLabel9", QStringLiteral("and"), Aqua, {160, 74});
    RxLabel10 = addLabel("RxLabel10", QString(), Lime, {188, 74});
    RxLabel11 = addLabel("RxLabel11", QStringLiteral("steps."), Aqua, {208, 74});
    RxLabel12 =
        addLabel("RxLabel12", QStringLiteral("The best result for this puzzle:"), Yellow, {48, 98});
    RxLabel13 = addLabel("RxLabel13", QStringLiteral("The best time:"), White, {48, 122});
    RxLabel15 = addLabel("RxLabel15", QString(), Lime, {144, 122});
    RxLabel14 = addLabel("RxLabel14", QStringLiteral("Minimum steps:"), White, {48, 138});
    RxLabel16 = addLabel("RxLabel16", QString(), Lime, {144, 138});
    RxLabel17 = addLabel("RxLabel17", QStringLiteral("Enter your name:"), Yellow, {48, 162});
    RxLabel17->hide();

    Edit1 = addTextBox("Edit1", QRect(152, 160, 153, 16), false);
    Edit1->setMaxLength(std::numeric_limits<int>::max());
    Edit1->setAccessibleName(NameBoxName);
    Edit1->hide();
    // The name box says it when it takes the focus, right after the dialog's lines.
    RxLabel17->setAccessibleName(QString());

    mybitbut1 =
        addButton("mybitbut1", QStringLiteral("OK"), QStringLiteral("GLYPH_TICK"), {136, 190});
    connect(mybitbut1, &QAbstractButton::clicked, this, &Tgame_over_form::mybitbut1Click);
    QWidget::setTabOrder(Edit1, mybitbut1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(SoundDelayMs);
    connect(Timer1, &QTimer::timeout, this, &Tgame_over_form::Timer1Timer);

    setAccessibleName(SpokenTitle);
    speakAsOneLine({RxLabel3, RxLabel6});
    speakAsOneLine({RxLabel8, RxLabel7});
    speakAsOneLine({RxLabel4, RxLabel5, RxLabel9, RxLabel10, RxLabel11});
    speakAsOneLine({RxLabel13, RxLabel15});
    speakAsOneLine({RxLabel14, RxLabel16});

    FormCreate();
}

void Tgame_over_form::FormCreate() {
    Timer1->start();
    // Through the platform, TADA is decoded and the output made ready while the second runs,
    // so that on a busy machine too it starts when the timer fires.
    if (const auto* player = playSound_.target<void (*)(const QString&)>();
        player && *player == &Tgame_over_form::playEmbeddedSound)
        platform::prepareSound(platform::embeddedSound(QStringLiteral("TADA")));
    centreOnScreen();
    setLabelCaption(*RxLabel6, QStringLiteral("%1 x %1").arg(result_.FieldSize));
    setLabelCaption(*RxLabel7, QString::number(result_.FoxCount));
    setLabelCaption(*RxLabel10, QString::number(result_.StepCount));
    setLabelCaption(*RxLabel5, QString::fromStdString(ClockText(result_.Elapsed)));
    halloffame::HallOfFame fame(files_);
    decisions_ = {};
    if (const auto best =
            showBestResultLines(fame, result_.FieldSize, result_.FoxCount, *RxLabel15, *RxLabel16))
        decisions_ = halloffame::decide(*best, result_);
    const bool beaten = decisions_.NewBestTime || decisions_.NewMinimumSteps;
    if (beaten) {
        RxLabel17->show();
        Edit1->show();
    }
    showOnTop();
    if (beaten)
        Edit1->setFocus();
}

void Tgame_over_form::mybitbut1Click() {
    halloffame::HallOfFame fame(files_);
    if (tellPlayer(fame.store(result_, decisions_, Edit1->text())))
        close();
}

void Tgame_over_form::Timer1Timer() {
    Timer1->stop();
    if (playSound_)
        playSound_(QStringLiteral("TADA"));
}

} // namespace tarnell
