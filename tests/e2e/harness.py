"""What every end-to-end scenario uses: a Run (its own APPDATA and TMP under --out,
the program and the fixture started with them, the log, settings and window reports
read back, xdotool, screenshots and pixels), polling with a deadline, the scenario
registry and the overlay probes. Scenarios live in scenarios/, one module a feature."""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SCENARIOS = {}
DISPLAYS = {}  # scenario name -> the display it needs, when not the single-monitor Xvfb
ACCENT = (0xA8, 0x55, 0xF7)
TOOLS = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                     "tools")


def scenario(fn=None, *, display=None):
    """Registers a scenario: @scenario, or @scenario(display=ThreeMonitors) for one that
    needs a display of its own (a context manager class taking the Run)."""
    def register(f):
        SCENARIOS[f.__name__] = f
        if display:
            DISPLAYS[f.__name__] = display
        return f
    return register(fn) if fn else register


class Failure(Exception):
    pass


def win_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def layout(name, zones):
    return {"Name": name, "Zones": zones}


HALVES = [[0, 0, 0.5, 1], [0.5, 0, 1, 1]]
THIRDS = [[0, 0, 0.3333333333333333, 1], [0.3333333333333333, 0, 0.6666666666666666, 1],
          [0.6666666666666666, 0, 1, 1]]


class Run:
    def __init__(self, name, args):
        self.name = name
        self.exe = args.exe
        self.fixture = args.fixture
        self.region_probe = getattr(args, "region_probe", None)
        self.installer = getattr(args, "installer", None)
        self.portable_zip = getattr(args, "portable_zip", None)
        self.image_probe = getattr(args, "image_probe", None)
        self.test_installer = getattr(args, "test_installer", None)
        self.deployment = getattr(args, "deployment", None)
        self.cleanups = []  # called by stop_all, last added first
        self.hotkey_holder = getattr(args, "hotkey_holder", None)
        self.display_probe = getattr(args, "display_probe", None)
        self.dir = os.path.join(args.out, name)
        shutil.rmtree(self.dir, ignore_errors=True)
        self.appdata = os.path.join(self.dir, "appdata")
        self.tmp = os.path.join(self.dir, "tmp")
        os.makedirs(self.appdata)
        os.makedirs(self.tmp)
        self.env = dict(os.environ)
        self.env["WINEDEBUG"] = "-all"
        self.procs = []
        # Displays that need a Wine prefix of their own keep it beside the build's.
        self.prefix_root = os.path.dirname(os.path.abspath(args.out))
        self.display = SingleMonitor(self)

    # --- files -------------------------------------------------------------------
    @property
    def settings_path(self):
        return os.path.join(self.appdata, "Tilewright", "settings.json")

    @property
    def log_path(self):
        return os.path.join(self.tmp, "tilewright.log")

    def write_settings(self, text):
        os.makedirs(os.path.dirname(self.settings_path), exist_ok=True)
        with open(self.settings_path, "w", newline="") as f:
            f.write(text)

    def write_screen_settings(self, layouts, active, auto_start=True, cover_taskbar=True, extra=None):
        """A settings file for the single Wine monitor: its id is learnt from
        --list-monitors so that the entry is reused, not added."""
        mon = self.monitors()[0]
        screen = {"Id": mon["id"], "Name": mon["name"], "Enabled": True,
                  "CoverTaskbar": cover_taskbar, "ActiveLayout": active}
        lays = [dict(l, Screen=mon["id"]) for l in layouts]
        data = {"AutoStart": auto_start, "StartMinimized": True, "HideToTray": True,
                "Screens": [screen], "ScreenLayouts": lays, "SelectedScreen": mon["id"]}
        data.update(extra or {})
        self.write_settings(json.dumps(data, indent=2))
        return mon

    def log_lines(self):
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as f:
                return [re.sub(r"^\[\s*\d+\.\d{3}s\] ", "", l.rstrip("\n")) for l in f]
        except FileNotFoundError:
            return []

    # --- processes ---------------------------------------------------------------
    def wine(self, *args, wait=False, timeout=60):
        """Runs a Windows program with this scenario's APPDATA, TMP and TEMP. Wine sets
        those three from its own profile when a process starts, whatever the Unix
        environment says, so they are set by cmd, whose children inherit them."""
        def quote(a):
            return '"%s"' % a if " " in a else a
        line = "set APPDATA=%s&& set TMP=%s&& set TEMP=%s&& start /wait \"\" %s" % (
            win_path(self.appdata), win_path(self.tmp), win_path(self.tmp),
            " ".join(quote(a) for a in args))
        cmd = ["wine", "cmd", "/c", line]
        if wait:
            # Wine's own complaints go to a file (a pipe would be held open by the
            # wineserver this may start), for a failure to quote.
            with open(os.path.join(self.dir, "wine-stderr.txt"), "ab") as err:
                return subprocess.run(cmd, env=self.env, timeout=timeout,
                                      stdout=subprocess.DEVNULL, stderr=err)
        p = subprocess.Popen(cmd, env=self.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
        self.procs.append(p)
        return p

    def start_app(self, *args):
        return self.wine(win_path(self.exe), *args)

    def start_fixture(self, title, report, *args):
        return self.wine(win_path(self.fixture), "--title", title, "--report", win_path(report), *args)

    def stop_all(self):
        while self.cleanups:
            self.cleanups.pop()()
        for p in self.procs:
            if p.poll() is None:
                p.terminate()
        for p in self.procs:
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.kill()
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL)

    def monitors(self):
        # The first Wine program of a scenario starts a fresh wineserver just after the
        # last scenario's was killed; once in a long run that start fails at once (about
        # 0.1 s, nothing written), so a listing that wrote nothing is tried again.
        codes = []
        for attempt in range(3):
            if attempt:
                time.sleep(1)
            codes.append(self.wine(win_path(self.exe), "--list-monitors", wait=True).returncode)
            mons = []
            for line in self.log_lines():
                m = re.match(r"monitor\[(\d+)\] name=(.*) primary=(true|false) bounds=(\d+)x(\d+) "
                             r"@\((-?\d+),(-?\d+)\) work=(\d+)x(\d+) id=(.*)$", line)
                if m:
                    mons.append({"name": m.group(2), "primary": m.group(3) == "true",
                                 "w": int(m.group(4)), "h": int(m.group(5)),
                                 "x": int(m.group(6)), "y": int(m.group(7)), "id": m.group(10)})
            if mons:
                break
        if not mons:
            with open(os.path.join(self.dir, "wine-stderr.txt"), errors="replace") as err:
                said = err.read()[-600:]
            raise Failure("--list-monitors wrote no monitor line in %d tries (exit codes %r); "
                          "log: %r; Wine said: %r" % (len(codes), codes, self.log_lines(), said))
        os.remove(self.log_path)
        self.monitors_seen = mons
        return mons

    # --- polling -----------------------------------------------------------------
    def wait_for(self, what, cond, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            got = cond()
            if got:
                return got
            time.sleep(0.1)
        raise Failure("timed out waiting for %s; log tail: %r" % (what, self.log_lines()[-15:]))

    def wait_log(self, pattern, timeout=30):
        rx = re.compile(pattern)
        return self.wait_for("log line /%s/" % pattern,
                             lambda: next((l for l in self.log_lines() if rx.search(l)), None),
                             timeout)

    @staticmethod
    def read_report(path):
        try:
            with open(path) as f:
                parts = f.read().split()
            rect = tuple(int(v) for v in parts[:4])
            fields = dict(p.split("=", 1) for p in parts[4:])
            return {"rect": rect, "zoomed": fields.get("zoomed") == "1",
                    "foreground": fields.get("foreground") == "1",
                    "t": int(fields.get("t", 0)), "maximized_at": int(fields.get("maximized_at", 0)),
                    "clicks": int(fields.get("clicks", 0))}
        except (FileNotFoundError, ValueError, IndexError):
            return None

    def wait_rect(self, report, rect, timeout=30, tolerance=2):
        def ok():
            r = self.read_report(report)
            return r and not r["zoomed"] and all(abs(a - b) <= tolerance for a, b in zip(r["rect"], rect))
        self.wait_for("window at %r (last report %r)" % (rect, self.read_report(report)), ok, timeout)

    def probe(self, *args, timeout=60):
        """The standard output of a Windows probe program. It goes through a file, not a
        pipe: a probe that happens to be the first Wine process of the prefix starts the
        wineserver and Wine's services, which inherit its output and would hold a pipe
        open, so that reading it to its end never returns."""
        with tempfile.TemporaryFile() as out:
            subprocess.run(["wine", *args], env=self.env, stdout=out, stderr=subprocess.DEVNULL,
                           timeout=timeout)
            out.seek(0)
            return out.read().decode(errors="replace")

    def xdo(self, *args):
        subprocess.run(["xdotool"] + list(args), check=True, env=self.env)

    def move_mouse(self, x, y):
        """Moves the pointer to a point in Windows' virtual-screen coordinates."""
        ox, oy = self.display.origin()
        self.xdo("mousemove", str(x + ox), str(y + oy))

    def shift_drag(self, start, end, steps=12, before_release=None):
        """Presses the left button at `start` with Shift held, moves to `end` in even
        steps (virtual-screen coordinates) and lets go of both; `before_release` runs while
        the button is still down."""
        self.move_mouse(*start)
        self.xdo("keydown", "shift")
        self.xdo("mousedown", "1")
        for i in range(1, steps + 1):
            self.move_mouse(start[0] + (end[0] - start[0]) * i // steps,
                            start[1] + (end[1] - start[1]) * i // steps)
            time.sleep(0.05)
        if before_release:
            before_release()
        self.xdo("mouseup", "1")
        self.xdo("keyup", "shift")

    def screenshot(self, name):
        path = os.path.join(self.dir, name + ".png")
        subprocess.run(["/usr/bin/import", "-window", "root", path], check=True, env=self.env)
        return path

    @staticmethod
    def pixel(png, x, y):
        out = subprocess.run(["/usr/bin/convert", png, "-format", "%%[fx:int(255*p{%d,%d}.r)] "
                              "%%[fx:int(255*p{%d,%d}.g)] %%[fx:int(255*p{%d,%d}.b)]" %
                              (x, y, x, y, x, y), "info:"], capture_output=True, text=True, check=True)
        return tuple(int(v) for v in out.stdout.split())


# --- displays ----------------------------------------------------------------------

class SingleMonitor:
    """The display the environment gives (tools/test's Xvfb) and the usual prefix."""
    def __init__(self, run):
        self.run = run

    def __enter__(self):
        self.run.display = self
        return self

    def __exit__(self, *exc):
        return False

    def origin(self):
        """Where the primary monitor's top left corner, Windows' (0, 0), lies on the X screen."""
        return (0, 0)


class ThreeMonitors(SingleMonitor):
    """An X server with the dummy video driver showing three monitors (tools/multimon-display:
    the primary, one left of it at negative coordinates, a smaller one on its right) and a
    Wine prefix of its own, since Wine reads the monitors when a prefix's first process
    starts. The test command starts the server once (TW_MULTIMON_DISPLAY); a scenario run
    on its own starts one and stops it afterwards. Each scenario starts with all three
    outputs on, whatever the one before switched off."""
    def __init__(self, run):
        super().__init__(run)
        self.pid = None

    def __enter__(self):
        run = self.run
        run.display = self
        display = os.environ.get("TW_MULTIMON_DISPLAY")
        if not display:
            out = subprocess.run([os.path.join(TOOLS, "multimon-display"), "start",
                                  os.path.join(run.dir, "xorg")], capture_output=True, text=True)
            if out.returncode != 0:
                raise Failure("no three-monitor X server: %s" % out.stderr.strip())
            display, pid = out.stdout.split()
            self.pid = int(pid)
        run.env["DISPLAY"] = display
        run.env["WINEPREFIX"] = os.path.join(run.prefix_root, "wineprefix-three-monitors")
        try:
            self.switch_all_on()
            for step in (["wineserver", "-k"], ["wineserver", "-w"], [os.path.join(TOOLS, "wine-prefix")]):
                subprocess.run(step, env=run.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except BaseException:
            self.__exit__()
            raise
        return self

    def origin(self):
        out = subprocess.run(["xrandr", "--query"], env=self.run.env, capture_output=True, text=True).stdout
        m = re.search(r"^\S+ connected primary \d+x\d+\+(\d+)\+(\d+)", out, re.M)
        if not m:
            raise Failure("xrandr shows no primary output: %r" % out)
        return (int(m.group(1)), int(m.group(2)))

    def switch_off(self, *points):
        """Switches off the monitors under the points through the display settings, as a
        user does, so that the system tells every program (WM_DISPLAYCHANGE); Wine 8 does
        not tell programs about outputs that xrandr switches. Returns what switch_on takes."""
        out = self.run.probe(self.run.display_probe, "off", *("%d,%d" % p for p in points))
        gone = [l.split()[1] for l in out.split("\n") if l.startswith("off ")]
        if len(gone) != len(points) or "failed" in out:
            raise Failure("switching monitors off at %r: %r" % (points, out))
        return gone

    def switch_on(self, gone):
        out = self.run.probe(self.run.display_probe, "on", *gone)
        if "failed" in out:
            raise Failure("switching monitors %r on again: %r" % (gone, out))

    def switch_all_on(self):
        out = subprocess.run([os.path.join(TOOLS, "multimon-display"), "layout"], env=self.run.env,
                             capture_output=True, text=True)
        if out.returncode != 0:
            raise Failure("xrandr could not arrange the three monitors: %s" % out.stderr.strip())

    def __exit__(self, *exc):
        # This prefix's Wine processes end with the scenario, before a server started
        # here goes.
        subprocess.run(["wineserver", "-k"], env=self.run.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        if self.pid:
            os.kill(self.pid, 15)
        return False


# --- probes shared by scenarios ---------------------------------------------------

def main_window_origin(run):
    """Top-left corner of the visible main window, from the X server."""
    def find():
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tilewright$",
                              "getwindowgeometry"], env=run.env, capture_output=True, text=True)
        m = re.search(r"Position: (-?\d+),(-?\d+)", out.stdout)
        return (int(m.group(1)), int(m.group(2))) if m else None
    return run.wait_for("the main window", find)


# The tray icon lives in Wine's "Wine System Tray" window at the top left of the
# screen; its first icon is drawn at (5, 24) and clicked at (12, 32).
TRAY_ICON_AT = (12, 32)


def click_tray_icon(run, *click):
    """Clicks the program's tray icon: click_tray_icon(run, "1") shows the main window."""
    run.xdo("mousemove", str(TRAY_ICON_AT[0]), str(TRAY_ICON_AT[1]))
    run.xdo("click", *click)


def main_window_visible(run):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tilewright$"],
                          env=run.env, capture_output=True).returncode == 0


def close_main_window(run):
    """Clicks the close glyph of the main window's title row (with "Show in tray" on the
    window hides to the tray)."""
    x, y = main_window_origin(run)
    run.xdo("mousemove", str(x + 560), str(y + 20))
    run.xdo("click", "1")


def overlay_lines(run):
    """{x: True} for the columns x on the overlay's middle row that belong to its region."""
    out = run.probe(run.region_probe, "TilewrightOverlay")
    rects = [tuple(int(v) for v in l.split()[1:5]) for l in out.split("\n") if l.startswith("rect ")]
    if not rects:
        return None
    y = max(b for _, _, _, b in rects) // 2
    return {x: True for l, t, r, b in rects if t <= y < b for x in range(l, r)}


def wine_pid(windows_path, extra=""):
    """The Wine process whose command line starts with a program's Windows path (and
    holds `extra`), or None."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                cmd = f.read().replace(b"\0", b" ").decode(errors="replace")
        except OSError:
            continue
        if cmd.lower().startswith(windows_path.lower()) and extra in cmd:
            return int(pid)
    return None


def loaded_dlls(pid):
    """The lower-case file names of the DLLs mapped into a Wine process."""
    names = set()
    with open("/proc/%d/maps" % pid) as f:
        for line in f:
            path = line.split(None, 5)[5].strip() if len(line.split(None, 5)) > 5 else ""
            if path.lower().endswith(".dll"):
                names.add(os.path.basename(path).lower())
    return names


def overlay_count(run):
    out = run.probe(run.region_probe, "TilewrightOverlay")
    return sum(1 for line in out.split("\n") if line.startswith("window ") and "visible=1" in line)
