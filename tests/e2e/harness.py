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
        self.installer = getattr(args, "installer", None)
        self.portable_zip = getattr(args, "portable_zip", None)
        self.image_probe = getattr(args, "image_probe", None)
        self.test_installer = getattr(args, "test_installer", None)
        self.deployment = getattr(args, "deployment", None)
        self.cleanups = []  # called by stop_all, last added first
        self.hotkey_holder = getattr(args, "hotkey_holder", None)
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


# --- probes shared by scenarios ---------------------------------------------------

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
    out = run.probe(run.region_probe, "TilewrightOverlay")
    rects = [tuple(int(v) for v in l.split()[1:5]) for l in out.split("\n") if l.startswith("rect ")]
    if not rects:
        return None
    y = max(b for _, _, _, b in rects) // 2
    return {x: True for l, t, r, b in rects if t <= y < b for x in range(l, r)}


def overlay_count(run):
    out = run.probe(run.region_probe, "TilewrightOverlay")
    return sum(1 for line in out.split("\n") if line.startswith("window ") and "visible=1" in line)
