// Tells a listening screen reader what each action of the game changed: the board's reader
// follows the board, and the words of the news are said where the keyboard is.
#pragma once

#include <QObject>
#include <QString>

namespace tarnell {

class TAnnouncer;
class TBoardReader;
class TGameSession;
struct TGameChange;

class TNewsTeller : public QObject {
    Q_OBJECT
public:
    TNewsTeller(const TGameSession& session, TBoardReader& reader, TAnnouncer& announcer,
                QObject* parent);

    // Follows one change: connected to the session's announcement of it.
    void tell(const TGameChange& change);
    // The last message said, in full (the repeat key says it again).
    QString lastMessage() const { return last_; }

private:
    const TGameSession& session_;
    TBoardReader& reader_;
    TAnnouncer& announcer_;
    QString last_;
};

} // namespace tarnell
