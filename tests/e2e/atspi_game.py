#!/usr/bin/python3
"""A whole game played with the keyboard alone while a screen reader's client library reads it.

Runs inside a private D-Bus session (dbus-run-session, see atspi-game.sh): starts a private X
server (Xvfb), the AT-SPI bus (at-spi-bus-launcher) and the program with Qt's accessibility
switched on, then plays with xdotool keys only: sets the size and the foxes, starts a puzzle,
walks the board cell by cell and opens every cell not proven fox-free until the last fox is
found, types a name in the puzzle-solved dialog and confirms it, opens and closes the
high-score dialog, and quits with Ctrl+F3. Through pyatspi it reads the board as a table, checks
every focus and name event against the cell it expects, and checks the names against the
screen (the plate colours), the foxes-revealed display and the foxes found. At the end the hall
of fame and the settings must be stored.

Exit status: 0 passed, 1 failed, 77 skipped (a tool or package is missing).
"""

import argparse
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

SKIP = 77
SIZE, FOXES = 7, 4  # the set-up the keys choose: one size down, one fox down from 8 and 5
PLAYER = "Keyboard Player"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def missing_tools():
    tools = ["Xvfb", "xdotool", "import", "dbus-send", "/usr/libexec/at-spi-bus-launcher"]
    missing = [tool for tool in tools if shutil.which(tool) is None]
    try:
        import gi  # noqa: F401

        gi.require_version("Atspi", "2.0")
        import pyatspi  # noqa: F401
    except (ImportError, ValueError) as error:
        missing.append(f"python3-pyatspi ({error})")
    return missing


class Session:
    """The private X server, the AT-SPI bus and the program; stops all of them on the way out."""

    def __init__(self, program):
        self.program = program
        self.scratch = tempfile.mkdtemp(prefix="tarnell-atspi-")
        self.home = os.path.join(self.scratch, "home")
        self.work = os.path.join(self.scratch, "work")
        self.runtime = os.path.join(self.scratch, "runtime")
        os.makedirs(self.home)
        os.makedirs(self.work)
        os.makedirs(self.runtime, mode=0o700)
        # The bus launcher puts its socket there, the program its runtime files.
        os.environ["XDG_RUNTIME_DIR"] = self.runtime
        self.processes = []
        self.display = None
        self.app = None

    def start_server(self):
        read_end, write_end = os.pipe()
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(server)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        check(number.strip().isdigit(), "Xvfb did not report its display")
        self.display = ":" + number.strip().decode()
        os.environ["DISPLAY"] = self.display

    def start_accessibility_bus(self):
        check("DBUS_SESSION_BUS_ADDRESS" in os.environ, "no D-Bus session (run under dbus-run-session)")
        launcher = subprocess.Popen(
            ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
            env=dict(os.environ, HOME=self.home), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        self.processes.append(launcher)
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            reply = subprocess.run(
                ["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
                 "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                capture_output=True, text=True, timeout=5)
            # The program and this client find the bus the same way, through the session bus
            # (Qt 6.4 would miss a bus handed over in AT_SPI_BUS_ADDRESS).
            if reply.returncode == 0 and reply.stdout.strip():
                return
            time.sleep(0.1)
        raise Failure("the AT-SPI bus did not come up")

    def start_program(self):
        env = dict(os.environ)
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        })
        env.pop("WAYLAND_DISPLAY", None)
        self.app = subprocess.Popen([self.program], cwd=self.work, env=env,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(self.app)

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is not None:
                continue
            try:
                if process.args[0].endswith("at-spi-bus-launcher"):
                    # The launcher's own bus daemon and registry daemon go with its group.
                    os.killpg(process.pid, signal.SIGTERM)
                else:
                    process.terminate()
                process.wait(timeout=5)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                process.kill()
                process.wait(timeout=5)
        shutil.rmtree(self.scratch, ignore_errors=True)

    # --- the keyboard and the screen ---
    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "40", *keys], check=True, timeout=20)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "40", text], check=True, timeout=20)

    def window(self, title):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                               capture_output=True, text=True, timeout=10)
        return found.stdout.split()[0] if found.stdout.split() else None

    def screenshot(self):
        """The screen as (width, height, RGB bytes)."""
        shot = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], capture_output=True,
                              check=True, timeout=20).stdout
        fields, at = [], 0
        while len(fields) < 4:  # P6, width, height, maximum
            while shot[at:at + 1].isspace():
                at += 1
            start = at
            while not shot[at:at + 1].isspace():
                at += 1
            fields.append(shot[start:at])
        check(fields[0] == b"P6" and fields[3] == b"255", "unexpected screenshot format")
        return int(fields[1]), int(fields[2]), shot[at + 1:]


class Reader:
    """The screen reader's side: the program's accessible tree and the events it sends."""

    def __init__(self):
        import gi

        gi.require_version("Atspi", "2.0")
        from gi.repository import GLib
        import pyatspi

        self.pyatspi = pyatspi
        self.context = GLib.MainContext.default()
        self.events = []
        pyatspi.Registry.registerEventListener(
            self.record, "object:state-changed:focused", "object:property-change:accessible-name")

    def record(self, event):
        if event.type.startswith("object:state-changed:focused") and event.detail1 != 1:
            return
        try:
            name, role = event.source.name, event.source.getRoleName()
        except Exception:  # the object went away before it could be asked
            return
        self.events.append((event.type, role, name))

    def pump(self, seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            while self.context.iteration(False):
                pass
            time.sleep(0.01)

    def wait_for(self, what, found, timeout=10.0):
        deadline = time.monotonic() + timeout
        while True:
            while self.context.iteration(False):
                pass
            result = found()
            if result:
                return result
            if time.monotonic() > deadline:
                raise Failure(f"timed out waiting for {what}")
            time.sleep(0.02)

    def application(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.name.lower() == "tarnell":
                return app
        return None

    def find(self, root, role, name=None, contains=None):
        def wanted(node):
            if node is None or node.getRoleName() != role:
                return False
            if name is not None and node.name != name:
                return False
            return contains is None or contains in node.name
        return self.pyatspi.findDescendant(root, wanted)

    def focus_event(self, prefix, timeout=5.0):
        """The first focus event since the last call whose object's name starts with prefix."""
        def seen():
            for index, (kind, role, name) in enumerate(self.events):
                if kind.startswith("object:state-changed:focused") and name.startswith(prefix):
                    del self.events[: index + 1]
                    return (role, name)
            return None
        return self.wait_for(f"the focus on '{prefix}'", seen, timeout)

    def name_event(self, prefix, timeout=5.0):
        def seen():
            for index, (kind, role, name) in enumerate(self.events):
                if kind.startswith("object:property-change:accessible-name") and name.startswith(prefix):
                    del self.events[: index + 1]
                    return name
            return None
        return self.wait_for(f"a new name for '{prefix}'", seen, timeout)


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
    """What an LCD display shows (its description)."""
    lcd = reader.find(app, "label", name=name)
    check(lcd is not None, f"no display named {name}")
    return lcd.description


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
    board = reader.wait_for("the board", lambda: reader.find(app, "table", name="Board"), 10)
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
            check(role == "table cell", f"the focus went to a {role}")
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

    session.key("ctrl+F3")
    try:
        code = session.app.wait(timeout=10)
    except subprocess.TimeoutExpired:
        raise Failure("Ctrl+F3 did not end the program")
    check(code == 0, f"the program ended with {code}")
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
