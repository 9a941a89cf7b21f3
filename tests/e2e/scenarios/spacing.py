"""Spacing between zones: a layout's gap around confined, moved and snapped windows, the
overlay lines in the gaps, and the editor's Spacing stepper."""
import time

from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)
from scenarios.accessibility import ROLE_PUSHBUTTON, a11y_probe, child, settings_json, wait_children
from scenarios.editor import Editor, open_editor, wait_painted
from scenarios.engine import engine_with_fixture, press_in_window
from scenarios.fit import Scaled150

GAP = 8  # Wine's monitor is at 96 DPI: 8 pixels at 100 % stay 8 pixels


@scenario
def spaced_layout_keeps_windows_apart(run):
    """Halves with 8 pixels of spacing: a maximised window is held 8 pixels off the
    screen's edges and 4 off the middle; a keyboard move and a Shift-drag take it to the
    other spaced zone and back; the overlay's lines lie in the gaps (screenshot:
    spaced.png)."""
    mon, report = engine_with_fixture(run, [dict(layout("Halves", HALVES), Spacing=GAP)], "Halves",
                                      (1500, 500), ("--maximize-after", "1500"))
    w, h = mon["w"], mon["h"]
    right = (w // 2 + GAP // 2, GAP, w - GAP, h - GAP)
    run.wait_rect(report, right, tolerance=0)
    run.wait_log(r"^confiner: CONFINE hwnd=-?\d+ cls='TilewrightFixture' -> \[%d,%d,%d,%d\] "
                 r"\(was zoomed=true, held=false\)$" % right)

    lines = run.wait_for("the overlay's region", lambda: overlay_lines(run))
    wanted = {0: True, 1: True, 2: False, GAP: False, w // 2 - 2: False, w // 2 - 1: True,
              w // 2: True, w // 2 + 1: False, right[0]: False, w - 2: True, w - 1: True}
    wrong = {x: want for x, want in wanted.items() if lines.get(x, False) != want}
    if wrong:
        raise Failure("overlay columns differ (x: expected): %r" % wrong)

    run.xdo("mousemove", str(w // 4), str(h // 4))
    def gap_shows_line():
        png = run.screenshot("spaced")
        return run.pixel(png, w // 2, h // 2) == ACCENT and run.pixel(png, w // 2 + 2, h // 2) != ACCENT
    run.wait_for("the accent line in the middle of the gap", gap_shows_line, timeout=30)

    press_in_window(run, report, "ctrl+alt+a")
    run.wait_rect(report, (GAP, GAP, w // 2 - GAP // 2, h - GAP), tolerance=0)
    run.wait_log(r"^move_active_window: Left pressed$")

    # Shift-dragged back to the right, it snaps into the spaced zone (dragging.png shows
    # the highlight on the way).
    run.shift_drag((w // 4, h // 2), (3 * w // 4, h // 2), before_release=lambda: run.screenshot("dragging"))
    run.wait_log(r"^SNAP hwnd=-?\d+ cls='TilewrightFixture' -> \[%d,%d,%d,%d\]$" % right)
    run.wait_rect(report, right, tolerance=0)


@scenario
def editor_sets_the_spacing(run):
    """The Spacing stepper of the edit view: a layout opened with 8 shows 8 px, a click
    on + and a press by a screen reader make it 12, Save stores it with that layout only
    (screenshot: edit.png)."""
    run.write_screen_settings([dict(layout("Halves", HALVES), Spacing=GAP), layout("Thirds", THIRDS)],
                              "Halves", auto_start=False, extra={"StartMinimized": False})
    run.start_app()
    ed = open_editor(run)
    ed.click(200, 84)  # the first row: Halves opens in the edit view
    wait_painted(run, ed.x + 30, ed.y + 70, "the edit view's name field", lambda rgb: max(rgb) > 40)
    time.sleep(0.5)
    ed = Editor(run)  # the window moved up to show the edit view whole
    ed.click(386, 185)  # Spacing +
    # A screen reader finds the stepper by the label beside it, and presses it too.
    rows = wait_children(run, "TilewrightEditor", "the edit view at 10 px",
                         lambda rows: any(r[2] == "10 px" for r in rows))
    if child(rows, "Spacing fewer")[0] != ROLE_PUSHBUTTON:
        raise Failure("Spacing fewer is no button: %r" % (child(rows, "Spacing fewer"),))
    if "pressed=1" not in a11y_probe(run, "press", "TilewrightEditor", "Spacing more"):
        raise Failure("Spacing more could not be pressed")
    wait_children(run, "TilewrightEditor", "the edit view at 12 px",
                  lambda rows: any(r[2] == "12 px" for r in rows))
    ed.move(300, 330)
    time.sleep(0.5)
    run.screenshot("edit")
    ed.keys("Return")  # Save
    run.wait_log(r'^editor: saved layout "Halves" with 2 zones$')

    def stored():
        data = settings_json(run)
        return data and {l["Name"]: l.get("Spacing") for l in data.get("ScreenLayouts", [])}
    spacing = run.wait_for("Halves saved with spacing 12", lambda: (stored() or {}).get("Halves") == 12 and stored())
    if spacing != {"Thirds": None, "Halves": 12}:
        raise Failure("spacing as stored: %r" % spacing)


@scenario(display=Scaled150)
def spaced_layout_scales_at_150_percent(run):
    """At 150 % scaling the same 8 pixels of spacing are 12 pixels of the screen."""
    mon, report = engine_with_fixture(run, [dict(layout("Halves", HALVES), Spacing=GAP)], "Halves",
                                      (1500, 500), ("--maximize-after", "1500"))
    w, h, gap = mon["w"], mon["h"], GAP * 3 // 2
    right = (w // 2 + gap // 2, gap, w - gap, h - gap)
    run.wait_rect(report, right, tolerance=0)
    run.wait_log(r"^confiner: CONFINE hwnd=-?\d+ cls='TilewrightFixture' -> \[%d,%d,%d,%d\] " % right)
