"""Spans: Ctrl during a Shift-drag, a spanned window maximised, the extend shortcuts."""
from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)
from scenarios.command_line import expect
from scenarios.engine import engine_with_fixture, press_in_window


@scenario
def ctrl_shift_drag_spans_two_zones(run):
    """Shift-drag, Ctrl pressed over the first third, released over the second: the
    window takes both thirds. Maximised later, it comes back into that span rather than
    into the zone under the cursor; the extend shortcut then grows it by the third. The
    highlight is kept as span_highlight.png."""
    mon, report = engine_with_fixture(run, [layout("Thirds", THIRDS)], "Thirds", (10, 10),
                                      ("--rect", "100,100,500,400", "--maximize-after", "25000"))
    w, h = mon["w"], mon["h"]
    x2 = round(2 * w / 3)
    run.xdo("mousemove", "300", "250")
    run.xdo("click", "1")
    run.wait_for("the fixture in the foreground",
                 lambda: (run.read_report(report) or {}).get("foreground"))
    run.xdo("keydown", "shift")
    run.xdo("mousedown", "1")
    for x in range(320, 420, 30):
        run.xdo("mousemove", str(x), "260")
        time.sleep(0.05)
    run.xdo("keydown", "ctrl")
    run.wait_log(r"^drag: span anchor zone 1 \[0,0,%d,%d\]$" % (round(w / 3), h))
    for x in range(420, w // 2 + 1, 60):
        run.xdo("mousemove", str(x), "260")
        time.sleep(0.05)
    # The highlight covers both thirds: the part it grew by is painted too.
    def highlight_covers_span():
        png = run.screenshot("span_highlight")
        lit = run.pixel(png, w // 6, h // 2)
        return run.pixel(png, w // 2, h // 2) == lit and run.pixel(png, 5 * w // 6, h // 2) != lit
    run.wait_for("the highlight over zones 1 and 2", highlight_covers_span, timeout=10)
    run.xdo("mouseup", "1")
    run.xdo("keyup", "ctrl")
    run.xdo("keyup", "shift")
    run.wait_log(r"^SNAP hwnd=-?\d+ cls='TilewrightFixture' -> \[0,0,%d,%d\] \(span of zones 1, 2\)$"
                 % (x2, h))
    run.wait_rect(report, (0, 0, x2, h))
    # Over the third zone when the window maximises itself.
    run.xdo("mousemove", str(w - 50), str(h // 2))
    run.wait_log(r"^confiner: hwnd=-?\d+ goes back into the span it was put in \[0,0,%d,%d\]$"
                 % (x2, h), timeout=60)
    run.wait_rect(report, (0, 0, x2, h))
    # Ctrl+Alt+Shift+D grows the span by the third zone; at the screen's edge the extend
    # command changes nothing and says so.
    press_in_window(run, report, "ctrl+alt+shift+d")
    run.wait_log(r"^extend_active_window: hwnd=-?\d+ from span of zones 1, 2 \[0,0,%d,%d\] to span of "
                 r"zones 1, 2, 3 \[0,0,%d,%d\]$" % (x2, h, w, h))
    run.wait_rect(report, (0, 0, w, h))
    expect(run, ["extend", "up"], 3, r"not moved")
    run.wait_log(r"^extend_active_window: hwnd=-?\d+ in span of zones 1, 2, 3 \[0,0,%d,%d\]: no zone "
                 r"Up of it on this monitor, nothing changed$" % (w, h))


@scenario
def extend_shortcut_rebound_in_the_shortcuts_window(run):
    """The extend rows close the shortcuts list: scrolled to its end, Extend left takes
    Ctrl+Alt+Shift+J, which is stored, and Ctrl+Alt+Shift+D keeps its default unwritten."""
    from scenarios.dialogs import change_row, click, open_shortcuts, settings_bytes, start_with_main_window
    _, origin = start_with_main_window(run)
    rect = open_shortcuts(run, origin)
    run.xdo("mousemove", str(rect[0] + 320), str(rect[1] + 300))
    with open(run.screenshot("unscrolled"), "rb") as f:
        shots = [f.read()]
    for _ in range(20):
        run.xdo("click", "5")
    def settled():  # moved, and two screenshots alike: every wheel notch has been handled
        with open(run.screenshot("scrolled"), "rb") as f:
            shots.append(f.read())
        return shots[-1] != shots[0] and shots[-1] == shots[-2]
    run.wait_for("the list scrolled to its end", settled, timeout=30)
    # Scrolled to its end, the list shows rows 13 to 28: Extend left is its 13th line.
    change_row(run, rect, 12)
    run.xdo("key", "ctrl+alt+shift+j")
    click(run, rect, 66, 725)  # Save
    run.wait_log(r"^shortcuts: HotkeyExtendLeft = Ctrl\+Alt\+Shift\+J$")
    text = settings_bytes(run).decode()
    if not re.search(r'"HotkeyExtendLeft": \[7, ?74\]', text) or "HotkeyExtendRight" in text:
        raise Failure("settings.json should hold only the rebound extend shortcut")

