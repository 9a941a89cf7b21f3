#!/usr/bin/env python3
"""End-to-end scenarios: the real Tilewright.exe under Wine + Xvfb.

Each scenario gets its own APPDATA and TMP folders (under --out), writes the settings
it needs, starts the program, drives it with xdotool or a fixture window, and reads
back the log, the settings file and window rectangles. Conditions are polled with a
deadline, never slept on blindly.

    e2e.py --list                     # scenario names, one per line
    e2e.py NAME --exe Tilewright.exe --fixture fixture_window.exe --out DIR
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import time

SCENARIOS = {}
ACCENT = (0xA8, 0x55, 0xF7)


def scenario(fn):
    SCENARIOS[fn.__name__] = fn
    return fn


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
        self.dir = os.path.join(args.out, name)
        shutil.rmtree(self.dir, ignore_errors=True)
        self.appdata = os.path.join(self.dir, "appdata")
        self.tmp = os.path.join(self.dir, "tmp")
        os.makedirs(self.appdata)
        os.makedirs(self.tmp)
        self.env = dict(os.environ)
        self.env["WINEDEBUG"] = "-all"
        self.procs = []

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
            return subprocess.run(cmd, env=self.env, timeout=timeout,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        p = subprocess.Popen(cmd, env=self.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
        self.procs.append(p)
        return p

    def start_app(self, *args):
        return self.wine(win_path(self.exe), *args)

    def start_fixture(self, title, report, *args):
        return self.wine(win_path(self.fixture), "--title", title, "--report", win_path(report), *args)

    def stop_all(self):
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
        self.wine(win_path(self.exe), "--list-monitors", wait=True)
        mons = []
        for line in self.log_lines():
            m = re.match(r"monitor\[(\d+)\] name=(.*) primary=(true|false) bounds=(\d+)x(\d+) "
                         r"@\((-?\d+),(-?\d+)\) work=(\d+)x(\d+) id=(.*)$", line)
            if m:
                mons.append({"name": m.group(2), "primary": m.group(3) == "true",
                             "w": int(m.group(4)), "h": int(m.group(5)),
                             "x": int(m.group(6)), "y": int(m.group(7)), "id": m.group(10)})
        if not mons:
            raise Failure("--list-monitors wrote no monitor line; log: %r" % self.log_lines())
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
                    "t": int(fields.get("t", 0)), "maximized_at": int(fields.get("maximized_at", 0))}
        except (FileNotFoundError, ValueError, IndexError):
            return None

    def wait_rect(self, report, rect, timeout=30, tolerance=2):
        def ok():
            r = self.read_report(report)
            return r and not r["zoomed"] and all(abs(a - b) <= tolerance for a, b in zip(r["rect"], rect))
        self.wait_for("window at %r (last report %r)" % (rect, self.read_report(report)), ok, timeout)

    def xdo(self, *args):
        subprocess.run(["xdotool"] + list(args), check=True, env=self.env)

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


# --- scenarios -------------------------------------------------------------------

@scenario
def list_monitors(run):
    mons = run.monitors()
    m = mons[0]
    if not (m["primary"] and m["w"] > 0 and m["h"] > 0 and m["id"]):
        raise Failure("unexpected monitor line %r" % m)


@scenario
def uninstall_cleanup(run):
    key = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
    subprocess.run(["wine", "reg", "add", key, "/v", "Tilewright", "/d", "x", "/f"], env=run.env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    run.start_app("--uninstall-cleanup").wait(timeout=60)
    q = subprocess.run(["wine", "reg", "query", key, "/v", "Tilewright"], env=run.env,
                       capture_output=True, text=True)
    if q.returncode == 0 and "Tilewright" in q.stdout:
        raise Failure("the Run value survived --uninstall-cleanup: %r" % q.stdout)


@scenario
def legacy_settings_rewritten(run):
    mon = run.monitors()[0]
    run.write_settings('''{
  "AutoStart": false,
  "StartMinimized": true,
  "ActiveLayout": "50-50-left",
  "CustomLayouts": [ { "Name": "Halves", "Zones": [[0.0, 0.0, 0.5, 1.0], [0.5, 0.0, 1.0, 1.0]] } ],
  "Toolbar": {"pinned": [1, 2], "note": "kept as written"},
  "AccentColor": "#00FF00"
}''')
    run.start_app()
    def rewritten():
        try:
            with open(run.settings_path) as f:
                text = f.read()
        except FileNotFoundError:
            return None
        return text if '"Screens": [' in text else None
    text = run.wait_for("settings.json in the writer's format", rewritten)
    want = [
        '  "AccentColor": "#00ff00",\n',
        '  "Screens": [{ "Id": "%s", "Name": "%s", "Enabled": true, "CoverTaskbar": false, '
        '"ActiveLayout": "Halves" }],\n' % (mon["id"].replace("\\", "\\\\"), mon["name"]),
        '"Zones": [[0, 0, 0.5, 1], [0.5, 0, 1, 1]]',
        '  "Toolbar": {"pinned": [1, 2], "note": "kept as written"}\n}\n',
    ]
    for w in want:
        if w not in text:
            raise Failure("settings.json lacks %r:\n%s" % (w, text))
    for gone in ('"CustomLayouts"', '"ActiveLayout": "50-50-left"', '"primary-legacy"'):
        if gone in text:
            raise Failure("settings.json still holds %s:\n%s" % (gone, text))


@scenario
def second_instance_takes_over(run):
    run.write_screen_settings([layout("Halves", HALVES)], "Halves", auto_start=False,
                              extra={"StartMinimized": False})
    first = run.start_app()
    run.wait_for("the first main window", lambda: subprocess.run(
        ["xdotool", "search", "--name", "^Tilewright$"], env=run.env,
        capture_output=True).returncode == 0)
    second = run.start_app()
    run.wait_for("the first instance to exit", lambda: first.poll() is not None, timeout=20)
    time.sleep(1)
    if second.poll() is not None:
        raise Failure("the second instance exited too")


def engine_with_fixture(run, layouts, active, cursor, fixture_args=(), title="Fixture"):
    mon = run.write_screen_settings(layouts, active)
    run.xdo("mousemove", str(cursor[0]), str(cursor[1]))
    run.start_app("--tray")
    report = os.path.join(run.dir, "fixture.txt")
    run.start_fixture(title, report, *fixture_args)
    run.wait_for("the fixture window", lambda: run.read_report(report))
    return mon, report


@scenario
def maximised_window_confined_to_zone_under_cursor(run):
    mon, report = engine_with_fixture(run, [layout("Halves", HALVES)], "Halves", (1500, 500),
                                      ("--maximize-after", "1500"))
    w, h = mon["w"], mon["h"]
    run.wait_rect(report, (w // 2, 0, w, h))
    run.wait_log(r"^confiner: CONFINE hwnd=-?\d+ cls='TilewrightFixture' -> \[%d,0,%d,%d\] "
                 r"\(was zoomed=true, held=false\)$" % (w // 2, w, h))


@scenario
def fighting_window_is_surrendered(run):
    engine_with_fixture(run, [layout("Halves", HALVES)], "Halves", (300, 500),
                        ("--maximize-after", "1500", "--remaximize", "1000"))
    run.wait_log(r"^confiner: CONFINE hwnd=")
    run.wait_log(r"^confiner: surrender hwnd=-?\d+ after \d+ rounds \(hold dropped\)$", timeout=30)


def press_in_window(run, report, keys):
    """Clicks into the fixture window, then presses the keys. Without a window manager
    the X keyboard focus can be left on no window after another program moved the
    foreground window, and Wine then sees no keys at all; a click puts it back."""
    r = run.read_report(report)["rect"]
    run.xdo("mousemove", str((r[0] + r[2]) // 2), str((r[1] + r[3]) // 2))
    run.xdo("click", "1")
    run.xdo("key", keys)


@scenario
def hotkeys_move_between_zones(run):
    mon, report = engine_with_fixture(run, [layout("Thirds", THIRDS)], "Thirds", (960, 500),
                                      ("--maximize-after", "1500"))
    w, h = mon["w"], mon["h"]
    x1, x2 = round(w / 3), round(2 * w / 3)
    run.wait_rect(report, (x1, 0, x2, h))
    press_in_window(run, report, "ctrl+alt+a")
    run.wait_rect(report, (0, 0, x1, h))
    run.wait_log(r"^move_active_window: Left pressed$")
    press_in_window(run, report, "ctrl+alt+a")
    run.wait_log(r"^move_active_window: no destination Left \(edge or no zones\)$")
    press_in_window(run, report, "ctrl+alt+d")
    run.wait_rect(report, (x1, 0, x2, h))
    press_in_window(run, report, "ctrl+alt+d")
    run.wait_rect(report, (x2, 0, w, h))


@scenario
def shift_drag_snaps_to_zone(run):
    mon, report = engine_with_fixture(run, [layout("Halves", HALVES)], "Halves", (10, 10),
                                      ("--rect", "100,100,700,500"))
    w, h = mon["w"], mon["h"]
    run.xdo("mousemove", "400", "300")
    run.xdo("click", "1")
    run.wait_for("the fixture in the foreground",
                 lambda: (run.read_report(report) or {}).get("foreground"))
    run.xdo("keydown", "shift")
    run.xdo("mousedown", "1")
    for x in range(420, 1500, 120):
        run.xdo("mousemove", str(x), "320")
        time.sleep(0.05)
    run.xdo("mouseup", "1")
    run.xdo("keyup", "shift")
    run.wait_log(r"^SNAP hwnd=-?\d+ cls='TilewrightFixture' -> \[%d,0,%d,%d\]$" % (w // 2, w, h))
    run.wait_rect(report, (w // 2, 0, w, h))
    run.wait_log(r"^re-snap hwnd=-?\d+ -> \[%d,0,%d,%d\]$" % (w // 2, w, h))


@scenario
def overlay_over_maximised_window(run):
    """The zone lines over a desktop with a confined window; the screenshot stays in
    the scenario's folder (build/windows/e2e/overlay_over_maximised_window/desktop.png)."""
    mon, report = engine_with_fixture(run, [layout("Halves", HALVES)], "Halves", (1500, 500),
                                      ("--maximize-after", "1500"))
    w, h = mon["w"], mon["h"]
    run.wait_rect(report, (w // 2, 0, w, h))
    run.xdo("mousemove", str(w // 4), str(h // 4))
    def lines_visible():
        png = run.screenshot("desktop")
        # The frame and the shared border lie over the desktop and over the window.
        return all(run.pixel(png, x, h // 2) == ACCENT for x in (0, 1, w // 2 - 1, w // 2, w - 2, w - 1)) \
            and run.pixel(png, w // 4, h // 2) != ACCENT and run.pixel(png, 3 * w // 4, h // 2) != ACCENT
    run.wait_for("accent zone lines at x=0, %d, %d and the screen edge" % (w // 2 - 1, w // 2),
                 lines_visible, timeout=30)


@scenario
def overlay_region_is_the_zone_outline(run):
    """The running program's overlay window, read from outside with GetWindowRgn."""
    mon = run.write_screen_settings([layout("Halves", HALVES)], "Halves")
    run.start_app("--tray")
    w, h = mon["w"], mon["h"]

    def overlays():
        out = subprocess.run(["wine", run.region_probe, "TilewrightOverlay"], env=run.env,
                             capture_output=True, text=True).stdout.split("\n")
        windows = []
        for line in out:
            parts = line.split()
            if parts[:1] == ["window"]:
                windows.append({"rect": tuple(int(v) for v in parts[1:5]), "region": []})
            elif parts[:1] == ["rect"] and windows:
                windows[-1]["region"].append(tuple(int(v) for v in parts[1:5]))
        return windows if windows and windows[0]["region"] else None

    windows = run.wait_for("an overlay window with a region", overlays)
    if len(windows) != 1 or windows[0]["rect"] != (0, 0, w, h):
        raise Failure("expected one overlay over the whole monitor: %r" % windows)
    region = windows[0]["region"]

    def inside(x, y):
        return any(l <= x < r and t <= y < b for l, t, r, b in region)
    y = h // 2
    probes = {(0, y): True, (1, y): True, (2, y): False, (w // 4, y): False,
              (w // 2 - 2, y): False, (w // 2 - 1, y): True, (w // 2, y): True,
              (w // 2 + 1, y): False, (w - 2, y): True, (w - 1, y): True,
              (w // 4, 0): True, (w // 4, 1): True, (w // 4, 2): False, (w // 4, h - 1): True}
    wrong = [(p, want) for p, want in probes.items() if inside(*p) != want]
    if wrong:
        raise Failure("region differs at %r; region: %r" % (wrong, region))


def main_window_origin(run):
    """Top-left corner of the visible main window, from the X server."""
    def find():
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tilewright$",
                              "getwindowgeometry"], env=run.env, capture_output=True, text=True)
        m = re.search(r"Position: (-?\d+),(-?\d+)", out.stdout)
        return (int(m.group(1)), int(m.group(2))) if m else None
    return run.wait_for("the main window", find)


def overlay_lines(run):
    """{x: True} for the columns x on the overlay's middle row that belong to its region."""
    out = subprocess.run(["wine", run.region_probe, "TilewrightOverlay"], env=run.env,
                         capture_output=True, text=True).stdout
    rects = [tuple(int(v) for v in l.split()[1:5]) for l in out.split("\n") if l.startswith("rect ")]
    if not rects:
        return None
    y = max(b for _, _, _, b in rects) // 2
    return {x: True for l, t, r, b in rects if t <= y < b for x in range(l, r)}


def overlay_count(run):
    out = subprocess.run(["wine", run.region_probe, "TilewrightOverlay"], env=run.env,
                         capture_output=True, text=True).stdout
    return sum(1 for line in out.split("\n") if line.startswith("window ") and "visible=1" in line)


@scenario
def main_window_controls_the_engine(run):
    """The drawn main window: Stop and Start, and choosing a layout from its list."""
    run.write_screen_settings([layout("Thirds", THIRDS), layout("Halves", HALVES)], "Thirds",
                              extra={"StartMinimized": False})
    run.start_app()
    x, y = main_window_origin(run)
    run.wait_for("the zone overlay", lambda: overlay_count(run) == 1)

    def click(dx, dy):
        run.xdo("mousemove", str(x + dx), str(y + dy))
        run.xdo("click", "1")

    click(80, 74)  # Stop (the start/stop button of the first card)
    run.wait_for("the engine to stop", lambda: overlay_count(run) == 0)
    click(80, 74)  # Start
    run.wait_for("the engine to start again", lambda: overlay_count(run) == 1)

    click(120, 366)  # the current layout field opens the list
    click(120, 422)  # its second row: Halves
    def saved():
        with open(run.settings_path) as f:
            return '"ActiveLayout": "Halves"' in f.read()
    run.wait_for("the chosen layout in settings.json", saved)
    # The engine starts over with the new zones: the overlay shows one border, in the middle.
    w = run.monitors_seen[0]["w"]
    run.wait_for("the overlay of the two halves",
                 lambda: (overlay_lines(run) or {}).get(w // 2) and not (overlay_lines(run) or {}).get(round(w / 3)))
    run.screenshot("main")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("name", nargs="?")
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--exe")
    ap.add_argument("--fixture")
    ap.add_argument("--region-probe")
    ap.add_argument("--out", default="build/e2e")
    args = ap.parse_args()
    if args.list:
        print("\n".join(SCENARIOS))
        return 0
    run = Run(args.name, args)
    try:
        SCENARIOS[args.name](run)
        print("e2e %s: passed" % args.name)
        return 0
    except Failure as e:
        print("e2e %s: FAILED: %s" % (args.name, e))
        return 1
    finally:
        run.stop_all()


if __name__ == "__main__":
    sys.exit(main())
