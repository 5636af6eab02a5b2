#!/usr/bin/python3
"""An 8 x 8 puzzle with 5 foxes solved by ear with N and Space alone, while Orca speaks it.

Runs inside a private D-Bus session (dbus-run-session, see a11y-test.sh) with the session of
orca_game.py: a private X server, a window manager, the AT-SPI bus, speech-dispatcher with its
dummy output and Orca with its default settings. The player keeps no board in mind: after each
key it decides the next one only from what Orca said (the SPEECH OUTPUT lines of its debug
file). N names the next plate that may hide a fox by its row and column alone ("3, 4.": it is
covered); Space opens
it and Orca says the news first ("2 seen.", "Fox found, 1 of 5."), without the place just
said; when Orca says the puzzle is solved, the game is over. On the way it tries every jump key,
Shift+N, L and I.

When the puzzle is solved, every fox is known, and the moves are replayed through the game's
rules, worked out here afresh: every N and Shift+N must have named the plate the rules give,
every jump the plate it goes to, every opened plate its sighting count, L exactly the plates that
may hide a fox and the foxes found on each of the four lines, I the number of plates that may
hide a fox, and the solved puzzle the steps taken. The N and Space presses must be no more than
the arrows and Spaces a sighted player needs to open the same plates in the same order: one
arrow that makes the top plate current, then one arrow for each row or column between one plate
and the next.

With --games K (K > 1) it plays K puzzles, each with N and Space alone, and prints the keys and
steps of each beside the sighted player's, with their medians; bench/speech/speech_seconds.py
then tells the seconds of speech after N and after Space.

Exit status: 0 passed, 1 failed, 77 skipped (a tool or package is missing).
"""

import argparse
import re
import statistics
import sys
import time

from a11y_session import SKIP, check, hear_through_orca
from orca_game import NEWS, SOLVED, Ear

SIZE, FOXES = 8, 5  # the set-up a new player starts with
# A plate with its state, or (as N names it) by its row and column alone: covered.
CELL = re.compile(r"Row (\d+), column (\d+)(?:: (covered, no fox|covered|opened, (\d+) fox(?:es)? "
                  r"in sight|fox found)|\.)|^(\d+), (\d+)\.$")
NO_PLATE = "No plate may hide a fox"
# The jumps as xdotool names their keys, and where each goes from (row, column).
JUMPS = {
    "Home": lambda r, c: (r, 1),
    "End": lambda r, c: (r, SIZE),
    "Next": lambda r, c: (SIZE, c),  # Page Down
    "Prior": lambda r, c: (1, c),  # Page Up
    "ctrl+End": lambda r, c: (SIZE, SIZE),
    "ctrl+Home": lambda r, c: (1, 1),
}
LINES = ("row", "column", "falling", "rising")


class QuickEar(Ear):
    """Orca's answer to a board key is one or two lines said at once: a shorter pause for late
    lines keeps a game of some fifty keys short."""

    def settle(self, minimum=(), quiet=0.35, limit=4.0):
        return super().settle(minimum, quiet, limit)


def cells_said(said):
    """The plates named in what Orca said, as (row, column, state, count)."""
    found = []
    for line in said:
        for match in CELL.finditer(line.strip()):
            count = int(match.group(4)) if match.group(4) is not None else None
            row, col = (match.group(1), match.group(2)) if match.group(1) else match.group(5, 6)
            found.append((int(row), int(col), match.group(3) or "covered", count))
    return found


def notification(said, start):
    """The text of the game's message that begins with start, as Orca said it."""
    for line in said:
        at = line.find(start)
        if at >= 0:
            return line[at:]
    return None


class Player:
    """Presses keys and writes down what Orca said, and nothing else: no board in mind."""

    def __init__(self, ear):
        self.ear = ear
        self.record = []  # (what, details), in order

    def plate_key(self, key, what):
        said = self.ear.press(key, until=lambda s: cells_said(s) or any(NO_PLATE in line
                                                                          for line in s),
                              what=what)
        plates = cells_said(said)
        plate = plates[-1] if plates else None
        self.record.append(("plate", key, plate, said))
        return plate, said

    def open(self, plate):
        said = self.ear.press("space", until=lambda s: any(NEWS.search(line) or SOLVED in line
                                                           for line in s),
                              what=f"the news of the plate {plate[:2]}")
        news = next((NEWS.search(line) for line in said if NEWS.search(line)), None)
        outcome = None
        if any(SOLVED in line for line in said):
            outcome = (plate[0], plate[1], "fox found", None)  # the last fox: the dialog says it
        elif news:
            outcome = (plate[0], plate[1], "fox found" if news.group(2) else "opened",
                       int(news.group(1)) if news.group(1) else None)
        self.ear.expect(not cells_said(said), f"Space on {plate[:2]} does not say its place again",
                        said)
        self.record.append(("open", plate[:2], outcome, said))
        return outcome, said

    def tell(self, key, start, end):
        said = self.ear.press(key, until=lambda s: (lambda text: text is not None and end in text)(
            notification(s, start)), what=f"{key}: '{start}...{end}'")
        self.record.append(("tell", key, notification(said, start), said))
        return said

    def solve(self, detour):
        """N and Space until Orca says the puzzle is solved; with detour, tries the other keys
        after the second plate opened and L after the first fox found."""
        opened = 0
        foxes = 0
        for _ in range(SIZE * SIZE + 5):
            plate, said = self.plate_key("n", "the next plate that may hide a fox")
            if plate is None or plate[2] != "covered":
                # Nothing to open: the rules were not kept; the check after the game says so.
                return False
            outcome, said = self.open(plate)
            opened += 1
            if any(SOLVED in line for line in said):
                return True
            if outcome and outcome[2] == "fox found":
                foxes += 1
                if detour and foxes == 1:
                    self.tell("l", "Row ", "Rising diagonal")
            if detour and opened == 2:
                for key in ("Home", "End", "Next", "Prior", "Prior", "ctrl+End", "ctrl+Home",
                            "End", "shift+n", "shift+n"):
                    self.plate_key(key, f"the plate {key} goes to")
                self.tell("l", "Row ", "Rising diagonal")
                self.tell("i", "Time elapsed", "Board")
        return False


class Rules:
    """The game's rules for the checks, worked out afresh from the foxes."""

    def __init__(self, foxes):
        self.foxes = set(foxes)
        self.view = {}  # (row, column): "opened" or "found"
        self.marks = set()
        self.cells = [(r, c) for r in range(1, SIZE + 1) for c in range(1, SIZE + 1)]

    @staticmethod
    def on(line, cell, other):
        (r, c), (i, j) = cell, other
        return {"row": i == r, "column": j == c, "falling": i - j == r - c,
                "rising": i + j == r + c}[line]

    def sighted(self, cell, holds):
        return sum(1 for line in LINES for other in self.cells
                   if self.on(line, cell, other) and holds(other))

    def open(self, cell):
        r, c = cell
        if cell in self.foxes:
            self.view[cell] = "found"
            self.marks |= {(i, j) for i in range(r - 1, r + 2) for j in range(c - 1, c + 2)
                           if (i, j) != cell and (i, j) in self.cells}
            seen = None
        else:
            self.view[cell] = "opened"
            seen = self.sighted(cell, lambda other: other in self.foxes)
            on_lines = {o for o in self.cells if any(self.on(line, cell, o) for line in LINES)}
            if seen == 0:
                self.marks |= on_lines
            if seen == len(self.foxes):
                self.marks |= set(self.cells) - on_lines
        for other in self.cells:
            if self.view.get(other) != "opened":
                continue
            count = self.sighted(other, lambda o: o in self.foxes)
            found = self.sighted(other, lambda o: self.view.get(o) == "found")
            if count not in (0, SIZE) and found == count:
                self.marks |= {o for o in self.cells
                               if any(self.on(line, other, o) for line in LINES)}
        return seen

    def may_hide_fox(self, cell):
        return cell not in self.view and cell not in self.marks

    def next(self, current, forward):
        order = self.cells if forward else self.cells[::-1]
        at = order.index(current) if current in order else -1
        for cell in order[at + 1:] + order[:at + 1]:
            if self.may_hide_fox(cell):
                return cell
        return None

    def lines_text(self, cell):
        def listed(items):
            return items[0] if len(items) == 1 else ", ".join(items[:-1]) + " and " + items[-1]

        r, c = cell
        parts = []
        for line, name in zip(LINES, (f"Row {r}", f"Column {c}", "Falling diagonal",
                                      "Rising diagonal")):
            on = [o for o in self.cells if self.on(line, cell, o)]
            may = [o for o in on if self.may_hide_fox(o)]
            found = sum(1 for o in on if self.view.get(o) == "found")
            if not may:
                places = "no plate may hide a fox"
            elif line == "row":
                places = ("may hide a fox at column" + ("s " if len(may) > 1 else " ")
                          + listed([str(j) for _, j in may]))
            elif line == "column":
                places = ("may hide a fox at row" + ("s " if len(may) > 1 else " ")
                          + listed([str(i) for i, _ in may]))
            else:
                places = "may hide a fox at " + listed([f"row {i}, column {j}" for i, j in may])
            foxes = ("no fox found" if found == 0 else
                     f"{found} fox found" if found == 1 else f"{found} foxes found")
            parts.append(f"{name}: {places}; {foxes}.")
        return " ".join(parts)


def check_game(record, ear, detour, current):
    """Replays the record through the rules from the current plate at its start (None: no
    plate yet); returns (keys by ear, keys by sight, steps) and the current plate at its end."""
    foxes = [entry[2][:2] for entry in record if entry[0] == "open" and entry[2]
             and entry[2][2] == "fox found"]
    check(len(foxes) == FOXES, f"{len(foxes)} foxes found, not {FOXES}")
    rules = Rules(foxes)
    opened = []
    keys_by_ear = 0
    tried = set()
    for kind, key, what, said in record:
        if kind == "plate":
            if key in ("n", "shift+n"):
                expected = rules.next(current, key == "n")
                keys_by_ear += key == "n"
            else:
                expected = JUMPS[key](*(current or (1, 1)))
            tried.add(key)
            ear.expect(what is not None and what[:2] == expected,
                       f"{key} from {current} names {expected}", said)
            if what is not None:
                state = ("fox found" if rules.view.get(what[:2]) == "found" else
                         "opened" if rules.view.get(what[:2]) == "opened" else
                         "covered" if rules.may_hide_fox(what[:2]) else "covered, no fox")
                ear.expect(what[2].startswith(state) and
                           (state != "covered" or what[2] == "covered"),
                           f"{key} says {what[:2]} is {state}", said)
                current = what[:2]
        elif kind == "open":
            check(what is not None, f"Space on {key} said nothing of the plate: {said!r}")
            seen = rules.open(key)
            keys_by_ear += 1
            opened.append(key)
            if seen is not None:
                ear.expect(what[3] == seen, f"the plate {key} says {seen} foxes in sight", said)
        elif key == "l":
            tried.add(key)
            expected = rules.lines_text(current)
            ear.expect(what is not None and what.rstrip(".") == expected.rstrip("."),
                       f"L on {current} says {expected!r}", said)
        elif key == "i":
            tried.add(key)
            count = sum(1 for cell in rules.cells if rules.may_hide_fox(cell))
            words = (f"{count} plate may hide a fox" if count == 1 else
                     f"{count} plates may hide a fox" if count else "no plate may hide a fox")
            ear.expect(what is not None and f"foxes found, {words}. Board" in what,
                       f"I says '{words}'", said)
    if detour:
        ear.expect(tried >= set(JUMPS) | {"n", "shift+n", "l", "i"},
                   f"every key was tried (only {sorted(tried)})", [])
    solved = [line for _, _, _, said in record for line in said if "It took you" in line]
    steps = len(opened)
    ear.expect(solved and re.search(rf"and {steps} steps", solved[-1]),
               f"the solved puzzle says its {steps} steps", solved)
    # The sighted player: one arrow to make the top plate current, then the rows and columns
    # between one plate and the next, and a Space for each.
    at, arrows = (1, 1), 1
    for plate in opened:
        arrows += abs(plate[0] - at[0]) + abs(plate[1] - at[1])
        at = plate
    return (keys_by_ear, arrows + steps, steps), current


def play(session, reader, ear, games):
    session.start_program()
    check(reader.wait_for("the main window", lambda: session.window("Tarnell"), 30),
          "no main window")
    reader.wait_for("the program on the AT-SPI bus", reader.application, 20)
    ear.listen("start", until=lambda s: any("Tarnell" in line for line in s),
               what="the window's title", timeout=15)
    results = []
    current = None  # no current plate before the first key; a new game keeps it
    for game in range(games):
        ear.press("ctrl+n", until=lambda s: any(f"New game: {SIZE} by {SIZE}, {FOXES} foxes" in line
                                                for line in s), what="a new game")
        player = Player(ear)
        detour = game == 0
        solved = player.solve(detour)
        check(solved, "the puzzle was not solved by N and Space: "
              + repr(player.record[-1][3] if player.record else []))
        result, current = check_game(player.record, ear, detour, current)
        results.append(result)
        # The solved dialog asks for a name; Alt+F4 closes it without one.
        ear.press("alt+F4", until=lambda s: len(s) > 0, what="the main window again")
    session.quit()
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the tarnell executable")
    parser.add_argument("--games", type=int, default=1,
                        help="puzzles to solve; with more than one, print the keys and steps")
    parser.add_argument("--transcript", help="also write every key and what Orca said there")
    args = parser.parse_args()
    started = time.monotonic()
    ran = hear_through_orca(args.program, args.transcript, QuickEar,
                            lambda session, reader, ear: play(session, reader, ear, args.games))
    if ran is None:
        return SKIP
    ear, results = ran
    results = results or []
    for number, (by_ear, by_sight, steps) in enumerate(results, 1):
        print(f"game {number}: {steps} steps; by ear {by_ear} keys (N and Space), by sight "
              f"{by_sight} keys (arrows and Space), {by_ear / by_sight:.2f} of them")
    if len(results) > 1:
        print(f"median of {len(results)} games: {statistics.median(r[2] for r in results)} steps; "
              f"by ear {statistics.median(r[0] for r in results)} keys, by sight "
              f"{statistics.median(r[1] for r in results)} keys, ratio "
              f"{statistics.median(r[0] / r[1] for r in results):.2f}")
    for by_ear, by_sight, _ in results:
        if ear and by_ear > by_sight:
            ear.problems.append(f"by ear {by_ear} keys, more than the {by_sight} by sight")
    if ear is None or ear.problems:
        for problem in (ear.problems if ear else []):
            print(f"FAILED: {problem}")
        return 1
    print(f"passed: {len(results)} puzzle(s) of {SIZE} x {SIZE} with {FOXES} foxes solved by N and "
          f"Space through Orca in {time.monotonic() - started:.0f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
