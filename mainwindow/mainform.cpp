#include "mainform.h"

#include "BoardAccessible.h"
#include "BoardKeys.h"
#include "FieldArea.h"
#include "FormParts.h"
#include "GameSession.h"
#include "NewsTeller.h"
#include "RestingTimer.h"
#include "core/Clock.h"
#include "dialogs/donat.h"
#include "dialogs/game_over.h"
#include "dialogs/score.h"
#include "dialogs/warnin_fo.h"
#include "platform/MessageBox.h"
#include "platform/Resources.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "platform/TimeOfDay.h"
#include "platform/drawing/Drawing.h"
#include "widgets/Announcer.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/MyAni.h"
#include "widgets/buttons/ButtonFaceStrip.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <span>

namespace tarnell {

namespace {

const QString SettingFoxes = QStringLiteral("Lim");
const QString SettingSize = QStringLiteral("Fin");
const QString SettingHints = QStringLiteral("Hints");

QString twoDigits(int n) {
    return QString::fromStdString(TwoDigits(n));
}

TSkinLayout mainLayout() {
    TSkinLayout layout;
    layout.clientSize = Tmainform_form::ClientSize;
    layout.caption = QStringLiteral("Tarnell");
    layout.stripSize = QSize(40, 314);
    layout.panelSize = QSize(40, 315);
    return layout;
}

bool applicationIsActive() {
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

int64_t steadyClockMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The sunken frame around a pressed side button whose design top is top: black on the left
// and top, white on the right and bottom, one pixel wide, from (2, top - 2) to (38, top + 35).
void drawSunkenFrame(QPainter& painter, int top) {
    const QColor black(0, 0, 0), white(255, 255, 255);
    platform::drawPixelRun(painter, QPoint(2, top - 2), QPoint(2, top + 35), black);
    platform::drawPixelRun(painter, QPoint(2, top - 2), QPoint(37, top - 2), black);
    platform::drawPixelRun(painter, QPoint(38, top - 2), QPoint(38, top + 34), white);
    platform::drawPixelRun(painter, QPoint(3, top + 35), QPoint(38, top + 35), white);
}

} // namespace

Tmainform_form::Tmainform_form(TMainFormSources sources, QWidget* parent)
    : TSkinnedForm(mainLayout(), parent),
      ownRandom_(sources.random ? nullptr : std::make_unique<platform::StdRandom>()),
      ownClock_(sources.clock ? nullptr : std::make_unique<platform::SystemTimeOfDay>()),
      random_(sources.random ? *sources.random : *ownRandom_),
      clock_(sources.clock ? *sources.clock : *ownClock_),
      playClick_(sources.playClick ? std::move(sources.playClick) : &platform::playSound),
      applicationActive_(sources.applicationActive ? std::move(sources.applicationActive)
                                                   : &applicationIsActive),
      click_(platform::embeddedSound(QStringLiteral("CLICK"))) {
    setObjectName(QStringLiteral("mainform_form"));
    session_ = new TGameSession(
        random_, clock_, [this] { playClick_(click_); },
        sources.steadyMilliseconds ? std::move(sources.steadyMilliseconds)
                                   : &steadyClockMilliseconds,
        this);
    FormCreate();
}

const TPuzzle& Tmainform_form::puzzle() const {
    return session_->puzzle();
}

TRestingTimer* Tmainform_form::timer1Rest() const {
    return session_->timer1Rest();
}

void Tmainform_form::SetOpenDialogMarker(int marker) {
    marker_ = marker;
    session_->wake(); // a dialog opened or closed
}

Tmainform_form::~Tmainform_form() {
    qApp->removeEventFilter(this);
    FormDestroy();
}

void Tmainform_form::FormCreate() {
    // The skin (bitmaps, caption buttons) and the CLICK sound are ready by now.
    move(platform::centredPosition(ClientSize));
    createControls();
    side_[0] = {MyAni1, MyAni1->pos(), [this] { ShowGamePage(); }};
    side_[1] = {MyAni2, MyAni2->pos(), [this] { ShowPage(AboutPage); }};
    side_[2] = {MyAni4, MyAni4->pos(), [this] { close(); }};

    ReadSettings();
    if (const QStringList problems = PaintBox3->renderer().imageProblems(); !problems.isEmpty())
        platform::showMessage(QStringLiteral("The field cannot be drawn completely:\n") +
                              problems.join(QLatin1Char('\n')));
    showPuzzleState();

    for (TSideButton& side : side_) {
        connect(side.button, &TAnimatedImage::OnMouseDown, this,
                [this, &side](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
                    SideButtonDown(side);
                });
        connect(
            side.button, &TAnimatedImage::OnMouseUp, this,
            [this, &side](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { SideButtonUp(side); });
        connect(side.button, &TMyAni::OnMouseEnter, side.button,
                [button = side.button] { button->setActive(true); });
        connect(side.button, &TMyAni::OnMouseLeave, side.button,
                [button = side.button] { button->setActive(false); });
    }

    connect(PaintBox3, &TFieldArea::mouseMoved, this, &Tmainform_form::PaintBox3MouseMove);
    connect(PaintBox3, &TFieldArea::mouseReleased, this, &Tmainform_form::PaintBox3MouseUp);
    connectFocusConvention();

    // The keys act where the game page parks the focus and on the board itself, each straight
    // on the game.
    boardKeys_ = new TBoardKeys({RzBmpButton1, PaintBox3}, this);
    TGameSession* game = session_;
    connect(boardKeys_, &TBoardKeys::moveRequested, game, &TGameSession::moveCurrentCell);
    connect(boardKeys_, &TBoardKeys::openRequested, game, &TGameSession::openCurrentCell);
    connect(boardKeys_, &TBoardKeys::nextMayHideFoxRequested, game, &TGameSession::goToMayHideFox);
    connect(boardKeys_, &TBoardKeys::jumpRequested, game, &TGameSession::jumpCurrentCell);
    connect(boardKeys_, &TBoardKeys::questionAsked, game, &TGameSession::ask);
    boardReader_ = new TBoardReader(
        PaintBox3, game->puzzle(), [game] { return game->showHints(); },
        [keys = boardKeys_] { return keys->keyboardOnBoard(); });
    connect(boardKeys_, &TBoardKeys::keyboardArrived, boardReader_,
            &TBoardReader::announceCurrentCellSoon);
    announcer_ = new TAnnouncer(this);
    newsTeller_ = new TNewsTeller(*game, *boardReader_, *announcer_, this);
    // After the board's reader and the news: a solved puzzle's dialog comes after its news.
    connect(session_, &TGameSession::changed, this, &Tmainform_form::showChange);
    connect(session_, &TGameSession::ticked, this, &Tmainform_form::Timer1Timer);
    // The box says whether the hints show, however it is checked.
    connect(JvgCheckBox12, &QAbstractButton::toggled, session_, &TGameSession::setShowHints);

    qApp->installEventFilter(this);
    session_->timer1Rest()->start();
    Timer1Timer();
}

void Tmainform_form::connectFocusConvention() {
    for (TStripFaceButton* button : findChildren<TStripFaceButton*>()) {
        connect(button, &TStripFaceButton::OnMouseEnter, this,
                [this, button] { ButtonMouseEnter(button); });
        if (button->objectName() != QLatin1String("mybitbutn53")) // it keeps the focus
            connect(button, &TStripFaceButton::OnMouseLeave, this,
                    &Tmainform_form::ButtonMouseLeave);
    }

    connect(RzBmpButton16, &TImagelessButton::OnEnter, JvgCheckBox12, [box = JvgCheckBox12] {
        box->setCaptionStyle(TGlyphCheckBox::CaptionStyle::Recessed);
    });
    connect(RzBmpButton16, &TImagelessButton::OnExit, JvgCheckBox12,
            [box = JvgCheckBox12] { box->setCaptionStyle(TGlyphCheckBox::CaptionStyle::Raised); });
    // The box shows its caption recessed while the pointer is over it, also when its handle
    // kept the focus since the pointer was last there.
    connect(JvgCheckBox12, &TGlyphCheckBox::OnMouseEnter, this, [this] {
        JvgCheckBox12->setCaptionStyle(TGlyphCheckBox::CaptionStyle::Recessed);
        moveFocusByPointer(RzBmpButton16);
    });
    connect(JvgCheckBox12, &TGlyphCheckBox::OnMouseLeave, JvgCheckBox12,
            [box = JvgCheckBox12] { box->setCaptionStyle(TGlyphCheckBox::CaptionStyle::Raised); });
}

void Tmainform_form::ReadSettings() {
    int size = DefaultSetupSize;
    int foxes = DefaultSetupFoxes;
    bool hints = true;
    platform::SettingsStore store;
    if (store.open()) {
        // A value that is missing, or not a number, is replaced by its default at once;
        // values that exist are not rewritten here.
        if (const auto stored = store.readInteger(SettingFoxes))
            foxes = *stored;
        else
            store.writeInteger(SettingFoxes, DefaultSetupFoxes);
        if (const auto stored = store.readInteger(SettingSize))
            size = *stored;
        else
            store.writeInteger(SettingSize, DefaultSetupSize);
        if (const auto stored = store.readBool(SettingHints))
            hints = *stored;
        else
            store.writeBool(SettingHints, true);
        store.sync();
    }
    // Stored values outside the limits never reach the planes.
    const TSetup setup = NormalizeSetup(size, foxes);
    session_->restore(setup.Size, setup.Foxes, hints);
    JvgCheckBox12->setChecked(hints);
}

void Tmainform_form::FormDestroy() {
    // Runs once, whichever way the window goes: closed by any route, or destroyed.
    if (stopped_)
        return;
    stopped_ = true;
    session_->stop();
    platform::SettingsStore store;
    if (!store.open())
        return;
    store.writeInteger(SettingFoxes, puzzle().SetupFoxes());
    store.writeInteger(SettingSize, puzzle().SetupSize());
    store.writeBool(SettingHints, JvgCheckBox12->isChecked());
    store.sync();
}

void Tmainform_form::Timer1Timer() {
    if (Notebook1->currentIndex() != GamePage)
        return;
    showFieldNow();
}

void Tmainform_form::showFieldNow() {
    const TPuzzle& game = puzzle();
    if (game.Started() && !game.Finished())
        LCDLabel1->setCaption(QString::fromStdString(ClockText(game.Elapsed(clock_.Now()))));
    PaintBox3->showFrame(game, session_->showHints());
}

// Besides the handlers that change what a tick shows, these wake Timer1: the field has no
// paint handler of its own and shows a new frame only at a tick, so the window being uncovered
// or moved to another screen or scale must bring one; the keys and clicks of this window and
// the window's activation wake it too, in case they change anything the handlers miss.
bool Tmainform_form::wakesTimer1(const QObject* watched, const QEvent& event) const {
    switch (event.type()) {
    case QEvent::Expose:
    case QEvent::Show:
    case QEvent::ScreenChangeInternal:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    case QEvent::DevicePixelRatioChange:
#endif
    case QEvent::WindowActivate:
        return watched == this || (windowHandle() != nullptr && watched == windowHandle());
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        return watched->isWidgetType() && static_cast<const QWidget*>(watched)->window() == this;
    default:
        return false;
    }
}

void Tmainform_form::PaintBox3MouseMove(int x, int y) {
    session_->pointAt(x, y);
}

void Tmainform_form::PaintBox3MouseUp(Qt::MouseButton button, int x, int y) {
    // A solved puzzle is left alone by the session; the hit test before it changes nothing.
    if (button != Qt::LeftButton)
        return;
    int row = 0;
    int col = 0;
    TPuzzle::HitTest(x, y, row, col);
    session_->openCell(row, col, TInput::Pointer);
}

QString Tmainform_form::lastSpokenMessage() const {
    return newsTeller_->lastMessage();
}

void Tmainform_form::showChange(const TGameChange& change) {
    showPuzzleState();
    // The cyan plate follows a key at once, and the field shows the hints as soon as they are
    // switched; everything else shows from the next tick on, which the session has woken.
    const bool keyMove = change.input == TInput::Key && change.action != TAction::Open &&
                         change.action != TAction::Ask;
    if ((keyMove || change.action == TAction::Hints) && Notebook1->currentIndex() == GamePage)
        showFieldNow();
    if (change.solved && change.result)
        OpenDialogOfKind(puzzleSolved_, odPuzzleSolved, *change.result);
}

void Tmainform_form::showPuzzleState() {
    const TPuzzle& game = puzzle();
    // The displays show only what changed: an unchanged caption draws nothing. Before the first
    // puzzle the puzzle's displays keep their "00" and the high-score button stays disabled.
    const std::pair<const char*, int> shown[] = {{"LCDLabel5", game.SetupSize()},
                                                 {"LCDLabel6", game.SetupFoxes()},
                                                 {"LCDLabel2", game.FieldSize()},
                                                 {"LCDLabel3", game.FoxCount()},
                                                 {"LCDLabel4", game.FoundCount()}};
    for (const auto& [name, value] : game.Started() ? std::span(shown) : std::span(shown, 2))
        child<TLCDLabel>(name)->setCaption(twoDigits(value));
    child<QWidget>("mybitbutn51")->setEnabled(game.Started());
}

void Tmainform_form::StartNewPuzzle() {
    session_->startNewPuzzle();
}

void Tmainform_form::mybitbutn1Click() {
    session_->changeSetup(TGameSession::TSetupStep::SizeUp);
}

void Tmainform_form::mybitbutn2Click() {
    session_->changeSetup(TGameSession::TSetupStep::FoxesUp);
}

void Tmainform_form::mybitbutn3Click() {
    session_->changeSetup(TGameSession::TSetupStep::SizeDown);
}

void Tmainform_form::mybitbutn4Click() {
    session_->changeSetup(TGameSession::TSetupStep::FoxesDown);
}

void Tmainform_form::mybitbutn510Click() {
    if (session_->requestNewPuzzle())
        OpenDialogOfKind(confirmation_, odConfirmation, QStringLiteral("Warning!"),
                         QStringLiteral("This game hasn't finished yet. Generate the new puzzle?"));
}

void Tmainform_form::mybitbutn51Click() {
    SetOpenDialogMarker(odHighScore);
    if (puzzle().Started())
        OpenDialogOfKind(highScore_, odHighScore, puzzle().FieldSize(), puzzle().FoxCount());
}

void Tmainform_form::mybitbutn52Click() {
    OpenDialogOfKind(donation_, odDonation);
}

void Tmainform_form::mybitbutn53Click() {
    OpenDialogOfKind(donation_, odDonation);
}

void Tmainform_form::JvgCheckBox12Click() {
    session_->setShowHints(JvgCheckBox12->isChecked());
}

void Tmainform_form::RzBmpButton16Click() {
    JvgCheckBox12->setChecked(!JvgCheckBox12->isChecked());
    session_->setShowHints(JvgCheckBox12->isChecked());
}

template <typename Form, typename... Args>
void Tmainform_form::OpenDialogOfKind(std::unique_ptr<Form>& slot, TOpenDialog marker,
                                      Args&&... args) {
    // The earlier dialog goes first, so that nothing it does on its way out touches the
    // marker of the new one; the new one reads the marker when it is made.
    slot.reset();
    SetOpenDialogMarker(marker);
    slot = std::make_unique<Form>(static_cast<TDialogHost&>(*this), std::forward<Args>(args)...);
}

QWidget* Tmainform_form::dialogNamedByMarker() const {
    switch (marker_) {
    case odConfirmation:
        return confirmation_.get();
    case odDonation:
        return donation_.get();
    case odHighScore:
        return highScore_.get();
    case odPuzzleSolved:
        return puzzleSolved_.get();
    default:
        return nullptr;
    }
}

void Tmainform_form::FormActivate() {
    // Raised, not activated: the activation stays with the main window, whose side buttons
    // and shortcuts act only while it is the active window, so that the open dialog does not
    // block it.
    QWidget* dialog = dialogNamedByMarker();
    if (dialog == nullptr || !dialog->isVisible())
        return;
    dialog->raise();
}

void Tmainform_form::ShowPage(int page) {
    // A control of the page going away hands the focus to the notebook itself, not to a
    // button of the new page (which would light up unasked).
    if (QWidget* focus = focusWidget(); focus && Notebook1->isAncestorOf(focus))
        Notebook1->setFocus(Qt::OtherFocusReason);
    Notebook1->setCurrentIndex(page);
    RxGIFAnimator1->setActive(page == AboutPage);
    session_->setClockShown(page == GamePage);
}

void Tmainform_form::ShowGamePage() {
    ShowPage(GamePage);
    Timer1Timer();
    RzBmpButton1->setFocus(Qt::OtherFocusReason);
}

// The program is the active application also while one of its dialogs is.
void Tmainform_form::ButtonMouseEnter(QWidget* button) {
    if (applicationActive_())
        moveFocusByPointer(button);
}

void Tmainform_form::ButtonMouseLeave() {
    if (applicationActive_() && Notebook1->currentIndex() == GamePage)
        moveFocusByPointer(RzBmpButton1);
}

// While a dialog holds the activation it keeps it, and the keyboard: the focus moves only
// within this window, to the control that takes the keys once this window is active again.
// Qt reports no focus move inside a window that is not active, so what shows the focus is told:
// the lit face is always the button that Enter presses here, and the check box's caption is
// raised once its handle has lost the focus.
void Tmainform_form::moveFocusByPointer(QWidget* to) {
    const QWidget* from = focusWidget();
    to->setFocus(Qt::MouseFocusReason);
    if (isActiveWindow())
        return;
    for (TFaceButton* button : findChildren<TFaceButton*>())
        button->updateActiveFromFocus();
    if (from == RzBmpButton16 && to != RzBmpButton16)
        JvgCheckBox12->setCaptionStyle(TGlyphCheckBox::CaptionStyle::Raised);
}

void Tmainform_form::SideButtonDown(TSideButton& side) {
    side.button->move(side.place + QPoint(1, 1));
    const int top = side.place.y();
    strip()->setOverlay([top](QPainter& painter) { drawSunkenFrame(painter, top); });
    strip()->update();
}

void Tmainform_form::SideButtonUp(TSideButton& side) {
    if (!isActiveWindow())
        return;
    side.button->move(side.place);
    strip()->setOverlay({});
    strip()->update();
    side.action();
}

bool Tmainform_form::FormKeyDown(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    switch (key.key()) {
    case Qt::Key_F1:
        if (!(modifiers & Qt::ControlModifier))
            return false;
        ShowGamePage();
        return true;
    case Qt::Key_F2:
        if (!(modifiers & Qt::ControlModifier))
            return false;
        ShowPage(AboutPage);
        // Where a screen reader reads the page; no button of it lights up.
        aboutPage_->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_F3:
        if (!(modifiers & Qt::ControlModifier))
            return false;
        close();
        return true;
    case Qt::Key_F4:
        if (!(modifiers & Qt::AltModifier))
            return false;
        close();
        return true;
    case Qt::Key_N:
        // "Start new game", on the game page, where the new board shows.
        if (!(modifiers & Qt::ControlModifier))
            return false;
        if (Notebook1->currentIndex() != GamePage)
            ShowGamePage();
        mybitbutn510Click();
        return true;
    default:
        return false;
    }
}

bool Tmainform_form::eventFilter(QObject* watched, QEvent* event) {
    if (wakesTimer1(watched, *event))
        session_->wake();
    // The window sees its keys before any of its controls does.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this)
        return FormKeyDown(*static_cast<QKeyEvent*>(event));
    return TSkinnedForm::eventFilter(watched, event);
}

} // namespace tarnell
