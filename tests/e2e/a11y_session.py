#!/usr/bin/python3
"""What the accessibility end-to-end tests share: a private X server, the AT-SPI bus, the program
started with Qt's accessibility on, a window manager and a real screen reader where a test asks
for them, the keyboard and the screen, and a pyatspi client that reads the program's tree.

Runs inside a private D-Bus session (dbus-run-session); every process it starts is ended by
Session.stop.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

SKIP = 77


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Skipped(Exception):
    """The test cannot run here for a reason that is no fault of the program."""


def wait_until(what, found, timeout, interval):
    """found()'s first true value, asked every interval seconds for at most timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        result = found()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(interval)


def other_orcas():
    """The Orca processes of this user that this test did not start."""
    found = subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"], capture_output=True,
                           text=True, timeout=10)
    return [int(pid) for pid in found.stdout.split()]


def missing_tools(extra=()):
    """The tools and packages a test needs that this machine lacks; extra names more tools."""
    tools = ["Xvfb", "xdotool", "import", "dbus-send", "/usr/libexec/at-spi-bus-launcher", *extra]
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
        # Processes started in a session of their own, ended with all their children.
        self.groups = set()
        self.display = None
        self.app = None
        self.speech_log = None

    def spawn(self, command, group=False, **options):
        """Starts a helper that stop() ends; a group helper is ended with its children."""
        options.setdefault("stdout", subprocess.DEVNULL)
        options.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(command, start_new_session=group, **options)
        self.processes.append(process)
        if group:
            self.groups.add(process.pid)
        return process

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
        # The launcher's own bus daemon and registry daemon go with its group.
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], group=True,
                   env=dict(os.environ, HOME=self.home))
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

    def start_window_manager(self):
        """A small window manager, as on a player's desktop: it gives the windows the focus and
        the activation a screen reader follows."""
        self.spawn(["openbox", "--sm-disable"], group=True, env=dict(os.environ, HOME=self.home))

        def managed():
            reply = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                   capture_output=True, text=True, timeout=5)
            return "window id" in reply.stdout
        self.wait_until("the window manager", managed, 15)

    def start_screen_reader(self):
        """speech-dispatcher speaking through its dummy output (nothing is heard) and Orca with
        its default settings, writing what it says into its debug file (speech_log)."""
        speechd = os.path.join(self.scratch, "speechd")
        os.makedirs(os.path.join(speechd, "modules"))
        with open(os.path.join(speechd, "speechd.conf"), "w") as conf:
            conf.write('LogLevel 1\nLogDir "%s"\nAddModule "dummy" "sd_dummy" ""\n'
                       'DefaultModule dummy\nAudioOutputMethod "alsa"\n' % speechd)
        # The sound goes to ALSA's null device: a test machine has no sound card.
        with open(os.path.join(self.home, ".asoundrc"), "w") as alsa:
            alsa.write("pcm.!default {\n    type null\n}\n")
        env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_DATA_HOME=os.path.join(self.home, ".local", "share"))
        self.spawn(["speech-dispatcher", "--run-single", "--timeout", "0", "--config-dir", speechd,
                    "--communication-method", "unix_socket"], group=True, env=env)
        socket = os.path.join(self.runtime, "speech-dispatcher", "speechd.sock")
        self.wait_until("speech-dispatcher's socket", lambda: os.path.exists(socket), 15)

        # No user settings: Orca starts with its defaults, as for a new player.
        os.makedirs(os.path.join(self.home, ".local", "share", "orca"), exist_ok=True)
        self.speech_log = SpeechLog(os.path.join(self.scratch, "orca-debug.out"))
        errors = os.path.join(self.scratch, "orca-errors.out")
        # Orca runs once per user: it refuses to start beside another, and its --replace would
        # kill the other one, which may be the screen reader of the person at this machine.
        # So the test waits for another test's Orca to end, and leaves a player's alone.
        deadline = time.monotonic() + 90
        while True:
            others = other_orcas()
            if others and time.monotonic() > deadline:
                raise Skipped(f"another Orca of this user runs (process {others[0]}); the test"
                              " does not stop a screen reader in use")
            if others:
                time.sleep(1)
                continue
            with open(errors, "w") as error_file:
                # No braille display is attached; looking for one would hold Orca up.
                orca = self.spawn(["orca", "--disable", "braille", "--debug-file",
                                   self.speech_log.path], group=True, env=env,
                                  stdout=error_file, stderr=error_file)
            try:
                self.wait_until("Orca to start", lambda: orca.poll() is not None or
                                self.speech_log.contains("ORCA: Starting ATSPI registry."), 90)
            except Failure:
                pass
            if orca.poll() is None and self.speech_log.contains("ORCA: Starting ATSPI registry."):
                return
            if orca.poll() is not None and other_orcas():
                continue  # another one started at the same moment: wait for it
            with open(errors, errors="replace") as error_file:
                said = error_file.read()[-2000:]
            raise Failure("Orca did not start; its last words: "
                          + (said or self.speech_log.tail()))

    def wait_until(self, what, found, timeout):
        return wait_until(what, found, timeout, interval=0.05)

    def start_program(self, accessibility_always_on=True):
        env = dict(os.environ)
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "QT_QPA_PLATFORM": "xcb",
        })
        if accessibility_always_on:
            env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env.pop("WAYLAND_DISPLAY", None)
        self.app = self.spawn([self.program], cwd=self.work, env=env)

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is not None:
                continue
            try:
                if process.pid in self.groups:
                    os.killpg(process.pid, signal.SIGTERM)
                else:
                    process.terminate()
                process.wait(timeout=5)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                process.kill()
                process.wait(timeout=5)
        for group in self.groups:
            # Children that outlived their leader (a speech module, a registry daemon).
            try:
                os.killpg(group, signal.SIGKILL)
            except ProcessLookupError:
                pass
        if self.speech_log:
            self.speech_log.close()
        if os.environ.get("TARNELL_KEEP_SCRATCH"):
            print(f"kept: {self.scratch}")
        else:
            shutil.rmtree(self.scratch, ignore_errors=True)

    # --- the keyboard and the screen ---
    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "40", *keys], check=True, timeout=20)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "40", text], check=True, timeout=20)

    def quit(self):
        """Ctrl+F3, and the program must end by itself with status 0."""
        self.key("ctrl+F3")
        try:
            code = self.app.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise Failure("Ctrl+F3 did not end the program")
        check(code == 0, f"the program ended with {code}")

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


class SpeechLog:
    """What Orca says, taken from its debug output as it is written: the text of its SPEECH
    OUTPUT lines, in order. Orca writes its debug file through a buffer that it flushes only
    when full, so the file is a terminal here: a terminal is written line by line."""

    MARK = "SPEECH OUTPUT: '"
    INTERRUPTED = "Interrupting presentation"
    VOICE = re.compile(r"'\s*(\{.*\})?\s*$")
    STAMP = re.compile(r"(\d\d):(\d\d):(\d\d\.\d+) - ")

    def __init__(self, raw_path):
        self.raw_path = raw_path  # everything Orca wrote, for a look after a failure
        self.master, slave = os.openpty()
        self.path = os.ttyname(slave)
        self._slave = slave
        self._lock = threading.Lock()
        self._said = []
        self._seen = []  # the lines of interest other than speech
        self._events = []  # (seconds since midnight, line) of the events Orca received
        self._interruptions = []  # how many lines were said when Orca cut its speech short
        self.read_up_to = 0
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        pending = b""
        with open(self.raw_path, "wb") as raw:
            while True:
                try:
                    chunk = os.read(self.master, 65536)
                except OSError:
                    break
                if not chunk:
                    break
                raw.write(chunk)
                pending += chunk
                *complete, pending = pending.split(b"\n")
                for line in complete:
                    self._take(line.decode("utf-8", errors="replace").rstrip("\r"))

    def _take(self, line):
        at = line.find(self.MARK)
        with self._lock:
            if at < 0:
                if line.find(self.INTERRUPTED) >= 0:
                    self._interruptions.append(len(self._said))
                if line.find("ORCA: ") >= 0:
                    self._seen.append(line)
                elif line.find("EVENT MANAGER: object:") >= 0:
                    stamp = self.STAMP.match(line)
                    if stamp:
                        hours, minutes, seconds = stamp.groups()
                        self._events.append(
                            (int(hours) * 3600 + int(minutes) * 60 + float(seconds), line))
                return
            # The text is followed by the voice it was said in: 'text' {'family': ...}
            text = self.VOICE.sub("", line[at + len(self.MARK):])
            self._said.append(text)

    def close(self):
        for fd in (self._slave, self.master):
            try:
                os.close(fd)
            except OSError:
                pass

    def events(self, text):
        """When Orca received the events whose log line holds text, in seconds since midnight."""
        with self._lock:
            return [when for when, line in self._events if text in line]

    def contains(self, text):
        with self._lock:
            return any(text in line for line in self._seen + self._said)

    def spoken(self):
        with self._lock:
            return list(self._said)

    def mark(self):
        """From now on, only what is said after this call counts."""
        with self._lock:
            self.read_up_to = len(self._said)

    def since_mark(self):
        with self._lock:
            return self._said[self.read_up_to:]

    def interrupted_after(self, line):
        """Whether Orca cut its speech short after the line-th line since the mark was said."""
        with self._lock:
            return any(at > self.read_up_to + line for at in self._interruptions)

    def tail(self, count=20):
        try:
            with open(self.raw_path, errors="replace") as raw:
                return "\n".join(raw.read().splitlines()[-count:])
        except FileNotFoundError:
            return ""


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
        def pumped():
            while self.context.iteration(False):
                pass
            return found()

        return wait_until(what, pumped, timeout, interval=0.02)

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


def hear_through_orca(program, transcript, make_ear, play):
    """Plays with Orca listening: starts the private X server, the window manager, the AT-SPI
    bus and Orca, makes the ear with make_ear(session, reader) and runs play(session, reader,
    ear); the session is stopped and the transcript written (where asked) whatever happens.
    Returns None when the test is skipped (a tool missing, or another Orca running), else the
    ear (None if it was never made) and what play returned (None if it failed). A failure is
    kept among the ear's problems, or printed when there is no ear yet."""
    missing = missing_tools(["orca", "speech-dispatcher", "openbox", "xprop", "pgrep"])
    if missing:
        print("skipped, missing: " + ", ".join(missing))
        return None
    session = Session(os.path.abspath(program))
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("FAILED: stopped from outside"))
    ear = None
    outcome = None
    try:
        session.start_server()
        session.start_window_manager()
        session.start_accessibility_bus()
        session.start_screen_reader()
        reader = Reader()
        ear = make_ear(session, reader)
        outcome = play(session, reader, ear)
    except Skipped as reason:
        print(f"skipped: {reason}")
        return None
    except Failure as failure:
        if ear:
            ear.problems.append(str(failure))
        else:
            print(f"FAILED: {failure}")
    finally:
        if ear and transcript:
            with open(transcript, "w") as out:
                for keys, lines in ear.transcript:
                    out.write(f"[{keys}]\n" + "".join(f"    {line}\n" for line in lines))
        session.stop()
    return ear, outcome
