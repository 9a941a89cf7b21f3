"""Several monitors: the real program on three monitors (one left of the primary at
negative coordinates, a smaller one on its right), including switching monitors off and
on while it runs. Coordinates are Windows' own; the X screen is shifted by the harness."""
from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)
from scenarios.share import BANDS, band_colours, mirrors, snapshot

GRID = [[0, 0, 0.5, 0.5], [0.5, 0, 1, 0.5], [0, 0.5, 0.5, 1], [0.5, 0.5, 1, 1]]
LAYOUTS = {"primary": ("Thirds", THIRDS), "left": ("Halves", HALVES), "right": ("Grid", GRID)}

# The zones in pixels: Thirds on the primary, Halves on the left, a 2 x 2 grid on the
# smaller right monitor.
L1, L2 = (-1920, 0, -960, 1080), (-960, 0, 0, 1080)
P1, P2, P3 = (0, 0, 640, 1080), (640, 0, 1280, 1080), (1280, 0, 1920, 1080)
Q1, Q2, Q3, Q4 = (1920, 0, 2560, 512), (2560, 0, 3200, 512), (1920, 512, 2560, 1024), (2560, 512, 3200, 1024)


def by_place(mons):
    """The three monitors by where they are; fails unless the display is the expected one."""
    places = {}
    for m in mons:
        places["primary" if m["primary"] else "left" if m["x"] < 0 else "right"] = m
    want = {"primary": (0, 0, 1920, 1080), "left": (-1920, 0, 1920, 1080), "right": (1920, 0, 1280, 1024)}
    got = {k: (m["x"], m["y"], m["w"], m["h"]) for k, m in places.items()}
    if len(mons) != 3 or got != want:
        raise Failure("expected three monitors %r, the program lists %r" % (want, mons))
    return places


def start_engine(run, cursor=(960, 540), *options):
    """Settings with a layout of its own for each monitor, the engine started at launch."""
    places = by_place(run.monitors())
    screens, lays = [], []
    for place in ("primary", "left", "right"):
        m = places[place]
        name, zones = LAYOUTS[place]
        screens.append({"Id": m["id"], "Name": m["name"], "Enabled": True, "CoverTaskbar": True,
                        "ActiveLayout": name})
        lays.append(dict(layout(name, zones), Screen=m["id"]))
    run.write_settings(json.dumps({"AutoStart": True, "StartMinimized": True, "HideToTray": True,
                                   "Screens": screens, "ScreenLayouts": lays,
                                   "SelectedScreen": places["primary"]["id"]}, indent=2))
    run.move_mouse(*cursor)
    run.start_app("--tray", *options)
    wait_overlays(run, [(0, 0, 1920, 1080), (-1920, 0, 0, 1080), (1920, 0, 3200, 1024)])
    return places


def overlay_windows(run):
    out = run.probe(run.region_probe, "TilewrightOverlay")
    return sorted(tuple(int(v) for v in l.split()[1:5]) for l in out.split("\n")
                  if l.startswith("window ") and "visible=1" in l)


def wait_overlays(run, areas):
    want = sorted(areas)
    run.wait_for("overlays over %r (seen %r)" % (want, overlay_windows(run)),
                 lambda: overlay_windows(run) == want, timeout=60)


def confined_fixture(run, name, rect, cursor, zone):
    """A fixture window at rect that maximises itself with the cursor at `cursor`, held in `zone`."""
    run.move_mouse(*cursor)
    report = os.path.join(run.dir, name + ".txt")
    run.start_fixture(name, report, "--rect", ",".join(map(str, rect)), "--maximize-after", "1000")
    run.wait_rect(report, zone)
    return report


def press_in(run, report, keys):
    """Clicks into the window (without a window manager the X keyboard focus can be on
    no window after another program moved the foreground window), then presses keys."""
    r = run.read_report(report)["rect"]
    run.move_mouse((r[0] + r[2]) // 2, (r[1] + r[3]) // 2)
    run.xdo("click", "1")
    run.wait_for("the fixture in the foreground", lambda: (run.read_report(report) or {}).get("foreground"))
    run.xdo("key", keys)


def rect_re(r):
    return r"\[%d,%d,%d,%d\]" % r


@scenario(display=ThreeMonitors)
def three_monitors_listed_named_and_saved(run):
    mons = run.monitors()
    by_place(mons)
    # Primary first, then by left edge. Wine gives each output's monitor the friendly
    # name of its own device (\\.\DISPLAY1 to 3 in output order), so the left monitor,
    # listed second, keeps the name of the third device.
    order = [(m["x"], m["name"]) for m in mons]
    if order != [(0, "Display1"), (-1920, "Display3"), (1920, "Display2")]:
        raise Failure("screens listed as %r" % order)
    if len({m["id"] for m in mons}) != 3:
        raise Failure("screen ids are not distinct: %r" % mons)
    run.start_app()

    def saved():
        try:
            with open(run.settings_path) as f:
                data = json.load(f)
        except (FileNotFoundError, ValueError):
            return None
        return data if len(data.get("Screens", [])) == 3 else None
    data = run.wait_for("settings.json with three screens", saved)
    got = [(s["Id"], s["Name"], s["Enabled"]) for s in data["Screens"]]
    if got != [(m["id"], m["name"], True) for m in mons]:
        raise Failure("screen entries %r for monitors %r" % (got, mons))
    for s in data["Screens"]:
        names = [l["Name"] for l in data["ScreenLayouts"] if l["Screen"] == s["Id"]]
        if s["ActiveLayout"] not in names:
            raise Failure("screen %s has no layout %r of its own: %r" % (s["Name"], s["ActiveLayout"], names))
    if data["SelectedScreen"] != mons[0]["id"]:
        raise Failure("the selected screen is %r, not the primary" % data["SelectedScreen"])


@scenario(display=ThreeMonitors)
def maximised_windows_confined_on_each_monitor(run):
    """Each window is restored from a rectangle in another zone than the cursor's, so the
    zone is the cursor's; the screenshot shows the three monitors' zones over them
    (build/windows/e2e/maximised_windows_confined_on_each_monitor/three-monitors.png)."""
    start_engine(run)
    for name, rect, cursor, zone in [("Left", (-1800, 100, -1100, 700), (-300, 500), L2),
                                     ("Primary", (100, 100, 800, 700), (960, 300), P2),
                                     ("Right", (2000, 100, 2500, 450), (3000, 900), Q4)]:
        confined_fixture(run, name, rect, cursor, zone)
        run.wait_log(r"^confiner: CONFINE hwnd=-?\d+ cls='TilewrightFixture' -> %s \(was zoomed=true, "
                     r"held=false\)$" % rect_re(zone))
    run.move_mouse(960, 1070)
    ox, oy = run.display.origin()
    # (x, y) that must be accent: the monitors' outer frames, the shared borders, and the
    # grid's horizontal line; a point inside a zone must not be.
    lines = [(-1920, 540), (-961, 540), (-960, 540), (-1, 540), (0, 540), (639, 540), (640, 540),
             (1279, 540), (1919, 540), (1920, 300), (2559, 300), (2560, 300), (2300, 511), (2300, 512),
             (3199, 800), (2300, 1023)]
    inside = [(-1400, 540), (960, 540), (2300, 300), (2900, 800)]

    def drawn():
        png = run.screenshot("three-monitors")
        return all(run.pixel(png, x + ox, y + oy) == ACCENT for x, y in lines) and \
            all(run.pixel(png, x + ox, y + oy) != ACCENT for x, y in inside)
    run.wait_for("the zone lines of all three monitors on screen", drawn)


@scenario(display=ThreeMonitors)
def hotkeys_move_across_monitors(run):
    start_engine(run)
    report = confined_fixture(run, "Mover", (1300, 100, 1800, 700), (1600, 500), P3)
    # Into the smaller monitor at the zone nearest the window's centre line (y = 540),
    # to its outer edge, and back across both borders to the far left edge.
    for keys, want in [("ctrl+alt+d", Q3), ("ctrl+alt+d", Q4), ("ctrl+alt+d", "Right"),
                       ("ctrl+alt+a", Q3), ("ctrl+alt+a", P3), ("ctrl+alt+a", P2), ("ctrl+alt+a", P1),
                       ("ctrl+alt+a", L2), ("ctrl+alt+a", L1), ("ctrl+alt+a", "Left")]:
        before = run.read_report(report)["rect"]
        press_in(run, report, keys)
        if isinstance(want, tuple):
            run.wait_rect(report, want)
        else:
            run.wait_log(r"^move_active_window: no destination %s \(edge or no zones\)$" % want)
            if run.read_report(report)["rect"] != before:
                raise Failure("%s at the outermost edge moved the window" % keys)
    run.wait_log(r"^move_active_window: cross-monitor Left to RECT \{ left: -960, top: 0, right: 0, bottom: 1080 \}$")


@scenario(display=ThreeMonitors)
def shift_drag_between_monitors(run):
    start_engine(run, cursor=(10, 10))
    report = os.path.join(run.dir, "dragged.txt")
    run.start_fixture("Dragged", report, "--rect", "300,200,900,700")
    run.wait_for("the fixture window", lambda: run.read_report(report))
    for start, end, zone in [((600, 450), (2900, 200), Q2), ((2880, 256), (-1500, 800), L1)]:
        run.move_mouse(*start)
        run.xdo("click", "1")
        run.wait_for("the fixture in the foreground", lambda: (run.read_report(report) or {}).get("foreground"))
        run.shift_drag(start, end)
        run.wait_log(r"^SNAP hwnd=-?\d+ cls='TilewrightFixture' -> %s$" % rect_re(zone))
        run.wait_rect(report, zone)


@scenario(display=ThreeMonitors)
def monitors_switched_off_and_on(run):
    """Both side monitors go while windows are held there, then come back."""
    places = start_engine(run)
    right = confined_fixture(run, "OnRight", (2000, 100, 2500, 450), (3000, 900), Q4)
    left = confined_fixture(run, "OnLeft", (-1800, 100, -1100, 700), (-1500, 500), L1)
    saved_at = os.path.getmtime(run.settings_path)
    gone = run.display.switch_off((-960, 540), (2560, 512))

    wait_overlays(run, [(0, 0, 1920, 1080)])
    # Not left on monitors that are gone: each is held in the nearest zone of the primary.
    run.wait_rect(right, P3)
    run.wait_rect(left, P1)
    run.wait_log(r"^confiner: bring back hwnd=-?\d+ from a monitor that is gone -> %s$" % rect_re(P3))
    run.wait_for("settings.json saved after the change", lambda: os.path.getmtime(run.settings_path) > saved_at)
    with open(run.settings_path) as f:
        data = json.load(f)
    for place, (name, _) in LAYOUTS.items():
        sid = places[place]["id"]
        if not any(s["Id"] == sid for s in data["Screens"]) or \
                not any(l["Screen"] == sid and l["Name"] == name for l in data["ScreenLayouts"]):
            raise Failure("the %s screen or its layout %s left settings.json:\n%r" % (place, name, data))
    press_in(run, right, "ctrl+alt+a")  # the engine still runs
    run.wait_rect(right, P2)

    run.display.switch_on(gone)
    wait_overlays(run, [(0, 0, 1920, 1080), (-1920, 0, 0, 1080), (1920, 0, 3200, 1024)])
    # Their zones are back with the old layouts: the grid on the right, halves on the left.
    press_in(run, right, "ctrl+alt+d")
    run.wait_rect(right, P3)
    press_in(run, right, "ctrl+alt+d")
    run.wait_rect(right, Q3)
    press_in(run, left, "ctrl+alt+a")
    run.wait_rect(left, L2)
    with open(run.settings_path) as f:
        data = json.load(f)
    if len(data["Screens"]) != 3:
        raise Failure("screen entries after the monitors came back: %r" % data["Screens"])


@scenario(display=ThreeMonitors)
def share_on_the_monitor_left_of_the_primary(run):
    """The mirror lies exactly over the zone at negative coordinates and holds that zone's
    own pixels, not those of the same place on the primary."""
    start_engine(run, (960, 540), "--test-mirror-snapshots")
    report = os.path.join(run.dir, "pattern.txt")
    rect = (-1820, 100, -1180, 500)
    run.start_fixture("Pattern", report, "--rect", ",".join(map(str, rect)), "--pattern", "1")
    run.wait_for("the fixture window", lambda: run.read_report(report))
    press_in(run, report, "ctrl+alt+1")  # the click also reverses the fixture's bands
    run.wait_log(r"^zone_share: sharing zone 1 of .* %s$" % rect_re(L1))
    found = run.wait_for("the mirror window shown", lambda: [m for m in mirrors(run)[0] if m["visible"]])
    if [m["rect"] for m in found] != [L1]:
        raise Failure("mirror windows %r, not one over %r" % (found, L1))
    # In the mirror's image the zone's top left corner is (0, 0).
    in_image = (rect[0] - L1[0], rect[1] - L1[1], rect[2] - L1[0], rect[3] - L1[1])
    for reversed_order in (True, False):
        want = list(reversed(BANDS)) if reversed_order else BANDS
        seen = []

        def shown():
            image = snapshot(run)
            seen[:] = band_colours(image, in_image) if image and image[:2] == (960, 1080) else []
            return seen == want
        try:
            run.wait_for("the fixture's bands in the mirror", shown, timeout=60)
        except Failure as e:
            raise Failure("%s; the mirror shows %r" % (e, seen))
        if reversed_order:
            run.screenshot("sharing-left")
        run.xdo("click", "1")  # the cursor is still over the fixture: its bands turn back
    # The left monitor goes away: its share ends instead of mirroring nothing off screen.
    gone = run.display.switch_off((-960, 540))
    run.wait_log(r"^zone_share: closing a share whose zone went away or moved with the display change$")
    run.wait_for("the mirror window gone", lambda: not [m for m in mirrors(run)[0] if m["visible"]])
    run.display.switch_on(gone)
