#include "BestResultLines.h"

#include "dialogs/DialogParts.h"

namespace tarnell {

std::optional<halloffame::FameLookup> showBestResultLines(halloffame::HallOfFame& fame,
                                                          int fieldSize, int foxCount,
                                                          TShadowLabel& timeLine,
                                                          TShadowLabel& stepsLine) {
    if (!tellPlayer(fame.check()))
        return std::nullopt;
    setLabelCaption(timeLine, halloffame::placeholderTimeLine(fieldSize, foxCount));
    setLabelCaption(stepsLine, halloffame::placeholderStepsLine(fieldSize, foxCount));
    const halloffame::FameOutcome<halloffame::FameLookup> best = fame.lookUp(fieldSize, foxCount);
    if (!tellPlayer(best))
        return std::nullopt;
    setLabelCaption(timeLine, halloffame::timeLine(*best, fieldSize, foxCount));
    setLabelCaption(stepsLine, halloffame::stepsLine(*best, fieldSize, foxCount));
    return *best;
}

} // namespace tarnell
