"""One keystroke per layout: Apply layout 1 to 9 (Ctrl+Win+Alt+1..9 by default), the
notice that shows the applied layout's zones and name, and the cycle hotkey's notice."""
import json
import os
import re

from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)
from scenarios.engine import engine_with_fixture, press_in_window

NOTICE_BOX = (24, 24, 27)


def active_layout(run):
    with open(run.settings_path, encoding="utf-8") as f:
        return json.load(f)["Screens"][0]["ActiveLayout"]


def notice_screenshot(run, name, mon):
    """A screenshot taken while the notice shows: its box (dark) in the middle of the
    screen. The notice lasts about a second, so the screenshot is retried until one
    catches it."""
    shots = []

    def caught():
        png = run.screenshot(name)
        shots.append(png)
        return run.pixel(png, mon["w"] // 2 - 60, mon["h"] // 2) == NOTICE_BOX
    run.wait_for("a screenshot of the notice", caught, timeout=3)
    return shots[-1]


def visible_notices(run):
    out = run.probe(run.region_probe, "TilewrightLayoutNotice")
    return sum(1 for line in out.split("\n") if line.startswith("window ") and "visible=1" in line)


@scenario
def layout_hotkey_applies_layout_and_shows_notice(run):
    mon, report = engine_with_fixture(run, [layout("Halves", HALVES), layout("Thirds", THIRDS)],
                                      "Halves", (300, 300), ("--rect", "100,100,700,500"))
    w, h = mon["w"], mon["h"]
    # Zones hidden: the notice shows the new ones for a second, and they stay hidden.
    press_in_window(run, report, "ctrl+alt+z")
    run.wait_for("the zones hidden", lambda: overlay_count(run) == 0)
    press_in_window(run, report, "ctrl+super+alt+2")
    run.wait_log(r"^layout_hotkey: layout 2 'Thirds' on screen '.+'$")
    run.wait_log(r"^layout_notice: 'Thirds' on screen '.+' \[0,0,%d,%d\]$" % (w, h))
    png = notice_screenshot(run, "notice_thirds", mon)
    # The zone lines of Thirds (the overlay is hidden: these are the notice's).
    x1 = round(w / 3)
    if run.pixel(png, x1, h // 4) != ACCENT or run.pixel(png, 0, h // 4) != ACCENT:
        raise Failure("the notice does not show the Thirds lines: %s" % png)
    if run.pixel(png, w // 2, h // 2 - 8) == NOTICE_BOX and run.pixel(png, w // 4, h // 4) == NOTICE_BOX:
        raise Failure("the notice box covers more than the middle: %s" % png)
    run.wait_for("Thirds saved", lambda: active_layout(run) == "Thirds")
    if "HotkeyApplyLayout" in open(run.settings_path, encoding="utf-8").read():
        raise Failure("default layout hotkeys were written to settings.json")
    run.wait_for("the notice gone", lambda: visible_notices(run) == 0, timeout=10)
    if overlay_count(run) != 0:
        raise Failure("the hidden zones were shown again by the layout change")
    # The X server repaints the place where the notice was a moment after it is gone.
    run.wait_for("the notice no longer drawn", lambda: run.pixel(run.screenshot("after_notice"),
                                                                  w // 2 - 60, h // 2) != NOTICE_BOX, timeout=10)
    # A number without a layout changes nothing and says so.
    press_in_window(run, report, "ctrl+super+alt+5")
    run.wait_log(r"^layout_hotkey: no layout 5 on screen '.+' \(it has 2\); nothing changed$")
    if active_layout(run) != "Thirds":
        raise Failure("a number without a layout changed the active layout")
    # The cycle hotkey shows the same notice and leaves the zones hidden.
    press_in_window(run, report, "ctrl+alt+c")
    run.wait_log(r"^layout_notice: 'Halves' on screen '.+'")
    run.wait_for("Halves saved", lambda: active_layout(run) == "Halves")
    run.wait_for("the notice gone", lambda: visible_notices(run) == 0, timeout=10)
    if overlay_count(run) != 0:
        raise Failure("the cycle hotkey showed the hidden zones again")


@scenario
def rebound_layout_hotkey(run):
    # Apply layout 2 on Ctrl+Shift+L: the new combination works, the default does not.
    mon = run.write_screen_settings([layout("Halves", HALVES), layout("Thirds", THIRDS)], "Halves",
                                    extra={"HotkeyApplyLayout2": [6, 0x4C]})
    run.xdo("mousemove", "300", "300")
    run.start_app("--tray")
    run.wait_for("the zone overlay", lambda: overlay_count(run) >= 1, timeout=60)
    report = os.path.join(run.dir, "fixture.txt")
    run.start_fixture("Fixture", report, "--rect", "100,100,700,500")
    run.wait_for("the fixture window", lambda: run.read_report(report))
    press_in_window(run, report, "ctrl+super+alt+2")
    press_in_window(run, report, "ctrl+shift+l")
    run.wait_log(r"^layout_hotkey: layout 2 'Thirds' on screen '%s'$" % re.escape(mon["id"]))
    run.wait_for("Thirds saved", lambda: active_layout(run) == "Thirds")
    applied = [l for l in run.log_lines() if l.startswith("layout_hotkey: ")]
    if len(applied) != 1:
        raise Failure("the default combination still applied a layout: %s" % applied)
    if '"HotkeyApplyLayout2": [6, 76],' not in open(run.settings_path, encoding="utf-8").read():
        raise Failure("the rebound layout hotkey was not kept in settings.json")


# --- a layout per virtual desktop ---------------------------------------------------

DESKTOPS_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\VirtualDesktops"


def desktop_guid(n):
    """Desktop n's identifier: 16 bytes of n, as the registry holds it and as text."""
    raw = bytes([n] * 16)
    d1, d2, d3 = raw[3::-1].hex(), raw[5:3:-1].hex(), raw[7:5:-1].hex()
    return raw.hex(), ("{%s-%s-%s-%s-%s}" % (d1, d2, d3, raw[8:10].hex(), raw[10:].hex())).upper()


def set_desktops(run, current, ids):
    run.wine("reg", "add", DESKTOPS_KEY, "/v", "VirtualDesktopIDs", "/t", "REG_BINARY",
             "/d", "".join(desktop_guid(n)[0] for n in ids), "/f", wait=True)
    switch_desktop(run, current)


def switch_desktop(run, n):
    run.wine("reg", "add", DESKTOPS_KEY, "/v", "CurrentVirtualDesktop", "/t", "REG_BINARY",
             "/d", desktop_guid(n)[0], "/f", wait=True)


def desktop_layouts(run):
    with open(run.settings_path, encoding="utf-8") as f:
        return json.load(f).get("DesktopLayouts")


@scenario
def virtual_desktop_switch_applies_its_layout(run):
    # The prefix is shared by every scenario: the desktops are removed again at the end.
    run.wine("reg", "delete", DESKTOPS_KEY, "/f", wait=True)
    run.cleanups.append(lambda: run.wine("reg", "delete", DESKTOPS_KEY, "/f", wait=True))
    d1, d2, d3 = (desktop_guid(n)[1] for n in (1, 2, 3))
    mon = run.monitors()[0]
    choices = [{"Screen": mon["id"], "Desktop": d1, "Layout": "Halves"},
               {"Screen": mon["id"], "Desktop": d2, "Layout": "Thirds"},
               {"Screen": mon["id"], "Desktop": d3, "Layout": "Thirds"}]  # a desktop closed since
    run.write_screen_settings([layout("Halves", HALVES), layout("Thirds", THIRDS)], "Thirds",
                              extra={"DesktopLayouts": choices})
    set_desktops(run, 1, [1, 2])
    run.xdo("mousemove", "300", "300")
    run.start_app("--tray")
    w, h = mon["w"], mon["h"]
    # At start-up desktop 1 is current: its layout, and desktop 3's choice is dropped.
    run.wait_log(r"^virtual_desktop: current desktop %s$" % re.escape(d1))
    run.wait_for("Halves on desktop 1", lambda: active_layout(run) == "Halves")
    run.wait_for("desktop 3's choice dropped", lambda: len(desktop_layouts(run) or []) == 2)

    def lines_at(xs):
        lines = overlay_lines(run)
        return lines is not None and all(lines.get(x) for x in xs)
    run.wait_for("the Halves lines", lambda: lines_at([w // 2 - 1, w // 2]), timeout=60)
    switch_desktop(run, 2)
    run.wait_log(r"^virtual_desktop: screen '.+' takes layout 'Thirds' on desktop %s$" % re.escape(d2))
    run.wait_for("Thirds saved", lambda: active_layout(run) == "Thirds")
    run.wait_for("the Thirds lines", lambda: lines_at([round(w / 3), round(2 * w / 3)]), timeout=60)
    run.screenshot("desktop2_thirds")
    switch_desktop(run, 1)
    run.wait_for("Halves again", lambda: active_layout(run) == "Halves")
    # A layout picked on desktop 1 (here with its hotkey) becomes desktop 1's choice.
    report = os.path.join(run.dir, "fixture.txt")
    run.start_fixture("Fixture", report, "--rect", "100,100,700,500")
    run.wait_for("the fixture window", lambda: run.read_report(report))
    press_in_window(run, report, "ctrl+super+alt+2")
    run.wait_for("desktop 1's choice is Thirds",
                 lambda: {"Screen": mon["id"], "Desktop": d1, "Layout": "Thirds"} in (desktop_layouts(run) or []))
    # Desktop 2 gets Halves the same way; back on desktop 1, its own choice returns.
    switch_desktop(run, 2)
    run.wait_for("desktop 2 current again", lambda: sum(
        1 for l in run.log_lines() if l == "virtual_desktop: current desktop " + d2) == 2)
    press_in_window(run, report, "ctrl+super+alt+1")
    run.wait_for("desktop 2's choice is Halves",
                 lambda: {"Screen": mon["id"], "Desktop": d2, "Layout": "Halves"} in (desktop_layouts(run) or []))
    switch_desktop(run, 1)
    run.wait_for("Thirds back on desktop 1", lambda: active_layout(run) == "Thirds")
    run.wait_for("the Thirds lines again", lambda: lines_at([round(w / 3), round(2 * w / 3)]), timeout=60)
