"""Share Zone: the mirror window over a zone with the zone's live image, the dashed
frame around it, the zone overlay leaving the frame's band free, and --test-mirror.
Under Wine desktop duplication is unavailable, so the screen-copy capture runs."""
from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)
from scenarios.engine import press_in_window

# The pattern fixture's bands, left to right (fixture_window.cpp, kBands).
BANDS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (255, 0, 255), (0, 255, 255),
         (255, 255, 255), (255, 128, 0)]
MIRROR_EX_STYLE = 0x80000 | 0x40000 | 0x20 | 0x8  # layered, app window, transparent, topmost


def mirrors(run, *options):
    """The program's mirror windows as the image probe prints them."""
    out = run.probe(run.image_probe, "TilewrightMirror", *options)
    found = []
    for line in out.split("\n"):
        m = re.match(r"window (-?\d+) (-?\d+) (-?\d+) (-?\d+) visible=(\d) exstyle=0x([0-9A-F]+) "
                     r"alpha=(-?\d+) title=(.*)$", line.rstrip("\r"))
        if m:
            found.append({"rect": tuple(int(m.group(i)) for i in range(1, 5)), "visible": m.group(5) == "1",
                          "exstyle": int(m.group(6), 16), "alpha": int(m.group(7)), "title": m.group(8)})
    return found, "snapshot=1" in out


def frames(run):
    """The share frame windows with their regions (window coordinates)."""
    out = run.probe(run.region_probe, "TilewrightShareFrame").split("\n")
    windows = []
    for line in out:
        parts = line.split()
        if parts[:1] == ["window"]:
            windows.append({"rect": tuple(int(v) for v in parts[1:5]), "region": []})
        elif parts[:1] == ["rect"] and windows:
            windows[-1]["region"].append(tuple(int(v) for v in parts[1:5]))
    return windows


def snapshot(run):
    """The image the first mirror window holds, as (width, height, RGB bytes), or None."""
    _, taken = mirrors(run, "--snapshot")
    if not taken:
        return None
    with open(os.path.join(run.tmp, "tilewright-mirror.ppm"), "rb") as f:
        data = f.read()
    magic, w, h, maxval, pixels = data.split(maxsplit=4)
    if magic != b"P6" or maxval != b"255":
        raise Failure("the snapshot is no binary PPM: %r" % data[:20])
    return int(w), int(h), pixels


def band_colours(image, rect):
    """The colour at the centre of each of the fixture's eight bands (screen = image coordinates)."""
    w, _, pixels = image
    band = (rect[2] - rect[0]) // 8
    y = (rect[1] + rect[3]) // 2
    out = []
    for i in range(8):
        x = rect[0] + band * i + band // 2
        o = (y * w + x) * 3
        out.append(tuple(pixels[o:o + 3]))
    return out


def wait_bands(run, rect, reversed_order):
    want = list(reversed(BANDS)) if reversed_order else BANDS
    last = []

    def shown():
        image = snapshot(run)
        last[:] = band_colours(image, rect) if image else []
        return last == want
    try:
        run.wait_for("the fixture's bands in the mirror's image", shown, timeout=60)
    except Failure as e:
        raise Failure("%s; the mirror shows %r" % (e, last))


@scenario
def share_hotkey_mirrors_zone(run):
    mon = run.write_screen_settings([layout("Halves", HALVES), layout("Thirds", THIRDS)], "Halves")
    w, h = mon["w"], mon["h"]
    zone = (0, 0, w // 2, h)
    run.start_app("--tray", "--test-mirror-snapshots")
    run.wait_for("the zone overlay", lambda: overlay_count(run) == 1)
    report = os.path.join(run.dir, "fixture.txt")
    rect = (100, 100, 740, 500)
    run.start_fixture("Pattern", report, "--rect", "%d,%d,%d,%d" % rect, "--pattern", "1")
    run.wait_for("the fixture window", lambda: run.read_report(report))

    # The click that gives the fixture the keyboard also reverses its bands.
    press_in_window(run, report, "ctrl+alt+1")
    run.wait_log(r"^zone_share: sharing zone 1 of .* \[0,0,%d,%d\]$" % zone[2:])
    found = run.wait_for("the mirror window shown", lambda: [m for m in mirrors(run)[0] if m["visible"]])
    m = found[0]
    if len(found) != 1 or m["rect"] != zone or not m["visible"] or m["alpha"] != 0 \
            or m["exstyle"] & MIRROR_EX_STYLE != MIRROR_EX_STYLE or m["title"] != "Tilewright - Share Zone 1":
        raise Failure("unexpected mirror windows %r" % found)

    # The frame: dashes 24 on, 12 off, 2 pixels thick, along the zone's edges.
    fr = run.wait_for("the share frame", lambda: [f for f in frames(run) if f["region"]])
    if len(fr) != 1 or fr[0]["rect"] != zone:
        raise Failure("unexpected frame windows %r" % fr)

    def inside(x, y):
        return any(l <= x < r and t <= y < b for l, t, r, b in fr[0]["region"])
    zw = zone[2] - zone[0]
    probes = {(0, 0): True, (23, 1): True, (24, 0): False, (35, 1): False, (36, 0): True,
              (1, 30): False, (0, 40): True, (zw - 1, 40): True, (zw - 3, 40): False,
              (100, h - 1): False, (110, h - 2): True, (zw // 2, h // 2): False}
    wrong = [(p, want) for p, want in probes.items() if inside(*p) != want]
    if wrong:
        raise Failure("frame region differs at %r" % wrong)

    # The zone overlay leaves the frame's band free; the other zone keeps its lines.
    lines = run.wait_for("overlay lines without zone 1's edges",
                         lambda: (lambda l: l if l and not l.get(w // 2) and l.get(w - 1) else None)(overlay_lines(run)))
    if lines.get(0) or lines.get(w // 2 - 1):
        raise Failure("overlay lines left on the shared zone's edges: %r" % sorted(lines))

    # The zone's pixels reach the mirror, and so does a change.
    wait_bands(run, rect, reversed_order=True)
    run.screenshot("sharing")
    run.xdo("click", "1")  # the cursor is still over the fixture: its bands turn back
    wait_bands(run, rect, reversed_order=False)

    # The hotkey again ends the share: both windows go and the capture thread ends.
    press_in_window(run, report, "ctrl+alt+1")
    run.wait_log(r"^zone_share: capture thread for \[0,0,%d,%d\] stopped$" % zone[2:])
    run.wait_log(r"^zone_share: share of \[0,0,%d,%d\] ended$" % zone[2:])
    run.wait_for("no mirror and no frame", lambda: not mirrors(run)[0] and not frames(run))
    run.wait_for("the overlay's line between the zones again", lambda: (overlay_lines(run) or {}).get(w // 2))
    with open(os.path.join(run.appdata, "Tilewright", "usage.dat")) as f:
        if "count=1\n" not in f.read():
            raise Failure("one share start counts one use")

    # A layout change ends a share too.
    press_in_window(run, report, "ctrl+alt+2")
    run.wait_log(r"^zone_share: mirror window -?\d+ 'Tilewright - Share Zone 2' over \[%d,0,%d,%d\]$" % (w // 2, w, h))
    run.xdo("key", "ctrl+alt+c")
    run.wait_log(r"^zone_share: share of \[%d,0,%d,%d\] ended$" % (w // 2, w, h))
    run.wait_for("no mirror after the layout change", lambda: not mirrors(run)[0])


@scenario
def test_mirror_covers_left_quarter(run):
    mon = run.monitors()[0]
    w, h = mon["w"], mon["h"]
    p = run.start_app("--test-mirror")
    found = run.wait_for("the test mirror", lambda: mirrors(run)[0])
    if [(m["rect"], m["title"]) for m in found] != [((0, 0, w // 4, h), "Zone Share Test")]:
        raise Failure("unexpected test mirror windows %r" % found)
    run.wait_log(r"^zone_share: desktop duplication unavailable; capturing the zone with screen copies$")
    # Closing its window ends the program.
    mirrors(run, "--close")
    run.wait_for("the program to end", lambda: p.poll() is not None)
    run.wait_log(r"^zone_share: share of \[0,0,%d,%d\] ended$" % (w // 4, h))
