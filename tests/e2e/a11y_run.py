#!/usr/bin/python3
"""Runs a command where a program's accessibility is real: on a private X server with the AT-SPI
bus, started with Qt's xcb platform and its accessibility on, as the screen reader tests start
the game. The test programs use it for checks that need the platform's accessibility bridge.

Runs inside a private D-Bus session (see a11y-test.sh):
    a11y-test.sh a11y_run.py COMMAND [ARGUMENTS...]
Exit status: the command's own, 77 when a tool is missing, 1 when the session did not come up.
"""

import os
import signal
import subprocess
import sys

from a11y_session import SKIP, Failure, Session, missing_tools


def main():
    command = sys.argv[1:]
    if not command:
        print("usage: a11y_run.py COMMAND [ARGUMENTS...]")
        return 2
    missing = missing_tools()
    if missing:
        print("skipped, missing: " + ", ".join(missing))
        return SKIP
    session = Session(command[0])
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("FAILED: stopped from outside"))
    try:
        session.start_server()
        session.start_accessibility_bus()
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        env.pop("WAYLAND_DISPLAY", None)
        return subprocess.run(command, env=env, timeout=180).returncode
    except Failure as failure:
        print(f"FAILED: {failure}")
        return 1
    finally:
        session.stop()


if __name__ == "__main__":
    sys.exit(main())
