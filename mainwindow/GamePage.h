// The game page's views of the game: the field, the displays and the high-score button, the
// keys on the board, and what a screen reader hears of the board and of the news. Each follows
// the session's one announcement of what an action changed; none compares states to find out.
// The field shows a new frame only at a tick of Timer1, so whatever of the window may need one
// wakes it.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace tarnell {

class TAnnouncer;
class TBoardKeys;
class TBoardReader;
class TFieldArea;
class TLCDLabel;
class TGameSession;
class TNewsTeller;
struct TGameChange;

class TGamePage : public QObject {
    Q_OBJECT
public:
    // page holds the controls of the game page by their names; the announcer stands in the
    // window, which is the parent.
    TGamePage(TGameSession& session, QWidget* page, QWidget* window);

    TFieldArea* field() const { return field_; }
    TAnnouncer* announcer() const { return announcer_; }
    // What a screen reader was told last.
    QString lastSpokenMessage() const;

    // The displays of the set-up, and once a puzzle has been generated its size, foxes and
    // foxes revealed, and the enabled high-score button.
    void showPuzzleState();
    // The field and the clock as they are now (a tick of Timer1).
    void showNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool wakesTimer1(const QObject* watched, const QEvent& event) const;
    void showChange(const TGameChange& change);
    bool shown() const;

    TGameSession& session_;
    QWidget* window_;
    QWidget* page_;
    TFieldArea* field_;
    TLCDLabel* clock_;
    TBoardKeys* keys_;
    TBoardReader* reader_;
    TAnnouncer* announcer_;
    TNewsTeller* news_;
};

} // namespace tarnell
