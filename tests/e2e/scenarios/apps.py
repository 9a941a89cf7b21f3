"""Applications: new windows opening in their application's last zone (with Wine's own
Notepad), the applications left alone, and the dialog that lists them."""
import os
import re
import signal

from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)
from scenarios.dialogs import (click, keys_after_click, screenshot_drawn, settings_bytes,
                               wait_gone, wait_window)

NOTEPAD = r"C:\windows\system32\notepad.exe"
EXCLUDED_LINK = (320, 629)  # "Excluded apps…" in the main window (580 wide, one screen)
THEME_LIGHT = (417, 20)
DIALOG_FIELD = (120, 114)
DIALOG_RUNNING = (230, 150)
DIALOG_FIRST_RUNNING_ROW = (120, 178)


def notepad_windows(run):
    out = run.probe(run.region_probe, "Notepad")
    return [tuple(int(v) for v in m.groups())
            for m in re.finditer(r"^window (-?\d+) (-?\d+) (-?\d+) (-?\d+) visible=1", out, re.M)]


def start_notepad(run):
    run.wine("notepad")
    return run.wait_for("Notepad's window", lambda: (notepad_windows(run) or [None])[0], timeout=60)


def close_notepad(run):
    """Ends Notepad at once, as closing it would, but without letting it store its own
    window position: a reopened Notepad then goes where the system puts it."""
    pid = wine_pid(NOTEPAD) or wine_pid("notepad")
    if not pid:
        raise Failure("no Notepad process")
    os.kill(pid, signal.SIGKILL)
    run.wait_for("Notepad gone", lambda: not notepad_windows(run))


def shift_drag_into_right_zone(run, rect, mon):
    x, y = (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2
    run.move_mouse(x, y)
    run.xdo("click", "1")
    run.shift_drag((x, y), (mon["x"] + mon["w"] * 3 // 4, y))


def near_rect(a, b, tolerance=2):
    return a is not None and all(abs(p - q) <= tolerance for p, q in zip(a, b))


def engine_running(run, extra):
    mon = run.write_screen_settings([layout("Halves", HALVES)], "Halves", extra=extra)
    run.move_mouse(10, 10)
    run.start_app("--tray")
    run.wait_for("the zone overlay", lambda: overlay_count(run) >= 1, timeout=60)
    return mon


def right_half(mon):
    return (mon["x"] + mon["w"] // 2, mon["y"], mon["x"] + mon["w"], mon["y"] + mon["h"])


def notepad_reopens_in_zone_2(run, mon, shot):
    zone = right_half(mon)
    shift_drag_into_right_zone(run, start_notepad(run), mon)
    run.wait_log(r"^SNAP hwnd=-?\d+ cls='Notepad' -> \[%d,%d,%d,%d\]$" % zone)
    run.wait_for("Notepad in zone 2", lambda: near_rect((notepad_windows(run) or [None])[0], zone))
    close_notepad(run)
    start_notepad(run)
    run.wait_log(r"^last_zone: opening hwnd=-?\d+ '[^']*notepad\.exe' cls='Notepad' in zone 2 of "
                 r"'Halves' on .* \[%d,%d,%d,%d\]$" % zone)
    run.wait_for("the new Notepad in zone 2", lambda: near_rect((notepad_windows(run) or [None])[0], zone))
    run.screenshot(shot)
    with open(os.path.join(run.appdata, "Tilewright", "last-zones.txt"), encoding="utf-8") as f:
        text = f.read()
    if not re.search(r"notepad\.exe\tNotepad\t.*\tHalves\t2\n", text, re.I):
        raise Failure("last-zones.txt does not hold Notepad's zone: %r" % text)


@scenario
def notepad_opens_in_its_last_zone(run):
    """Snapped into zone 2, closed and started again, Notepad opens in zone 2."""
    mon = engine_running(run, {"OpenInLastZone": True})
    notepad_reopens_in_zone_2(run, mon, "reopened")


@scenario(display=ThreeMonitors)
def notepad_opens_in_its_last_zone_on_the_right_monitor(run):
    mons = run.monitors()
    mon = max(mons, key=lambda m: m["x"])
    screens = [{"Id": m["id"], "Name": m["name"], "Enabled": True, "CoverTaskbar": True,
                "ActiveLayout": "Halves"} for m in mons]
    lays = [dict(layout("Halves", HALVES), Screen=m["id"]) for m in mons]
    run.write_settings(json.dumps({"AutoStart": True, "StartMinimized": True, "HideToTray": True,
                                   "OpenInLastZone": True, "Screens": screens,
                                   "ScreenLayouts": lays, "SelectedScreen": mons[0]["id"]}))
    run.move_mouse(10, 10)
    run.start_app("--tray")
    run.wait_for("the zone overlays", lambda: overlay_count(run) >= 3, timeout=60)
    notepad_reopens_in_zone_2(run, mon, "reopened-right")


@scenario
def notepad_opens_where_the_system_puts_it_with_the_preference_off(run):
    mon = engine_running(run, {})
    zone = right_half(mon)
    shift_drag_into_right_zone(run, start_notepad(run), mon)
    run.wait_for("Notepad in zone 2", lambda: near_rect((notepad_windows(run) or [None])[0], zone))
    close_notepad(run)
    opened = start_notepad(run)
    time.sleep(3)
    now = (notepad_windows(run) or [None])[0]
    if near_rect(now, zone) or not near_rect(now, opened):
        raise Failure("Notepad was moved from %r to %r with the preference off" % (opened, now))
    if any(l.startswith("last_zone:") for l in run.log_lines()):
        raise Failure("last-zone lines with the preference off")
    if os.path.exists(os.path.join(run.appdata, "Tilewright", "last-zones.txt")):
        raise Failure("zones remembered with the preference off")
    if b"OpenInLastZone" in settings_bytes(run) or b"ExcludedApps" in settings_bytes(run):
        raise Failure("settings.json holds keys of features not in use")


@scenario
def excluded_fixture_is_not_confined_when_maximised(run):
    name = os.path.basename(run.fixture).upper()
    engine_running(run, {"ExcludedApps": [name]})
    run.move_mouse(1500, 500)
    report = os.path.join(run.dir, "fixture.txt")
    run.start_fixture("Fixture", report, "--maximize-after", "1500")
    run.wait_for("the fixture maximised", lambda: (run.read_report(report) or {}).get("zoomed"))
    time.sleep(3)
    if not run.read_report(report)["zoomed"]:
        raise Failure("the excluded fixture was restored: %r" % run.read_report(report))
    if any("CONFINE" in l for l in run.log_lines()):
        raise Failure("the excluded fixture was confined")
    if ('"ExcludedApps": ["%s"]' % name).encode() not in settings_bytes(run):
        raise Failure("the list did not survive the start-up save")


@scenario
def excluded_apps_dialog_adds_and_removes_in_both_themes(run):
    """The link opens the dialog; a typed name and a running application are added and
    saved at once, a row's remove button takes one away; screenshots in both themes."""
    mon = run.write_screen_settings([layout("Halves", HALVES)], "Halves",
                                    extra={"StartMinimized": False, "AutoStart": False})
    report = os.path.join(run.dir, "fixture.txt")
    run.start_fixture("Fixture", report, "--rect", "100,600,500,900")
    run.wait_for("the fixture window", lambda: run.read_report(report))
    run.start_app()
    origin = main_window_origin(run)

    def open_dialog(shot):
        before = run.screenshot(shot + "-main")
        click(run, origin, *EXCLUDED_LINK)
        rect = wait_window(run, "TilewrightExcludedApps", "the excluded apps dialog")
        screenshot_drawn(run, shot, rect, before)
        return rect

    rect = open_dialog("dialog-dark-empty")
    click(run, rect, *DIALOG_FIELD)
    keys_after_click(run)
    run.xdo("type", "vlc.exe")
    run.xdo("key", "Return")
    run.wait_for("vlc.exe saved", lambda: b'"ExcludedApps": ["vlc.exe"]' in settings_bytes(run))
    click(run, rect, *DIALOG_RUNNING)
    time.sleep(1.5)
    run.screenshot("dialog-dark-running")
    click(run, rect, *DIALOG_FIRST_RUNNING_ROW)
    listed = re.compile(rb'"ExcludedApps": \["vlc\.exe", "([^"]+\.exe)"\]')
    picked = run.wait_for("a running application saved",
                          lambda: listed.search(settings_bytes(run))).group(1)
    time.sleep(1)
    run.screenshot("dialog-dark")
    click(run, rect, kExcludedWidth - 54, 214)  # the first row's remove button
    want = b'"ExcludedApps": ["' + picked + b'"]'
    run.wait_for("vlc.exe removed", lambda: want in settings_bytes(run))
    keys_after_click(run, "Escape")
    wait_gone(run, "TilewrightExcludedApps", "the dialog to close")

    click(run, origin, *THEME_LIGHT)
    run.wait_for("the light theme saved", lambda: b'"Theme": "light"' in settings_bytes(run))
    before = run.screenshot("before")
    click(run, origin, *EXCLUDED_LINK)
    rect = wait_window(run, "TilewrightExcludedApps", "the excluded apps dialog")
    time.sleep(3)
    run.screenshot("dialog-light")


kExcludedWidth = 460
