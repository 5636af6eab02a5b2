// Placeholder: the puzzle core is being written.
#include "Puzzle.h"
namespace tarnell {
int MaxFoxes(int size) { return (size * size + 5) / 10; }
TPuzzle::TPuzzle(RandomSource& random, const TimeOfDaySource& clock) : Random_(random), Clock_(clock) {}
} // namespace tarnell
