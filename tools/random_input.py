#!/usr/bin/env python3
"""Drives the real lm740 window with seeded random input under a private X display.

usage: tools/random_input.py [--minutes N] [--seed S] [--program PATH] [--faults LIST] [--keep]

Starts Xvfb and openbox, then `lm740 --simulator=FILE` (the sanitized build by default,
build-test/lm740; with --faults LIST, `--simulator-faults=LIST` too, for a flaky link) in a scratch folder that is also its HOME and working folder, and for N
minutes (default 5) sends it clicks, drags, keys, typed numbers and menu commands, chosen by a
generator seeded with S (default: the time). Dialogs are met as they come: mostly closed with
Escape or Return, sometimes typed into or clicked. A window that closes is started again.

It fails (exit 1) on a sanitizer report, a crash (the program ended by a signal or with an
error status), or a hang: the window's X connection must answer a _NET_WM_PING within
--hang-seconds (default 30), and the program must end within that time when it is asked to (with
SIGTERM) at the end of the run. Every event is written to events.log in the scratch folder, the
program's output to lm740-K.log; on a finding the folder is kept and named.

Needs Debian's xvfb, openbox, xdotool and x11-utils (xprop), and libX11 (for the ping).
"""

import argparse
import ctypes
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SANITIZER = re.compile(
    rb"ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|WARNING: ThreadSanitizer")

# Keys a user may press anywhere; the window's own commands are among them.
KEYS = [
    "Return", "Escape", "Tab", "shift+Tab", "space", "BackSpace", "Delete", "Up", "Down",
    "Left", "Right", "Page_Up", "Page_Down", "Home", "End", "ctrl+a", "ctrl+c", "ctrl+v",
    "ctrl+x", "ctrl+z", "ctrl+r", "ctrl+g", "ctrl+b", "shift+a", "ctrl+Up", "ctrl+Down",
    "ctrl+Page_Up", "ctrl+Page_Down", "KP_Up", "KP_Down", "alt+f", "alt+u", "F1", "F10",
    "comma", "period", "minus", "a", "1", "5", "9", "0",
]


class Ping:
    """_NET_WM_PING through libX11: a client that processes its X events answers it at once,
    whatever it shows; a client whose event loop is stuck does not."""

    CLIENT_MESSAGE = 33
    # The answer goes to the root window with one mask or the other, as toolkits differ.
    ROOT_MASK = (1 << 17) | (1 << 19)  # StructureNotify, SubstructureNotify

    def __init__(self, display):
        self.x = ctypes.cdll.LoadLibrary("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XInternAtom.restype = ctypes.c_ulong
        self.x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                      ctypes.c_long, ctypes.c_void_p]
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.d = self.x.XOpenDisplay(display.encode())
        if not self.d:
            raise RuntimeError("cannot open display " + display)
        self.root = self.x.XDefaultRootWindow(self.d)
        self.protocols = self.x.XInternAtom(self.d, b"WM_PROTOCOLS", 0)
        self.ping = self.x.XInternAtom(self.d, b"_NET_WM_PING", 0)
        self.x.XSelectInput(self.d, self.root, self.ROOT_MASK)
        self.stamp = 1000

    def answers(self, window, seconds):
        # An XClientMessageEvent as longs: type, serial, send_event, display, window,
        # message_type, format, data.l[5]; XEvent is 24 longs in all.
        self.stamp += 1
        ev = (ctypes.c_long * 24)()
        ev[0], ev[4], ev[5], ev[6] = self.CLIENT_MESSAGE, window, self.protocols, 32
        ev[7], ev[8], ev[9] = self.ping, self.stamp, window
        self.x.XSendEvent(self.d, window, 0, 0, ctypes.byref(ev))
        self.x.XFlush(self.d)
        end = time.monotonic() + seconds
        got = (ctypes.c_long * 24)()
        while time.monotonic() < end:
            while self.x.XPending(self.d):
                self.x.XNextEvent(self.d, ctypes.byref(got))
                if (got[0] & 0xFFFFFFFF) == self.CLIENT_MESSAGE and got[5] == self.protocols \
                        and got[7] == self.ping and got[8] == self.stamp:
                    return True
            time.sleep(0.05)
        return False

    def close(self):
        self.x.XCloseDisplay(self.d)


class Run:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.dir = tempfile.mkdtemp(prefix="lm740-random-")
        self.events = 0
        self.starts = 0
        self.finding = None
        self.procs = []
        self.app = None
        self.log = open(os.path.join(self.dir, "events.log"), "w")
        self.env = dict(os.environ)

    # ---- the display, the window manager and the program ----

    def start_display(self):
        r, w = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x900x24"],
                                pass_fds=(w,), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        os.close(w)
        self.procs.append(xvfb)
        number = b""
        with os.fdopen(r, "rb") as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode()
        stub = os.path.join(self.dir, "bin")
        os.makedirs(stub)
        # Help opens the manual in another program: here it opens nothing.
        with open(os.path.join(stub, "xdg-open"), "w") as f:
            f.write("#!/bin/sh\nexit 0\n")
        os.chmod(os.path.join(stub, "xdg-open"), 0o755)
        supp = os.path.join(ROOT, "tests", "lsan.supp")
        self.env.update({
            "DISPLAY": self.display,
            "HOME": self.dir,
            "XDG_CONFIG_HOME": os.path.join(self.dir, ".config"),
            "XDG_DATA_HOME": os.path.join(self.dir, ".local"),
            "PATH": stub + os.pathsep + self.env.get("PATH", ""),
            # Options given by the caller come last and win (fast_unwind_on_malloc=0 for a whole
            # stack of a leak inside a library built without frame pointers).
            "ASAN_OPTIONS": "detect_leaks=1:abort_on_error=0:halt_on_error=1:"
            + self.env.get("ASAN_OPTIONS", ""),
            "LSAN_OPTIONS": ("suppressions=" + supp + ":" if os.path.exists(supp) else "")
            + "print_suppressions=0",
            "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
        })
        self.env.pop("QT_QPA_PLATFORM", None)
        if shutil.which("openbox"):
            self.procs.append(subprocess.Popen(["openbox"], env=self.env,
                                               stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))
        self.ping = Ping(self.display)

    def start_program(self):
        self.starts += 1
        out = open(os.path.join(self.dir, "lm740-%d.log" % self.starts), "wb")
        self.app_log = out.name
        command = [self.args.program, "--simulator=" + os.path.join(self.dir, "controller.mem")]
        if self.args.faults:
            command.append("--simulator-faults=" + self.args.faults)
        self.app = subprocess.Popen(command,
                                    cwd=self.dir, env=self.env, stdout=out,
                                    stderr=subprocess.STDOUT)
        self.note("start %d pid %d" % (self.starts, self.app.pid))
        end = time.monotonic() + self.args.hang_seconds * 2
        while time.monotonic() < end:
            if self.app.poll() is not None:
                return False
            if self.windows():
                return True
            time.sleep(0.2)
        self.finding = "the window did not appear within %ds" % (self.args.hang_seconds * 2)
        return False

    def xdo(self, *words):
        r = subprocess.run(["xdotool"] + [str(w) for w in words], env=self.env,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        return r.stdout

    def is_dialog(self, wid):
        # A floating dock is a top-level window too, but no dialog: it must not hold the run.
        out = subprocess.run(["xprop", "-id", str(wid), "_NET_WM_WINDOW_TYPE"], env=self.env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
        return "_NET_WM_WINDOW_TYPE_DIALOG" in out

    def windows(self):
        """The program's visible top-level windows, largest first."""
        found = []
        # Every top-level window of a Qt program has its program's name as its X class.
        for wid in self.xdo("search", "--onlyvisible", "--pid", self.app.pid, "--class",
                            os.path.basename(self.args.program)).split():
            geo = dict(line.split("=", 1) for line in
                       self.xdo("getwindowgeometry", "--shell", wid).split() if "=" in line)
            try:
                w, h = int(geo["WIDTH"]), int(geo["HEIGHT"])
            except (KeyError, ValueError):
                continue
            if w > 20 and h > 20:
                found.append((w * h, int(wid), w, h))
        found.sort(reverse=True)
        return [(wid, w, h) for _, wid, w, h in found]

    # ---- the input ----

    def note(self, text):
        self.log.write("%.1f %s\n" % (time.monotonic() - self.t0, text))
        self.log.flush()

    def send(self, what, *words):
        self.events += 1
        self.note(what)
        self.xdo(*words)

    def point(self, w, h):
        return self.rng.randrange(w), self.rng.randrange(h)

    def act_on_window(self, wid, w, h):
        r = self.rng.random()
        mods = self.rng.choice([[], [], [], ["ctrl"], ["shift"], ["shift", "ctrl"]])
        down = [x for m in mods for x in ("keydown", m)]
        up = [x for m in mods for x in ("keyup", m)]
        if r < 0.35:
            x, y = self.point(w, h)
            button = self.rng.choice([1, 1, 1, 1, 3])
            repeat = self.rng.choice([1, 1, 1, 2])
            self.send("click %d x%d at %d,%d %s" % (button, repeat, x, y, "+".join(mods)),
                      *down, "mousemove", "--window", wid, x, y, "click", "--repeat", repeat,
                      button, *up)
        elif r < 0.50:
            (x1, y1), (x2, y2) = self.point(w, h), self.point(w, h)
            self.send("drag %d,%d to %d,%d %s" % (x1, y1, x2, y2, "+".join(mods)),
                      *down, "mousemove", "--window", wid, x1, y1, "mousedown", 1,
                      "mousemove", "--window", wid, (x1 + x2) // 2, (y1 + y2) // 2,
                      "sleep", 0.05, "mousemove", "--window", wid, x2, y2, "mouseup", 1, *up)
        elif r < 0.75:
            key = self.rng.choice(KEYS)
            self.send("key " + key, "key", key)
        elif r < 0.85:
            text = str(self.rng.choice([0, 1, 2, 3, 5, 12, 30, 99, 170, 171, 255, 256, 1000]))
            if self.rng.random() < 0.3:
                text += self.rng.choice([".", ","]) + str(self.rng.randrange(100))
            self.send("type " + text, "key", "ctrl+a", "type", text)
        else:
            # A menu command: a menu of the bar, a few steps down, and Return (or Escape).
            x = self.rng.randrange(min(w, 320))
            steps = self.rng.randrange(12)
            end = "Return" if self.rng.random() < 0.8 else "Escape"
            self.send("menu at %d, %d down, %s" % (x, steps, end),
                      "mousemove", "--window", wid, x, 10, "click", 1,
                      *(["key", "Down"] * steps), "key", end)

    def act_on_dialog(self, wid, w, h):
        r = self.rng.random()
        if r < 0.45:
            self.send("dialog Escape", "key", "Escape")
        elif r < 0.7:
            self.send("dialog Return", "key", "Return")
        elif r < 0.8:
            key = self.rng.choice(["Tab", "space", "shift+Tab", "Left", "Right"])
            self.send("dialog " + key, "key", key)
        elif r < 0.9:
            name = "r%d" % self.rng.randrange(1000)
            self.send("dialog type " + name, "type", name, "key", "Return")
        else:
            x, y = self.point(w, h)
            self.send("dialog click %d,%d" % (x, y), "mousemove", "--window", wid, x, y,
                      "click", 1)

    # ---- findings ----

    def sanitizer_report(self):
        with open(self.app_log, "rb") as f:
            return SANITIZER.search(f.read()) is not None

    def ended(self, status):
        """Whether the program's end is a finding; sets it if so."""
        self.note("ended with %d" % status)
        if self.sanitizer_report():
            self.finding = "sanitizer report in " + self.app_log
        elif status < 0:
            self.finding = "crash: signal %d (%s)" % (-status, self.app_log)
        elif status != 0:
            self.finding = "exit status %d (%s)" % (status, self.app_log)
        return self.finding is not None

    def run(self):
        self.t0 = time.monotonic()
        self.start_display()
        deadline = self.t0 + self.args.minutes * 60
        last_ping = 0.0
        if not self.start_program() and (self.finding or self.ended(self.app.returncode)):
            return
        while time.monotonic() < deadline:
            status = self.app.poll()
            if status is not None:
                if self.ended(status) or not self.start_program():
                    if not self.finding:
                        self.ended(self.app.returncode)
                    return
                continue
            wins = self.windows()
            if not wins:
                time.sleep(0.1)
                continue
            if time.monotonic() - last_ping > 2:
                if not self.ping.answers(wins[0][0], self.args.hang_seconds):
                    if self.app.poll() is None:
                        self.finding = "hang: no answer to a ping for %ds" % \
                            self.args.hang_seconds
                        return
                    continue
                last_ping = time.monotonic()
            dialogs = [w for w in wins[1:] if self.is_dialog(w[0])]
            if dialogs:
                self.act_on_dialog(*dialogs[-1])
            elif len(wins) > 1 and self.rng.random() < 0.1:
                self.act_on_window(*self.rng.choice(wins[1:]))
            else:
                self.act_on_window(*wins[0])
            time.sleep(self.rng.choice([0.02, 0.05, 0.1, 0.2]))
        # The end: asked to quit as at logout, the program saves the controller's memory.
        self.app.send_signal(signal.SIGTERM)
        try:
            status = self.app.wait(self.args.hang_seconds)
        except subprocess.TimeoutExpired:
            self.finding = "hang: still running %ds after SIGTERM" % self.args.hang_seconds
            return
        if not self.ended(status) and not os.path.exists(
                os.path.join(self.dir, "controller.mem")):
            self.finding = "the simulated controller's memory was not saved"

    def stop(self):
        if self.app and self.app.poll() is None:
            self.app.kill()
            self.app.wait()
        for p in reversed(self.procs):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
        self.log.close()


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[1])
    p.add_argument("--minutes", type=float, default=5)
    p.add_argument("--seed", type=int, default=int(time.time()))
    p.add_argument("--program", default=os.path.join(ROOT, "build-test", "lm740"))
    p.add_argument("--hang-seconds", type=int, default=30)
    p.add_argument("--keep", action="store_true", help="keep the scratch folder")
    p.add_argument("--faults", default="",
                   help="link faults of the simulated controller, as lm740's "
                   "--simulator-faults takes them (e.g. fail=0.05@7,latency=1)")
    args = p.parse_args()
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            print("random_input: %s is missing (tools/deps.sh --random-input)" % tool,
                  file=sys.stderr)
            return 2
    if not os.access(args.program, os.X_OK):
        print("random_input: no program at %s" % args.program, file=sys.stderr)
        return 2
    run = Run(args)
    try:
        run.run()
    finally:
        run.stop()
    minutes = (time.monotonic() - run.t0) / 60
    print("seed %d: %.1f minutes, %d events, %d starts of the program: %s" % (
        args.seed, minutes, run.events, run.starts, run.finding or "no finding"))
    if run.finding or args.keep:
        print("events and output in " + run.dir)
    else:
        shutil.rmtree(run.dir, ignore_errors=True)
    return 1 if run.finding else 0


if __name__ == "__main__":
    sys.exit(main())
