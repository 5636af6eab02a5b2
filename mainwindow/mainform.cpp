#include "mainform.h"

#include "FieldArea.h"
#include "FormParts.h"
#include "GamePage.h"
#include "GameSession.h"
#include "RestingTimer.h"
#include "SideToolbar.h"
#include "StoredSetup.h"
#include "dialogs/donat.h"
#include "dialogs/game_over.h"
#include "dialogs/score.h"
#include "dialogs/warnin_fo.h"
#include "platform/MessageBox.h"
#include "platform/Resources.h"
#include "platform/Screen.h"
#include "widgets/GlyphCheckBox.h"
#include "widgets/MyAni.h"
#include "widgets/buttons/ButtonFaceStrip.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

namespace tarnell {

namespace {

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

} // namespace

Tmainform_form::Tmainform_form(TMainFormSources sources, QWidget* parent)
    : TSkinnedForm(mainLayout(), parent),
      applicationActive_(sources.applicationActive ? std::move(sources.applicationActive)
                                                   : &applicationIsActive),
      click_(platform::embeddedSound(QStringLiteral("CLICK"))) {
    setObjectName(QStringLiteral("mainform_form"));
    if (!sources.playClick)
        sources.playClick = [this] { platform::playSound(click_); };
    session_ = new TGameSession(std::move(sources), this);
    FormCreate();
}

const TPuzzle& Tmainform_form::puzzle() const {
    return session_->puzzle();
}

void Tmainform_form::SetOpenDialogMarker(int marker) {
    marker_ = marker;
    session_->wake(); // a dialog opened or closed
}

Tmainform_form::~Tmainform_form() {
    qApp->removeEventFilter(this);
    qApp->removeEventFilter(gamePage_);
    FormDestroy();
}

void Tmainform_form::FormCreate() {
    // The skin (bitmaps, caption buttons) and the CLICK sound are ready by now.
    move(platform::centredPosition(ClientSize));
    createControls();
    new TSideToolbar(*this, {{child<TMyAni>("MyAni1"), [this] { ShowGamePage(); }},
                                            {child<TMyAni>("MyAni2"), [this] { ShowPage(AboutPage); }},
                                            {child<TMyAni>("MyAni4"), [this] { close(); }}});
    // The window sees its keys before any of its controls, and before its game page does.
    qApp->installEventFilter(this);
    gamePage_ = new TGamePage(*session_, Notebook1->widget(GamePage), this);
    TFieldArea* field = gamePage_->field();
    connect(field, &TFieldArea::mouseMoved, this, &Tmainform_form::PaintBox3MouseMove);
    connect(field, &TFieldArea::mouseReleased, this, &Tmainform_form::PaintBox3MouseUp);
    connectFocusConvention();

    const TStoredSetup stored = readStoredSetup();
    session_->restore(stored.size, stored.foxes, stored.hints);
    JvgCheckBox12->setChecked(stored.hints);
    if (const QStringList problems = field->renderer().imageProblems(); !problems.isEmpty())
        platform::showMessage(QStringLiteral("The field cannot be drawn completely:\n") +
                              problems.join(QLatin1Char('\n')));
    gamePage_->showPuzzleState();

    // After the game page's views: a solved puzzle's dialog comes after its news.
    connect(session_, &TGameSession::changed, this, [this](const TGameChange& change) {
        if (change.solved && change.result)
            OpenDialogOfKind(puzzleSolved_, odPuzzleSolved, *change.result);
    });
    connect(session_, &TGameSession::ticked, this, &Tmainform_form::Timer1Timer);
    // The box says whether the hints show, however it is checked.
    connect(JvgCheckBox12, &QAbstractButton::toggled, session_, &TGameSession::setShowHints);

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

void Tmainform_form::FormDestroy() {
    // Runs once, whichever way the window goes: closed by any route, or destroyed.
    if (stopped_)
        return;
    stopped_ = true;
    session_->stop();
    storeSetup({puzzle().SetupSize(), puzzle().SetupFoxes(), JvgCheckBox12->isChecked()});
}

void Tmainform_form::Timer1Timer() {
    if (Notebook1->currentIndex() == GamePage)
        gamePage_->showNow();
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

// Ctrl+F1 shows the game page, Ctrl+F2 the about page, Ctrl+F3 and Alt+F4 close the window,
// Ctrl+N is "Start new game" on the game page, where the new board shows.
bool Tmainform_form::FormKeyDown(const QKeyEvent& key) {
    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    const int pressed = key.key();
    if (ctrl && pressed == Qt::Key_F1) {
        ShowGamePage();
    } else if (ctrl && pressed == Qt::Key_F2) {
        ShowPage(AboutPage);
        // Where a screen reader reads the page; no button of it lights up.
        aboutPage_->setFocus(Qt::OtherFocusReason);
    } else if ((ctrl && pressed == Qt::Key_F3) ||
               (key.modifiers() & Qt::AltModifier && pressed == Qt::Key_F4)) {
        close();
    } else if (ctrl && pressed == Qt::Key_N) {
        if (Notebook1->currentIndex() != GamePage)
            ShowGamePage();
        mybitbutn510Click();
    } else {
        return false;
    }
    return true;
}

bool Tmainform_form::eventFilter(QObject* watched, QEvent* event) {
    // The window sees its keys before any of its controls does.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this)
        return FormKeyDown(*static_cast<QKeyEvent*>(event));
    return TSkinnedForm::eventFilter(watched, event);
}

} // namespace tarnell
