#!/usr/bin/python3
"""A small game played with the keyboard alone while the real screen reader, Orca, speaks it.

Runs inside a private D-Bus session (dbus-run-session, see a11y-test.sh): starts a private X
server, a window manager, the AT-SPI bus, speech-dispatcher with its dummy output and Orca with
its default settings, then the program. Plays a 5 x 5 puzzle with 2 foxes by keys only and reads
what Orca says from the SPEECH OUTPUT lines of its debug file: the set-up values as the arrows
change them, the "Show hints" check box and its state, the first game started by Space on the
board (its news heard whole with what the move opened and where, and no plate before it or
after it), each arrow's cell alone, the news of each opened plate at once and without the place
just said, each fox found with the count, the numbers key, the current plate in full and the
last message again, the solved puzzle before its dialog, the dialogs' questions and results,
the name box, the high-score lines, the about page and the way back to the board; no message
with a role word before it. Every check that fails is reported with what Orca said; all of them
are tried before the test ends.

Exit status: 0 passed, 1 failed, 77 skipped (a tool or package is missing).
"""

import argparse
import re
import sys
import time

from a11y_session import SKIP, Failure, check, hear_through_orca

SIZE, FOXES = 5, 2  # three sizes down from 8 (the foxes follow to 3), then one fox down
PLAYER = "Ear Player"
NUMBERS_KEY = "i"
CELL = re.compile(r"Row (\d+), column (\d+): ")
PLACE = re.compile(r"Row \d+, column \d+")  # a plate named, with its state or without
NEWS = re.compile(r"(\d+) seen\.|Fox found, (\d+) of (\d+)\.")  # what an opened plate says
SOLVED = "You have solved the puzzle!"  # what the puzzle-solved dialog says first


class Ear:
    """What Orca says after each key, with the checks a listening player makes."""

    def __init__(self, session, reader):
        self.session = session
        self.reader = reader
        self.log = session.speech_log
        self.problems = []
        self.transcript = []  # (keys, what Orca said after them)

    def press(self, *keys, until=None, what="", timeout=8.0):
        """Presses keys and returns what Orca said after them: everything said until `until`
        holds for the lines (or, with no condition, until speech settles)."""
        self.log.mark()
        self.session.key(*keys)
        return self.listen(" ".join(keys), until, what, timeout)

    def listen(self, label, until=None, what="", timeout=8.0):
        said = []
        try:
            if until is not None:
                said = self.reader.wait_for(
                    what or label, lambda: (lambda s: s if until(s) else None)(self.log.since_mark()),
                    timeout)
            else:
                said = self.settle()
        except Failure:
            said = self.log.since_mark()
            self.problem(f"after {label}: expected {what}", said)
        # Give late lines of the same answer a moment, bounded, so that the next key's
        # mark does not take them for its own.
        said = self.settle(minimum=said)
        self.transcript.append((label, said))
        return said

    def settle(self, minimum=(), quiet=0.6, limit=4.0):
        """The lines since the mark once no new line came for `quiet` seconds."""
        last, count = time.monotonic(), len(minimum)
        deadline = time.monotonic() + limit
        said = list(minimum)
        while time.monotonic() < deadline:
            self.reader.pump(0.1)
            said = self.log.since_mark()
            if len(said) != count:
                last, count = time.monotonic(), len(said)
            elif time.monotonic() - last >= quiet:
                break
        return said

    def problem(self, message, said):
        self.problems.append(f"{message}; Orca said {said!r}")

    def expect(self, condition, message, said):
        if not condition:
            self.problem(message, said)


def said_text(said):
    return " | ".join(said)


def play(session, reader, ear):
    session.start_program()
    check(reader.wait_for("the main window", lambda: session.window("Tarnell"), 30),
          "no main window")
    app = reader.wait_for("the program on the AT-SPI bus", reader.application, 20)
    board = reader.wait_for("the board", lambda: reader.find(app, "list", name="Board")
                            or reader.find(app, "table", name="Board"), 10)
    ear.listen("start", until=lambda s: any("Tarnell" in line for line in s),
               what="the window's title", timeout=15)

    # The set-up: Tab to "Decrease the size of field" (board, Start new game, Show hints,
    # Donate, size down), three presses, then foxes down.
    said = ear.press("Tab", "Tab", until=lambda s: any("Show hints" in line for line in s),
                     what="the Show hints check box")
    ear.expect(any("check box" in line for line in said) and
               any(re.search(r"\bchecked\b", line) and "not checked" not in line for line in said),
               "'Show hints' is read as a checked check box", said)
    said = ear.press("space", until=lambda s: any("not checked" in line for line in s),
                     what="'not checked'")
    said = ear.press("space", until=lambda s: any(re.search(r"(?<!not )checked", line)
                                                  for line in s), what="'checked'")
    said = ear.press("Tab", "Tab", until=lambda s: any("Decrease the size of field" in line
                                                       for line in s), what="the size button")
    for size in (7, 6, 5):
        said = ear.press("space", until=lambda s, n=size: any(f"Next game: {n} by {n}," in line
                                                              for line in s),
                         what=f"the new set-up size {size}")
    said = ear.press("Tab", "Tab", until=lambda s: any("Decrease the number of foxes" in line
                                                       for line in s), what="the foxes button")
    ear.expect(not any(line.count("Decrease the number of foxes") > 1 for line in said) and
               sum("Decrease the number of foxes" in line for line in said) == 1,
               "the foxes button's name is said once", said)
    said = ear.press("space", until=lambda s: any(f"Next game: {FOXES} foxes." in line
                                                  for line in s), what=f"{FOXES} set-up foxes")

    # The keys are back on the board; the first arrow starts at the top cell.
    said = ear.press("ctrl+F1", "Down",
                     until=lambda s: any("Row 1, column 1:" in line for line in s),
                     what="the top cell")
    check_one_cell(ear, said, (1, 1), "the first arrow")

    # The first game, started by Space on the board: its news is heard whole, with what the
    # first move opened and where, no plate is said before it, and nothing cuts it short.
    news = f"New game: {SIZE} by {SIZE}, {FOXES} foxes."
    said = ear.press("space", until=lambda s: any(news in line for line in s),
                     what="the first game's news")
    told = [i for i, line in enumerate(said) if news in line]
    first = said[told[-1]] if told else ""
    ear.expect(re.search(r"\. (\d+ seen|Fox found, 1 of \d+)\. Row 1, column 1\.$", first),
               "the first game's news says what the first move opened and where", said)
    ear.expect(told and not any(PLACE.search(line) for line in said[:told[-1]]),
               "no plate is said before the first game's news", said)
    ear.expect(told and not ear.log.interrupted_after(told[-1]),
               "nothing cuts the first game's news short", said)
    ear.expect(not any(PLACE.search(line) for line in (said[told[-1] + 1:] if told else [])),
               "the opened plate is not said again after the news", said)
    steps = 1
    found = 1 if "Fox found" in first else 0

    # The numbers on demand, while the board has the focus.
    said = ear.press(NUMBERS_KEY, until=lambda s: any("Time elapsed" in line for line in s),
                     what="the numbers")
    text = said_text(said)
    ear.expect(re.search(r"Time elapsed \d\d:\d\d,\d", text) and "1 step" in text and
               f"{found} of {FOXES} foxes found" in text and f"{SIZE} by {SIZE}" in text,
               "the numbers key says the time, the steps, the foxes found and the board", said)
    # The current plate in full, and the last message again, each on its key.
    whole = re.compile(r"Row 1, column 1: (opened, \d+ fox(es)? in sight|fox found)\.")
    said = ear.press("c", until=lambda s: any(whole.search(line) for line in s),
                     what="the current plate in full")
    said = ear.press("r", until=lambda s: any(whole.search(line) for line in s),
                     what="the last message again")

    # Walk the board in rows, back and forth; open every plate still covered.
    names = board_names(reader, board)
    path = [(r, c if r % 2 else SIZE + 1 - c) for r in range(1, SIZE + 1) for c in range(1, SIZE + 1)]
    at = (1, 1)
    for place in path:
        if place != at:
            key = "Down" if place[0] > at[0] else ("Right" if place[1] > at[1] else "Left")
            prefix = f"Row {place[0]}, column {place[1]}:"
            said = ear.press(key, until=lambda s, p=prefix: any(p in line for line in s),
                             what=f"the cell {place}")
            check_one_cell(ear, said, place, key)
            at = place
        names = board_names(reader, board)
        if not names[place].endswith(": covered"):
            continue
        said = ear.press("space", until=lambda s: any(NEWS.search(line) or SOLVED in line
                                                      for line in s),
                         what=f"the news of the plate {place}")
        steps += 1
        words = [line for line in said if line.strip() != "space"]  # past the key's echo
        if any(SOLVED in line for line in said):
            # The last fox: the puzzle-solved dialog says it first, and nothing says it twice.
            found += 1
            ear.expect(words and SOLVED in words[0] and not any(NEWS.search(line) for line in said),
                       "the solved puzzle is said first, by its dialog, and once", said)
            break
        ear.expect(words and NEWS.match(words[0]), f"the news of {place} comes first", said)
        ear.expect(not any(PLACE.search(line) for line in said),
                   f"the place {place} just said is not said again", said)
        if any("Fox found" in line for line in said):
            found += 1
            ear.expect(any(f"Fox found, {found} of {FOXES}." in line for line in said),
                       f"finding fox {found} says 'Fox found, {found} of {FOXES}.'", said)
    check(found == FOXES, f"{found} foxes found after walking the whole board")

    # The solved dialog: its result, then the name box by its label.
    said = ear.listen("the solved dialog", until=lambda s: any("Enter your name" in line
                                                               for line in s),
                      what="the name box's label", timeout=10)
    text = said_text(ear.transcript[-2][1]) + " | " + said_text(said)
    ear.expect(f"{steps} steps" in text and re.search(r"\d\d:\d\d,\d", text) and
               str(SIZE) in text, "the solved dialog reads its size, foxes, time and steps", said)
    session.type(PLAYER)
    said = ear.press("Tab", "space", until=lambda s: any(CELL.search(line) for line in s),
                     what="the board again")
    ear.expect(not any("layered pane" in line for line in said),
               "the page stack is not announced on the way back", said)

    # The high-score dialog: its lines with their numbers.
    said = ear.press("Tab", "Tab", "space", until=lambda s: any(PLAYER in line for line in s),
                     what="the high-score lines")
    ear.expect(any(re.search(rf"{steps}\b", line) for line in said),
               "the high-score lines carry their numbers", said)
    said = ear.press("space", until=lambda s: len(s) > 0, what="the main window again")

    # A new game while this one... is solved: starts at once, and Ctrl+N says so. Play one
    # move, then ask for another: the confirmation's question.
    ear.press("ctrl+F1")
    said = ear.press("ctrl+n", until=lambda s: any(news in line for line in s),
                     what="the second game")
    said = ear.press("space", until=lambda s: any(NEWS.search(line) for line in s),
                     what="the first move of the second game")
    said = ear.press("ctrl+n", until=lambda s: any(
        "This game hasn't finished yet. Generate the new puzzle?" in line for line in s),
        what="the confirmation's question")
    said = ear.press("Tab", "space", until=lambda s: len(s) > 0, what="No")

    # The about page is read; Ctrl+F1 brings the keys back to the board.
    said = ear.press("ctrl+F2", until=lambda s: any("Morvane" in line for line in s),
                     what="the about page")
    ear.expect(sum(line.count("If you like this software") for line in said) == 1,
               "the about page says each of its lines once", said)
    said = ear.press("ctrl+F1", until=lambda s: any(CELL.search(line) or "Board" in line
                                                    for line in s), what="the board")

    # The clock ran for many seconds: its display was heard of at most once a second, and
    # never by its description. Orca's own clock stamps when each event reached it, and a busy
    # machine may hand Orca two of them close together: the changes are counted over the time
    # they span (one a second, give or take one), not timed one by one.
    ticks = session.speech_log.events("accessible-name for [label | Time elapsed")
    gaps = [later - earlier for earlier, later in zip(ticks, ticks[1:]) if later >= earlier]
    span = sum(gaps)
    ear.expect(len(ticks) >= 3 and len(gaps) <= span + 1,
               f"the time display tells its changes at most once a second ({len(ticks)} changes"
               f" in {span:.1f} s, the closest {min(gaps, default=0):.2f} s apart)", [])
    ear.expect(not session.speech_log.events("accessible-description for [label"),
               "no display sends description changes", [])

    every = [line for _, lines in ear.transcript for line in lines]
    ear.expect(not any(re.match(r"(notification|alert)\b", line.lower()) for line in every),
               "no message is said with a role word before it",
               [line for line in every if "notification" in line.lower()])
    ear.expect(not any("layered pane" in line for line in every),
               "the page stack is never announced", [l for l in every if "layered pane" in l])

    session.quit()


def check_one_cell(ear, said, place, key):
    """An arrow says its cell alone: no other cell of the row."""
    others = {(int(r), int(c)) for line in said for r, c in CELL.findall(line)} - {place}
    ear.expect(not others, f"{key} reads the cell {place} alone", said)


def board_names(reader, board):
    reader.pump(0.05)
    names = {}
    for index in range(board.childCount):
        name = board.getChildAtIndex(index).name
        found = CELL.match(name)
        if found:
            names[(int(found.group(1)), int(found.group(2)))] = name
    return names


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the tarnell executable")
    parser.add_argument("--transcript", help="also write every key and what Orca said there")
    args = parser.parse_args()
    ran = hear_through_orca(args.program, args.transcript, Ear, play)
    if ran is None:
        return SKIP
    ear, _ = ran
    if ear is None or ear.problems:
        for problem in (ear.problems if ear else []):
            print(f"FAILED: {problem}")
        return 1
    print(f"passed: a {SIZE} x {SIZE} puzzle with {FOXES} foxes played by keys and heard through Orca")
    return 0


if __name__ == "__main__":
    sys.exit(main())
