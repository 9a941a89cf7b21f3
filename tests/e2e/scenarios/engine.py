"""The placement engine: confinement, surrender, hotkey moves, Shift-drag, overlays."""
from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)


def engine_with_fixture(run, layouts, active, cursor, fixture_args=(), title="Fixture"):
    mon = run.write_screen_settings(layouts, active)
    run.xdo("mousemove", str(cursor[0]), str(cursor[1]))
    run.start_app("--tray")
    # The engine's hooks are in place once its overlay shows: a drag or click before that
    # never reaches it, and a loaded machine can take seconds to start the program.
    run.wait_for("the zone overlay", lambda: overlay_count(run) >= 1, timeout=60)
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
    run.shift_drag((400, 300), (1500, 320))
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
        out = run.probe(run.region_probe, "TilewrightOverlay").split("\n")
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
