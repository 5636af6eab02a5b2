#include "NewsTeller.h"

#include "BoardAccessible.h"
#include "GameSession.h"
#include "SpokenNews.h"
#include "widgets/Announcer.h"

namespace tarnell {

TNewsTeller::TNewsTeller(const TGameSession& session, TBoardReader& reader, TAnnouncer& announcer,
                         QObject* parent)
    : QObject(parent), session_(session), reader_(reader), announcer_(announcer) {
    setObjectName(QStringLiteral("newsTeller"));
    connect(&session, &TGameSession::changed, this, &TNewsTeller::tell);
}

void TNewsTeller::tell(const TGameChange& change) {
    // Nothing is worked out or sent while no screen reader listens.
    if (!reader_.listening())
        return;
    std::optional<TSpoken> spoken =
        spokenNews(change, session_.puzzle(), session_.showHints(), session_.now(),
                   reader_.keyboardOnBoard(), last_);
    // A plate reached under the keyboard takes the focus and is read by its name; anything
    // else said on the board is a plate of its own that says it; elsewhere the control with the
    // keyboard says it.
    if (spoken && spoken->venue == TVenue::Board && !reader_.keyboardOnCurrentCell())
        spoken.reset();
    if (spoken)
        last_ = spoken->text;
    // The last fox opens the puzzle-solved dialog at once, which says first that the puzzle is
    // solved, with the time and the steps: a message now would be heard twice, or not at all
    // (Orca drops a focus that a newer one follows before it is read). R still says it.
    if (change.solved)
        spoken.reset();
    if (!reader_.tell(change, spoken) && spoken)
        announcer_.announce(spoken->text);
}

} // namespace tarnell
