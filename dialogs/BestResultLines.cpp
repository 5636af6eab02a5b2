#include "BestResultLines.h"

#include "dialogs/DialogParts.h"

std::optional<halloffame::FameLookup> showBestResultLines(halloffame::HallOfFame& fame,
                                                          int fieldSize, int foxCount,
                                                          TShadowLabel& timeLine,
                                                          TShadowLabel& stepsLine) {
    if (!fame.check())
        return std::nullopt;
    setLabelCaption(timeLine, halloffame::placeholderTimeLine(fieldSize, foxCount));
    setLabelCaption(stepsLine, halloffame::placeholderStepsLine(fieldSize, foxCount));
    std::optional<halloffame::FameLookup> best = fame.lookUp(fieldSize, foxCount);
    if (!best)
        return std::nullopt;
    setLabelCaption(timeLine, halloffame::timeLine(*best, fieldSize, foxCount));
    setLabelCaption(stepsLine, halloffame::stepsLine(*best, fieldSize, foxCount));
    return best;
}
