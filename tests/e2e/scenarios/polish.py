"""What a user meets around the edges: zone lines that let clicks through, a window
closed while minimised that comes back where it was, hand-edited zones far beyond the
screen, and long layout names in the main window (closed and open list, both themes)."""
from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)


@scenario
def click_on_zone_line_reaches_window_beneath(run):
    """A press exactly on the line between two zones, drawn over a window, lands in
    that window (both pixel columns of the line)."""
    mon = run.write_screen_settings([layout("Halves", HALVES)], "Halves")
    w, h = mon["w"], mon["h"]
    report = os.path.join(run.dir, "fixture.txt")
    # The window first, the overlay after it: the line then lies over the window.
    run.start_fixture("Beneath", report, "--rect", "%d,200,%d,700" % (w // 2 - 300, w // 2 + 300))
    run.wait_for("the fixture window", lambda: run.read_report(report))
    run.start_app("--tray")
    run.xdo("mousemove", "20", str(h - 20))

    def line_over_window():
        png = run.screenshot("line_over_window")
        return all(run.pixel(png, x, 450) == ACCENT for x in (w // 2 - 1, w // 2)) \
            and run.pixel(png, w // 2 + 1, 450) != ACCENT
    run.wait_for("the zone line drawn over the window", line_over_window)
    clicks = run.read_report(report)["clicks"]
    for x in (w // 2 - 1, w // 2):
        run.xdo("mousemove", str(x), "450")
        run.xdo("click", "1")
        run.wait_for("the press at x=%d in the window (report %r)" % (x, run.read_report(report)),
                     lambda: run.read_report(report)["clicks"] > clicks, timeout=10)
        clicks = run.read_report(report)["clicks"]


def main_window_state(run):
    """(rect, iconic) of the main window, read with GetWindowRect and IsIconic."""
    out = subprocess.run(["wine", run.region_probe, "TilewrightMain"], env=run.env,
                         capture_output=True, text=True).stdout
    m = re.search(r"^window (-?\d+) (-?\d+) (-?\d+) (-?\d+) visible=\d enabled=\d iconic=(\d)", out, re.M)
    return ((int(m.group(1)), int(m.group(2))), m.group(5) == "1") if m else None


@scenario
def window_closed_while_minimised_comes_back_where_it_was(run):
    run.write_screen_settings([layout("Halves", HALVES)], "Halves", auto_start=False,
                              extra={"StartMinimized": False, "WindowPos": [300, 200]})
    first = run.start_app()
    x, y = main_window_origin(run)
    if (x, y) != (300, 200):
        raise Failure("the window did not start at its saved position: %r" % ((x, y),))
    run.xdo("mousemove", str(x + 580 - 60), str(y + 20))  # the minimise glyph
    run.xdo("click", "1")
    run.wait_for("the main window minimised", lambda: (main_window_state(run) or (None, False))[1])
    # A newer instance ends this one while it is minimised.
    run.start_app()
    run.wait_for("the first instance to exit", lambda: first.poll() is not None, timeout=30)
    with open(run.settings_path) as f:
        saved = json.load(f).get("WindowPos")
    if saved != [300, 200]:
        raise Failure("WindowPos after closing while minimised is %r, not [300, 200]" % saved)
    run.wait_for("the new window at the old place",
                 lambda: (main_window_state(run) or ((0, 0), True)) == ((300, 200), False))


@scenario
def hostile_zone_keeps_maximised_window_on_its_monitor(run):
    """Zones reaching to the ends of the number range are cut to the screen; a zone
    wholly beside it keeps its number but is never a target."""
    hostile = [[-1e308, -1e308, 1e308, 1e308], [1.5, 0, 2, 1]]
    mon = run.write_screen_settings([layout("Hostile", hostile)], "Hostile")
    w, h = mon["w"], mon["h"]
    run.xdo("mousemove", str(w - 20), "500")
    run.start_app("--tray")
    report = os.path.join(run.dir, "fixture.txt")
    run.start_fixture("Fixture", report, "--maximize-after", "1500")
    run.wait_log(r"^monitors: zone 1 \[-2147483648,-2147483648,2147483647,2147483647\] of layout "
                 r"'Hostile' on .* reaches beyond the screen, clipped to \[0,0,%d,%d\]$" % (w, h))
    run.wait_log(r"^monitors: zone 2 \[.*\] of layout 'Hostile' on .* lies outside the screen "
                 r"and is never used$")
    run.wait_rect(report, (0, 0, w, h))
    run.wait_log(r"^confiner: CONFINE hwnd=-?\d+ cls='TilewrightFixture' -> \[0,0,%d,%d\]" % (w, h))


LONG_NAME = "Coding: editor left, browser and terminal right"
VERY_LONG_NAME = "Presentation " + "with a name nobody reads to the end " * 8


def spread(run, png, x0, x1, y0, y1):
    """How far the colours of a strip differ (largest channel range): text that ran
    into an otherwise plain strip makes it large. One convert call for the strip."""
    crop = "%dx%d+%d+%d" % (x1 - x0, y1 - y0, x0, y0)
    out = subprocess.run(["/usr/bin/convert", png, "-crop", crop, "+repage", "-depth", "8", "txt:-"],
                         capture_output=True, text=True, check=True).stdout
    colours = [tuple(int(v) for v in m) for m in re.findall(r"\((\d+),(\d+),(\d+)", out)]
    return max(max(c[i] for c in colours) - min(c[i] for c in colours) for i in range(3))


def near_colour(a, b, tolerance=14):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


@scenario
def long_layout_names_stay_in_their_field(run):
    """The layout field and its open list with long names, in the dark and the light
    theme; screenshots main_{dark,light}_{closed,open}.png stay in the scenario folder.
    The open list scrolls with the wheel and a row picks the layout shown in it."""
    names = [VERY_LONG_NAME, LONG_NAME] + ["Layout %d" % i for i in range(2, 20)]
    run.write_screen_settings([layout(n, HALVES) for n in names], VERY_LONG_NAME, auto_start=False,
                              extra={"StartMinimized": False, "WindowPos": [100, 60],
                                     "Theme": "dark"})
    run.start_app()
    x, y = main_window_origin(run)
    away = (x + 400, y + 700)  # over no widget

    def click(dx, dy):
        run.xdo("mousemove", str(x + dx), str(y + dy))
        run.xdo("click", "1")
        run.xdo("mousemove", *map(str, away))

    def shot(name, painted, strips):
        """Waits for a frame that shows `painted` (a pixel test), then checks that no
        text reached into the strips beside the widgets."""
        def ready():
            png = run.screenshot(name)
            return png if painted(png) else None
        png = run.wait_for("%s painted" % name, ready, timeout=60)
        wide = [(s, spread(run, png, *s)) for s in strips]
        if any(d > 12 for _, d in wide):
            raise Failure("text outside its widget in %s.png: strip spreads %r" % (name, wide))

    # Plain card beside the field (28..228, 352..380): towards "Edit Layouts..." (244..),
    # above it (under the heading) and below it. A name that ran on, or wrapped onto
    # more lines, would reach into one of them.
    closed = [(x + 230, x + 242, y + 355, y + 378), (x + 130, x + 226, y + 347, y + 351),
              (x + 30, x + 226, y + 383, y + 390)]
    # Right of the open list (its shadow ends at 231) over the preferences card, and the
    # empty right part of the row "Layout 2", under the rows of the two long names.
    opened = [(x + 236, x + 242, y + 412, y + 620), (x + 120, x + 215, y + 438, y + 462)]
    thumb = (x + 225, y + 486)  # the list's scroll thumb, near the top of its track
    themes = (("dark", None, lambda c: 20 < c[2] < 90, (125, 119, 151)),
              ("light", 417, lambda c: c[0] > 200, (188, 187, 191)))
    for theme, segment_x, background, thumb_colour in themes:
        if segment_x:
            click(segment_x, 20)
        shot("main_%s_closed" % theme, lambda png: background(run.pixel(png, x + 250, y + 5))
             and not near_colour(run.pixel(png, *thumb), thumb_colour), closed)
        click(120, 366)  # the layout field opens its list
        shot("main_%s_open" % theme, lambda png: near_colour(run.pixel(png, *thumb), thumb_colour),
             opened)
        click(120, 366)  # and closes it
    # Open again: one wheel notch down over the list brings the fourth layout to the top.
    def scrolled_pixel(px, py):
        return run.pixel(run.screenshot("main_light_scrolled"), px, py)
    click(120, 366)
    run.wait_for("the list open", lambda: near_colour(scrolled_pixel(*thumb), (188, 187, 191)),
                 timeout=60)
    run.xdo("mousemove", str(x + 120), str(y + 450))
    run.xdo("click", "5")
    # The thumb leaves the first row, which no longer holds the active layout.
    run.wait_for("the thumb moved down",
                 lambda: near_colour(scrolled_pixel(x + 225, y + 390), (255, 255, 255)), timeout=60)
    click(120, 380 + 14)  # the first row in view

    def active():
        with open(run.settings_path) as f:
            return json.load(f)["Screens"][0]["ActiveLayout"]
    run.wait_for("Layout 3 chosen from the scrolled list", lambda: active() == "Layout 3")
