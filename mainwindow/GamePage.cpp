#include "GamePage.h"

#include "BoardAccessible.h"
#include "BoardKeys.h"
#include "FieldArea.h"
#include "GameSession.h"
#include "NewsTeller.h"
#include "core/Clock.h"
#include "widgets/Announcer.h"
#include "widgets/lcd/LCD_Lab.h"

#include <QApplication>
#include <QStackedWidget>
#include <QWindow>
#include <span>

namespace tarnell {

TGamePage::TGamePage(TGameSession& session, QWidget* page, QWidget* window)
    : QObject(window), session_(session), window_(window), page_(page),
      field_(page->findChild<TFieldArea*>(QStringLiteral("PaintBox3"))),
      clock_(page->findChild<TLCDLabel*>(QStringLiteral("LCDLabel1"))) {
    setObjectName(QStringLiteral("gamePageViews"));
    // The keys act where the page parks the focus and on the board itself, each straight on
    // the game.
    keys_ = new TBoardKeys({page->findChild<QWidget*>(QStringLiteral("RzBmpButton1")), field_},
                           this);
    connect(keys_, &TBoardKeys::moveRequested, &session, &TGameSession::moveCurrentCell);
    connect(keys_, &TBoardKeys::openRequested, &session, &TGameSession::openCurrentCell);
    connect(keys_, &TBoardKeys::nextMayHideFoxRequested, &session, &TGameSession::goToMayHideFox);
    connect(keys_, &TBoardKeys::jumpRequested, &session, &TGameSession::jumpCurrentCell);
    connect(keys_, &TBoardKeys::questionAsked, &session, &TGameSession::ask);
    reader_ = new TBoardReader(
        field_, session.puzzle(), [&session] { return session.showHints(); },
        [keys = keys_] { return keys->keyboardOnBoard(); });
    connect(keys_, &TBoardKeys::keyboardArrived, reader_, &TBoardReader::announceCurrentCellSoon);
    announcer_ = new TAnnouncer(window);
    // The news first: what the page shows next may open a dialog that a screen reader reads.
    news_ = new TNewsTeller(session, *reader_, *announcer_, this);
    connect(&session, &TGameSession::changed, this, &TGamePage::showChange);
    qApp->installEventFilter(this);
}

QString TGamePage::lastSpokenMessage() const {
    return news_->lastMessage();
}

// Besides the handlers that change what a tick shows, these wake Timer1: the field has no
// paint handler of its own and shows a new frame only at a tick, so the window being uncovered
// or moved to another screen or scale must bring one; the keys and clicks of this window and
// the window's activation wake it too, in case they change anything the handlers miss.
bool TGamePage::eventFilter(QObject* watched, QEvent* event) {
    if (wakesTimer1(watched, *event))
        session_.wake();
    return false;
}

bool TGamePage::wakesTimer1(const QObject* watched, const QEvent& event) const {
    switch (event.type()) {
    case QEvent::Expose:
    case QEvent::Show:
    case QEvent::ScreenChangeInternal:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    case QEvent::DevicePixelRatioChange:
#endif
    case QEvent::WindowActivate:
        return watched == window_ ||
               (window_->windowHandle() != nullptr && watched == window_->windowHandle());
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        return watched->isWidgetType() && static_cast<const QWidget*>(watched)->window() == window_;
    default:
        return false;
    }
}

bool TGamePage::shown() const {
    const auto* stack = qobject_cast<const QStackedWidget*>(page_->parentWidget());
    return stack == nullptr || stack->currentWidget() == page_;
}

void TGamePage::showChange(const TGameChange& change) {
    showPuzzleState();
    // The cyan plate follows a key at once, and the field shows the hints as soon as they are
    // switched; everything else shows from the next tick on, which the session has woken.
    const bool keyMove = change.input == TInput::Key && change.action != TAction::Open &&
                         change.action != TAction::Ask;
    if ((keyMove || change.action == TAction::Hints) && shown())
        showNow();
}

void TGamePage::showPuzzleState() {
    const TPuzzle& game = session_.puzzle();
    // The displays show only what changed: an unchanged caption draws nothing. Before the first
    // puzzle the puzzle's displays keep their "00" and the high-score button stays disabled.
    const std::pair<const char*, int> shown[] = {{"LCDLabel5", game.SetupSize()},
                                                 {"LCDLabel6", game.SetupFoxes()},
                                                 {"LCDLabel2", game.FieldSize()},
                                                 {"LCDLabel3", game.FoxCount()},
                                                 {"LCDLabel4", game.FoundCount()}};
    for (const auto& [name, value] : game.Started() ? std::span(shown) : std::span(shown, 2))
        page_->findChild<TLCDLabel*>(QLatin1String(name))
            ->setCaption(QString::fromStdString(TwoDigits(value)));
    page_->findChild<QWidget*>(QStringLiteral("mybitbutn51"))->setEnabled(game.Started());
}

void TGamePage::showNow() {
    const TPuzzle& game = session_.puzzle();
    if (game.Started() && !game.Finished())
        clock_->setCaption(QString::fromStdString(ClockText(game.Elapsed(session_.now()))));
    field_->showFrame(game, session_.showHints());
}

} // namespace tarnell
