#!/usr/bin/python3
"""Drives velunor through the accessibility bus the way a screen reader does.

Runs inside a desktop session of its own (tests/on-x11: a private X server,
D-Bus session and runtime directory). Starts the AT-SPI bus with accessibility
switched on, then Orca, then the program. Tabs through the fields and presses
Enter on the keyboard and checks what Orca said; then finds each control by
the name a screen reader announces, fills the fields through EditableText,
presses buttons and menu items through their actions and reads the result box
and the message boxes back. Every process it starts is ended before it
returns; should one of them end early, the test fails at once with that
process's own message.

Usage: on-x11 screen_reader.py PATH_TO_VELUNOR
Exit status 0 on success, 1 on a failed check or a missing part of the
accessibility stack (install-deps --test installs it).
"""

import importlib.util
import json
import os
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
DEADLINE_SECONDS = 75
WAIT_SECONDS = 30

FIELDS = [
    "Urine creatinine, mg/dL",
    "Serum creatinine, mg/dL",
    "Urine volume, mL",
    "Time of collection, hrs",
    "Height",
    "Weight",
]
UNITS = ["in", "cm", "lb", "kg"]
RESULT_DESCRIPTION = "Creatinine Clearance, mL/min"

# Field texts, units pressed before Calculate, and the result box afterwards.
CALCULATIONS = [
    ("start-up values", ["55", "1.0", "1500", "24", "69", "175"], [], "50.0"),
    ("serum creatinine 2.0", ["55", "2.0", "1500", "24", "69", "175"], [], "25.0"),
    ("cm and kg", ["120", "1.2", "1800", "24", "170", "70"], ["cm", "kg"], "117.9"),
    ("in and lb again", ["120", "1.2", "1800", "24", "170", "70"], ["in", "lb"], "109.8"),
]

WARNING = "Make sure all data fields contain a number!"
# Each Help menu item and its message, line by line, as the window suite reads them too.
MENU_MESSAGES = list(json.loads(
    (Path(__file__).resolve().parent.parent / "support" / "help_messages.json").read_text()).items())

# Orca as a user starts it, through its own launcher and the options it has
# kept from release to release (--debug-file, --user-prefs): the debug file's
# SPEECH OUTPUT lines are what it says. But for two things: the launcher
# refuses to start, and on leaving ends every other, while any process of this
# user is named orca (a test beside this one, the user's own screen reader), so
# it is loaded as a module and told of none; and Python writes a file in blocks
# unless it is a terminal, where each line must be read as soon as it is said,
# so the debug file is a pseudo-terminal that this test copies out line by line.
ORCA_LAUNCHER = "/usr/bin/orca"
ORCA = """
import importlib.machinery, importlib.util, sys
loader = importlib.machinery.SourceFileLoader("orca_launcher", sys.argv[1])
launcher = importlib.util.module_from_spec(importlib.util.spec_from_loader(loader.name, loader))
loader.exec_module(launcher)
launcher.otherOrcas = lambda: []
sys.argv = ["orca"] + sys.argv[2:]
sys.exit(launcher.main())
"""
# An utterance, its further lines indented, then the voice it is said in.
SPOKEN = re.compile(r"^[0-9:.]+ - SPEECH OUTPUT: '((?:.|\n {18})*?)'(?: voice=\S+)? ?"
                    r"\{(?:[^{}\n]|\{[^{}\n]*\})*\}$", re.MULTILINE)
TAB, BACK_TAB, ENTER, BACKSPACE = 0xFF09, 0xFE20, 0xFF0D, 0xFF08  # X keysyms


class CheckFailed(Exception):
    pass


class Deadline(Exception):
    pass


class Session:
    def __init__(self, app_path):
        self.app_path = app_path
        self.processes = {}
        self.failures = []

    def start(self, what, argv, env=None):
        process = subprocess.Popen(argv, env=env, start_new_session=True)
        self.processes[process] = what
        return process

    def wait_for(self, what, probe):
        """Polls probe until it returns something true; the accessibility bus is asynchronous.

        Fails at once when a process the answer depends on has ended: its own
        message is already on stderr, and no answer can come."""
        end = time.monotonic() + WAIT_SECONDS
        last = None
        while time.monotonic() < end:
            for process, name in self.processes.items():
                if process.poll() is not None:
                    raise CheckFailed(f"{name} ended with status {process.returncode} "
                                      f"while waiting for {what}")
            try:
                last = probe()
            except Exception as error:  # the tree changes under us while a window opens or closes
                last = error
            if last and not isinstance(last, Exception):
                return last
            time.sleep(0.05)
        raise CheckFailed(f"timed out waiting for {what} (last seen: {last!r})")

    def stop(self, process):
        del self.processes[process]
        try:
            os.killpg(process.pid, signal.SIGTERM)
        except ProcessLookupError:
            return
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()

    def stop_all(self):
        for process in reversed(list(self.processes)):
            self.stop(process)
        reap_orphans()

    def check(self, condition, message):
        if not condition:
            self.failures.append(message)
            print(f"FAIL: {message}", file=sys.stderr)

    def start_bus(self):
        # --a11y=1 is what the desktop does when the user switches on a screen reader:
        # toolkits see IsEnabled and expose their widgets without any setting of their own.
        self.start("the accessibility bus launcher", [LAUNCHER, "--launch-immediately", "--a11y=1"])
        from gi.repository import Gio, GLib

        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        # A desktop-wide menu bar, as Plasma's, is there: the menu must stay in the window.
        session.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                          "RequestName", GLib.Variant("(su)", ("com.canonical.AppMenu.Registrar", 0)),
                          None, Gio.DBusCallFlags.NONE, 1000, None)
        self.session = session  # the name is held as long as this connection is

        def address():
            reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                      "GetAddress", None, GLib.VariantType("(s)"),
                                      Gio.DBusCallFlags.NO_AUTO_START, 1000, None)
            return reply.unpack()[0]

        self.bus = Gio.DBusConnection.new_for_address_sync(
            self.wait_for("the accessibility bus", address),
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)

    def start_screen_reader(self):
        """Starts Orca with speech on and no synthesizer: it says everything into its debug file.

        Before the program, so the program's accessibility bridge learns at
        once which events Orca listens for."""
        runtime = os.environ["XDG_RUNTIME_DIR"]
        self.speech_file = os.path.join(runtime, "orca-debug.txt")
        terminal = self.debug_terminal(self.speech_file)
        env = dict(os.environ, SPEECHD_CMD="/bin/false", GSETTINGS_BACKEND="memory")
        self.orca = self.start("Orca", [sys.executable, "-c", ORCA, ORCA_LAUNCHER,
                                        "--debug-file", terminal,
                                        "--user-prefs", os.path.join(runtime, "orca")], env=env)
        self.wait_for("Orca to start", lambda: "Screen reader on." in self.speech())

    def debug_terminal(self, copy):
        """A raw pseudo-terminal whose output a thread copies into the file copy as it comes."""
        import pty
        import threading
        import tty

        master, slave = pty.openpty()
        tty.setraw(slave)  # no echo, and a line ends in "\n" alone
        # Held open to the end: with no terminal side open, reading fails at once.
        self.terminal = (master, slave)

        def drain():
            with open(copy, "wb", buffering=0) as out:
                while True:
                    try:
                        chunk = os.read(master, 65536)
                    except OSError:
                        return
                    if not chunk:
                        return
                    out.write(chunk)

        threading.Thread(target=drain, daemon=True).start()
        return os.ttyname(slave)

    def speech(self):
        """Everything Orca has said so far, an utterance an item."""
        try:
            with open(self.speech_file, encoding="utf-8", errors="replace") as log:
                return SPOKEN.findall(log.read())
        except FileNotFoundError:
            return []

    def hear(self, what, since, probe):
        """Waits until probe finds what it looks for in what Orca said after utterance since."""
        try:
            return self.wait_for(what, lambda: probe(self.speech()[since:]))
        except CheckFailed as failure:
            raise CheckFailed(f"{failure}; Orca said {self.speech()[since:]!r}") from None

    def key(self, keysym):
        """Types a key, as the desktop's own key synthesizer does for assistive technology."""
        import pyatspi

        pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)

    def start_program(self):
        env = dict(os.environ)
        for forced in ("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "QT_ACCESSIBILITY"):
            env.pop(forced, None)
        self.program = self.start("velunor", [self.app_path], env=env)

        import pyatspi

        def application():
            desktop = pyatspi.Registry.getDesktop(0)
            # The client caches the desktop's children and updates them from
            # events; one missed while the registry starts would hide the program.
            desktop.clear_cache()
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.get_process_id() == self.program.pid:
                    return app
            return None

        self.app = self.wait_for("velunor on the accessibility bus", application)
        self.window = self.wait_for("the window", lambda: self.find(
            "frame", "Creatinine Clearance Calculator", root=self.app))

    def find_all(self, role, name=None, root=None):
        import pyatspi

        return pyatspi.findAllDescendants(root or self.window, lambda node: (
            has_role(node, role) and (name is None or node.name == name)))

    def find(self, role, name, root=None):
        found = self.find_all(role, name, root)
        return found[0] if len(found) == 1 else None

    def press(self, node):
        """Fires the node's Press action (Toggle for an option, ShowMenu for a menu) without waiting.

        Qt answers an action only once it has run, and an action that opens a
        modal message box runs until the box is dismissed."""
        from gi.repository import Gio, GLib

        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        chosen = next((name for name in ("Press", "Toggle", "ShowMenu") if name in names), None)
        if chosen is None:
            raise CheckFailed(f"{node.getRoleName()} {node.name!r} has no Press action: {names}")
        message = Gio.DBusMessage.new_method_call(node.app.bus_name, node.path,
                                                  "org.a11y.atspi.Action", "DoAction")
        message.set_body(GLib.Variant("(i)", (names.index(chosen),)))
        message.set_flags(Gio.DBusMessageFlags.NO_REPLY_EXPECTED)
        self.bus.send_message(message, Gio.DBusSendMessageFlags.NONE)
        self.bus.flush_sync(None)

    def result_text(self):
        self.result.clearCache()
        return self.result.name

    def message_box(self):
        import pyatspi

        boxes = pyatspi.findAllDescendants(self.app, lambda node: (
            has_role(node, "alert", "dialog") and node.name == "Velunor"
            and node.getState().contains(pyatspi.STATE_SHOWING)))
        return boxes[0] if len(boxes) == 1 else None

    def answer_message_box(self):
        """Reads the open message box's text, presses its only button and returns the text."""
        box = self.wait_for("a message box titled Velunor", self.message_box)
        texts = [label.name for label in self.find_all("label", root=box) if label.name]
        buttons = self.find_all("push button", root=box)
        self.check([b.name for b in buttons] == ["OK"],
                   f"message box buttons {[b.name for b in buttons]}, expected only OK")
        if buttons:
            self.press(buttons[0])
        self.wait_for("the message box to close", lambda: self.message_box() is None)
        return texts

    def check_names(self):
        # What a screen reader says on switching to the program.
        self.check(self.app.name == "Velunor", f"the program is named {self.app.name!r}")
        fields = self.find_all("text")
        self.check(sorted(f.name for f in fields) == sorted(FIELDS),
                   f"input boxes are named {[f.name for f in fields]}, expected {FIELDS}")
        units = self.find_all("radio button")
        self.check(sorted(u.name for u in units) == sorted(UNITS),
                   f"unit options are named {[u.name for u in units]}, expected {UNITS}")
        import pyatspi

        results = pyatspi.findAllDescendants(
            self.window, lambda node: node.description == RESULT_DESCRIPTION)
        if len(results) != 1:
            raise CheckFailed(f"{len(results)} controls described as {RESULT_DESCRIPTION!r}")
        self.result = results[0]
        self.check(self.result_text() == "", f"result box shows {self.result_text()!r} at start")

    def fill(self, texts):
        for name, text in zip(FIELDS, texts):
            field = self.find("text", name)
            if field is None:
                raise CheckFailed(f"no single input box named {name!r}")
            self.check(field.queryEditableText().setTextContents(text),
                       f"{name}: EditableText refused {text!r}")
            got = field.queryText().getText(0, -1)
            self.check(got == text, f"{name}: reads back {got!r} after setting {text!r}")

    def calculate(self, expected):
        self.press(self.find("push button", "Calculate"))
        try:
            self.wait_for(f"result {expected!r}", lambda: self.result_text() == expected)
        except CheckFailed as failure:
            self.check(False, str(failure))

    def check_speech(self):
        """What a blind user hears tabbing through the start-up values, pressing Enter,
        then emptying a field and pressing Enter again."""
        import pyatspi

        print("screen reader: start-up values, result, warning")

        def has(node, state):
            if node is None:
                return False
            node.clearCache()
            return node.getState().contains(state)

        # Orca hears of the window and its focus at start-up only if the
        # program's bridge to the bus is up when the window is activated, which
        # it may not be yet. Once the window has the keyboard, Shift+Tab and Tab
        # come back to the first field; Orca has to have presented the unit
        # between, or it skips both as one focus change that ends where it was.
        self.wait_for("the window to be active", lambda: has(self.window, pyatspi.STATE_ACTIVE))
        since = len(self.speech())
        self.key(BACK_TAB)
        self.hear(f"Orca to announce the unit {UNITS[0]}", since,
                  lambda spoken: said(spoken, UNITS[0]))
        for name, value in zip(FIELDS, CALCULATIONS[0][1]):
            since = len(self.speech())
            self.key(TAB)
            heard = self.hear(f"Orca to announce {name}", since,
                              lambda spoken: next_after(spoken, f"{name} text."))
            self.check(heard == f"{value} selected.",
                       f"{name}: Orca said {heard!r}, expected {value + ' selected.'!r}")

        result = f"{RESULT_DESCRIPTION} {CALCULATIONS[0][3]}"
        since = len(self.speech())
        self.key(ENTER)
        try:
            self.hear(f"Orca to say {result!r}", since, lambda spoken: said(spoken, result))
        except CheckFailed as failure:
            self.check(False, str(failure))

        weight = self.find("text", FIELDS[-1])
        self.key(BACKSPACE)
        self.wait_for("the weight emptied", lambda: weight.queryText().getText(0, -1) == "")
        since = len(self.speech())
        self.key(ENTER)
        self.hear("Orca to read the warning", since, lambda spoken: WARNING in spoken)
        # The keyboard is the window's again only once the box has had it
        # and gone: a key typed on the way would be lost.
        self.wait_for("the warning box to be active",
                      lambda: has(self.message_box(), pyatspi.STATE_ACTIVE))
        self.answer_message_box()
        self.wait_for("the window to be active again",
                      lambda: has(self.window, pyatspi.STATE_ACTIVE))
        # On to the weight unit, which empties the result box for the checks after this.
        self.key(TAB)
        self.wait_for("the result box emptied", lambda: self.result_text() == "")
        # The checks after this need no screen reader. Left running, Orca asks
        # the program about every box and window, also as it exits, where
        # LeakSanitizer once caught Qt's bus code leaving a message unfreed.
        self.stop(self.orca)

    def check_calculations(self):
        import pyatspi

        for case, texts, units, expected in CALCULATIONS:
            print(f"calculation: {case}")
            for unit in units:
                option = self.find("radio button", unit)
                self.press(option)
                self.wait_for(f"option {unit!r} checked",
                         lambda: option.getState().contains(pyatspi.STATE_CHECKED))
            self.fill(texts)
            self.calculate(expected)

    def check_warning(self):
        print("calculation: empty collection time")
        shown = self.result_text()
        self.fill(["55", "1.0", "1500", "", "69", "175"])
        self.press(self.find("push button", "Calculate"))
        texts = self.answer_message_box()
        self.check(WARNING in texts, f"warning box shows {texts!r}")
        self.check(self.result_text() == shown,
                   f"result box changed from {shown!r} to {self.result_text()!r} on the warning")

    def check_menu(self):
        import pyatspi

        shown = self.result_text()
        for item, lines in MENU_MESSAGES:
            print(f"menu: Help > {item}")
            bars = [bar for bar in self.find_all("menu bar")
                    if bar.getState().contains(pyatspi.STATE_SHOWING)]
            menu = next((bars[0].getChildAtIndex(i) for i in range(bars[0].childCount)
                         if bars[0].getChildAtIndex(i).name == "Help"), None) if bars else None
            if menu is None:
                raise CheckFailed("no Help menu on a menu bar in the window")
            self.press(menu)
            entry = self.wait_for(f"menu item {item!r}",
                             lambda: self.find("menu item", item, root=menu.getChildAtIndex(0)))
            self.press(entry)
            texts = self.answer_message_box()
            text = next((t for t in texts if t.startswith(lines[0])), "")
            self.check_lines(item, text.split("\n"), lines)
            self.check(self.result_text() == shown,
                       f"Help > {item} changed the result box from {shown!r}")

    def check_lines(self, item, got, expected):
        self.check(len(got) == len(expected),
                   f"Help > {item}: {len(got)} lines, expected {len(expected)}")
        for number, (line, want) in enumerate(zip(got, expected), start=1):
            self.check(line == want, f"Help > {item} line {number}: {line!r}, expected {want!r}")

    def check_no_image_plugins(self):
        # Started and shown, the window has read no image plugin: each is more files before it shows.
        with open(f"/proc/{self.program.pid}/maps") as maps:
            plugins = {line.split()[-1] for line in maps if "/imageformats/" in line}
        self.check(not plugins, f"image plugins loaded: {sorted(plugins)}")

    def check_exit(self):
        print("Exit")
        self.press(self.find("push button", "Exit"))
        try:
            status = self.program.wait(timeout=WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            self.check(False, "the program is still running after Exit")
            return
        self.check(status == 0, f"the program ended with status {status} after Exit")


def has_role(node, *roles):
    """Whether node has one of the roles, each as AT-SPI's enumeration names it
    ("push button" for PUSH_BUTTON): the name getRoleName gives changed between
    releases ("push button" became "button")."""
    from gi.repository import Atspi

    return node.getRole() in [getattr(Atspi.Role, r.upper().replace(" ", "_")) for r in roles]


def said(spoken, utterance):
    """Whether Orca said utterance, with or without the full stop it puts before a pause,
    alone or first in what it said at once (Orca 48 says "in selected radio button.")."""
    return any(s == utterance or s.startswith((utterance + ".", utterance + " ")) for s in spoken)


def next_after(spoken, utterance):
    """What Orca said right after utterance; None until it has said both."""
    at = spoken.index(utterance) + 1 if utterance in spoken else len(spoken)
    return spoken[at] if at < len(spoken) else None


def adopt_orphans():
    """Makes the processes our servers start (the registry daemon, the bus) ours to reap."""
    import ctypes

    pr_set_child_subreaper = 36
    ctypes.CDLL(None, use_errno=True).prctl(pr_set_child_subreaper, 1, 0, 0, 0)


def reap_orphans(seconds=5):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            time.sleep(0.05)


def on_deadline(signum, frame):
    raise Deadline(f"no answer within {DEADLINE_SECONDS} s")


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    if not (os.environ.get("DISPLAY") and os.environ.get("DBUS_SESSION_BUS_ADDRESS")):
        print("screen_reader.py: run it under on-x11, in a session of its own", file=sys.stderr)
        return 2
    # Only looked for here: importing it would reach for the bus before main is sure of it.
    if importlib.util.find_spec("pyatspi") is None:
        print("screen_reader.py: python3-pyatspi is not installed", file=sys.stderr)
        return 1
    if not os.access(LAUNCHER, os.X_OK):
        print(f"screen_reader.py: {LAUNCHER} is missing (at-spi2-core)", file=sys.stderr)
        return 1
    if importlib.util.find_spec("orca") is None:
        print("screen_reader.py: Orca is not installed (orca)", file=sys.stderr)
        return 1

    adopt_orphans()
    signal.signal(signal.SIGALRM, on_deadline)
    signal.alarm(DEADLINE_SECONDS)
    session = Session(sys.argv[1])
    try:
        session.start_bus()
        session.start_screen_reader()
        session.start_program()
        session.check_names()
        session.check_no_image_plugins()
        session.check_speech()
        session.check_calculations()
        session.check_warning()
        session.check_menu()
        session.check_exit()
    except (CheckFailed, Deadline) as failure:
        session.check(False, str(failure))
    finally:
        signal.alarm(0)
        session.stop_all()
    if session.failures:
        print(f"{len(session.failures)} check(s) failed", file=sys.stderr)
        return 1
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
