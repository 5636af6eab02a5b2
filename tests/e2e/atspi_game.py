#!/usr/bin/python3
"""A whole game played with the keyboard alone while a screen reader's client library reads it.

Runs inside a private D-Bus session (dbus-run-session, see a11y-test.sh): starts a private X
server (Xvfb), the AT-SPI bus (at-spi-bus-launcher) and the program with Qt's accessibility
switched on, then plays with xdotool keys only: sets the size and the foxes, starts a puzzle,
walks the board cell by cell and opens every cell not proven fox-free until the last fox is
found, types a name in the puzzle-solved dialog and confirms it, opens and closes the
high-score dialog, and quits with Ctrl+F3. Through pyatspi it reads the board (a list of cells
that also answers as a table), checks every focus and name event against the cell it expects,
and checks the names against the screen (the plate colours), the foxes-revealed display and
the foxes found. At the end the hall
of fame and the settings must be stored.

Exit status: 0 passed, 1 failed, 77 skipped (a tool or package is missing).
"""

import argparse
import os
import re
import signal
import struct
import sys
import time

from a11y_session import SKIP, Failure, Reader, Session, check, missing_tools
SIZE, FOXES = 7, 4  # the set-up the keys choose: one size down, one fox down from 8 and 5
PLAYER = "Keyboard Player"


def cell_prefix(row, col):
    return f"Row {row}, column {col}:"


def board_names(board):
    table = board.queryTable()
    return {(r + 1, c + 1): table.getAccessibleAt(r, c).name
            for r in range(table.nRows) for c in range(table.nColumns)}


def colour_name(red, green, blue):
    # The same classes as tests/support/PlateColours.h: a light cyan, a deep green and a
    # light amber.
    if green > 180 and blue > 180 and red < 160:
        return "cyan"
    if green >= red + 24 and green >= blue + 24:
        return "green"
    if red > 200 and 150 < green < 235 and blue < 110 and red > green:
        return "amber"
    return f"rgb({red}, {green}, {blue})"


# Points of a plate, from its cell origin, that its own flag and fox leave free; a flag of a
# neighbour may still cover one of them.
PLATE_POINTS = [(8, 11), (32, 9), (19, 17)]


def plate_colours(shot, board, row, col):
    """The plate colours seen at a cell's free points on the screen."""
    width, _, pixels = shot
    cell = board.queryTable().getAccessibleAt(row - 1, col - 1)
    extents = cell.queryComponent().getExtents(0)  # screen coordinates
    colours = set()
    for dx, dy in PLATE_POINTS:
        at = 3 * ((extents.y + dy) * width + extents.x + dx)
        colours.add(colour_name(pixels[at], pixels[at + 1], pixels[at + 2]))
    return colours


def screen_disagreements(session, board, current):
    """The cells whose plate on the screen does not match their name: cyan for the current
    cell, otherwise green while covered and amber once opened, found or proven fox-free."""
    shot = session.screenshot()
    plates = {"cyan", "green", "amber"}
    wrong = []
    for (row, col), name in board_names(board).items():
        colours = plate_colours(shot, board, row, col)
        if (row, col) == current:
            want = "cyan"
        elif name.endswith(": covered"):
            want = "green"
        else:
            want = "amber"
        if want not in colours or (colours & plates) - {want}:
            wrong.append(f"{name}: the plate shows {sorted(colours)}, not {want}")
    return wrong


def check_against_screen(session, board, current, timeout=3.0):
    """Every cell's name agrees with its plate. The names change with the move, the plates at
    the field's next tick (every 100 ms), so the screen is given a few ticks to catch up."""
    deadline = time.monotonic() + timeout
    while True:
        wrong = screen_disagreements(session, board, current)
        if not wrong:
            return
        if time.monotonic() > deadline:
            raise Failure("; ".join(wrong))
        time.sleep(0.1)


def sightings(foxes, row, col):
    return sum(1 for (r, c) in foxes
               if r == row or c == col or r - c == row - col or r + c == row + col)


def display(reader, app, name):
    """What an LCD display shows, as two digits: its name is what it counts and the number."""
    pattern = re.compile(re.escape(name) + r" (\d+)$")
    lcd = reader.pyatspi.findDescendant(
        app, lambda node: node is not None and node.getRoleName() == "label"
        and pattern.match(node.name) is not None)
    check(lcd is not None, f"no display named {name}")
    return f"{int(pattern.match(lcd.name).group(1)):02d}"


def read_hall_of_fame(path):
    with open(path, "rb") as file:
        data = file.read()
    check(len(data) % 72 == 0, "the hall of fame is not made of 72-byte records")
    records = []
    for at in range(0, len(data), 72):
        size, foxes, elapsed, steps, time_flag, steps_flag = struct.unpack_from("<iidi??", data, at)
        name = data[at + 22:at + 72].split(b"\0")[0].decode("latin-1").strip()
        records.append((size, foxes, steps, time_flag, steps_flag, name, elapsed))
    return records


def play(session, reader):
    session.start_program()
    check(reader.wait_for("the main window", lambda: session.window("Tarnell"), 20),
          "no main window")
    app = reader.wait_for("the program on the AT-SPI bus", reader.application, 20)
    # A list of cells in rows, which also answers as a table.
    board = reader.wait_for("the board", lambda: reader.find(app, "list", name="Board"), 10)
    table = board.queryTable()
    check((table.nRows, table.nColumns) == (8, 8), f"board of {table.nRows} x {table.nColumns}")
    check(board.childCount == 64, f"{board.childCount} cells")
    check(all(name == f"{cell_prefix(*place)} covered" for place, name in board_names(board).items()),
          "the empty board is not all covered")

    # Set up with the keys: the focus starts on the board; Tab reaches the set-up buttons in
    # their order (Generate, Show hints, Donate, size down, size up, foxes down, foxes up).
    session.key("Tab", "Tab", "Tab", "Tab", "space", "Tab", "Tab", "space")
    reader.wait_for("the set-up", lambda: display(reader, app, "Set-up field size") == "07"
                    and display(reader, app, "Set-up foxes") == "04")
    session.key("ctrl+F1", "ctrl+n")
    reader.wait_for("the new puzzle", lambda: display(reader, app, "Field size") == "07")
    check(display(reader, app, "Foxes") == "04", "the new puzzle's fox count")
    check((table.nRows, table.nColumns) == (SIZE, SIZE), "the board follows the new size")
    check(board.childCount == SIZE * SIZE, "the cells follow the new size")

    # Walk the board in rows, back and forth; the first arrow makes the top cell current.
    reader.events.clear()
    session.key("Down")
    reader.focus_event(cell_prefix(1, 1))
    path = [(r, c if r % 2 else SIZE + 1 - c) for r in range(1, SIZE + 1) for c in range(1, SIZE + 1)]
    found, steps, at = 0, 0, (1, 1)
    for place in path:
        if place != at:
            key = "Down" if place[0] > at[0] else ("Right" if place[1] > at[1] else "Left")
            session.key(key)
            role, _ = reader.focus_event(cell_prefix(*place))
            check(role == "list item", f"the focus went to a {role}")
            at = place
        name = table.getAccessibleAt(place[0] - 1, place[1] - 1).name
        if not name.endswith(": covered"):
            continue  # opened already, or proven fox-free while hints are shown
        session.key("space")
        news = reader.name_event(cell_prefix(*place))
        steps += 1
        check(news.endswith("fox found") or " in sight" in news, f"after opening: {news}")
        if news.endswith("fox found"):
            found += 1
            if found == FOXES:
                break
        reader.wait_for("the foxes-revealed display",
                        lambda: display(reader, app, "Foxes revealed") == f"{found:02d}")
        if steps == 6:
            check_against_screen(session, board, at)
    check(found == FOXES, f"{found} foxes found after walking the whole board")

    # The puzzle-solved dialog takes the keyboard, with the name box when a best was beaten
    # (the hall of fame is empty: any time under SIZE x FOXES seconds beats it).
    check(reader.wait_for("the puzzle-solved dialog", lambda: session.window("Congradulations!")),
          "no puzzle-solved dialog")
    role, _ = reader.wait_for(
        "the name box's focus",
        lambda: next(((r, n) for (k, r, n) in reader.events
                      if k.startswith("object:state-changed:focused") and r == "text"), None))
    check(role == "text", "the name box has the focus")
    session.type(PLAYER)
    session.key("Tab", "space")
    reader.wait_for("the dialog to close", lambda: session.window("Congradulations!") is None)
    records = read_hall_of_fame(os.path.join(session.work, "h_fame.dat"))
    check(records, "nothing stored in the hall of fame")
    for size, foxes, stored_steps, time_flag, steps_flag, name, elapsed in records:
        check((size, foxes, name) == (SIZE, FOXES, PLAYER), f"stored {size}, {foxes}, {name!r}")
        check(time_flag != steps_flag, "one kind per record")
        if steps_flag:
            check(stored_steps == steps, f"{stored_steps} steps stored, {steps} taken")

    # The keyboard is back on the board: the reader hears the current cell again.
    reader.focus_event(cell_prefix(*at))
    names = board_names(board)
    foxes = [place for place, name in names.items() if name.endswith("fox found")]
    check(len(foxes) == FOXES, "the foxes found on the board")
    for place, name in names.items():
        if " in sight" in name:
            seen = sightings(foxes, *place)
            want = f"{cell_prefix(*place)} opened, {seen} {'fox' if seen == 1 else 'foxes'} in sight"
            check(name == want, f"{name!r} where the foxes say {want!r}")
    check(display(reader, app, "Foxes revealed") == f"{FOXES:02d}", "foxes revealed at the end")
    check_against_screen(session, board, at)

    # The high-score dialog, from the keyboard: Tab to "Score", press it, close it with Space.
    session.key("Tab", "Tab", "space")
    check(reader.wait_for("the high-score dialog", lambda: session.window("Highscore")), "no dialog")
    reader.wait_for("the stored name in the high-score dialog",
                    lambda: reader.find(app, "label", contains=PLAYER))
    session.key("space")
    reader.wait_for("the high-score dialog to close", lambda: session.window("Highscore") is None)

    session.quit()
    with open(os.path.join(session.home, ".config", "Morvane", "Tarnell.conf")) as settings:
        text = settings.read()
    check(f"Fin={SIZE}" in text and f"Lim={FOXES}" in text, f"settings stored: {text!r}")
    return steps


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the tarnell executable")
    args = parser.parse_args()
    missing = missing_tools()
    if missing:
        print("skipped, missing: " + ", ".join(missing))
        return SKIP
    session = Session(os.path.abspath(args.program))
    # Stopped from outside (the time limit), it still stops what it started.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("FAILED: stopped from outside"))
    try:
        session.start_server()
        session.start_accessibility_bus()
        reader = Reader()  # after the bus is known: the client library connects at once
        steps = play(session, reader)
    except Failure as failure:
        print(f"FAILED: {failure}")
        return 1
    finally:
        session.stop()
    print(f"passed: a {SIZE} x {SIZE} puzzle with {FOXES} foxes solved in {steps} steps and"
          " stored, with the keyboard alone, read through AT-SPI")
    return 0


if __name__ == "__main__":
    sys.exit(main())
