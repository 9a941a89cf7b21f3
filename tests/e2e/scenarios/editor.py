"""The layout manager and grid editor, opened from the main window."""
import time

from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)


def window_origin(run, title, timeout=30):
    """Top-left corner of the visible window with this title, from the X server."""
    def find():
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title,
                              "getwindowgeometry"], env=run.env, capture_output=True, text=True)
        m = re.search(r"Position: (-?\d+),(-?\d+)", out.stdout)
        return (int(m.group(1)), int(m.group(2))) if m else None
    return run.wait_for("the window %r" % title, find, timeout)


def accent(rgb):
    return rgb[2] > 150 and rgb[0] > 90 and rgb[1] < 140


def wait_painted(run, x, y, what, check=accent):
    """Polls screenshots until the pixel at (x, y) passes `check`: Wine draws a new
    window some time after it is mapped, more so on a loaded machine."""
    run.wait_for(what, lambda: check(run.pixel(run.screenshot("poll"), x, y)), timeout=60)


def saved_layouts(run):
    """{name: zones} of the settings file's layouts, None while it cannot be read."""
    try:
        with open(run.settings_path) as f:
            data = json.load(f)
    except (OSError, ValueError):
        return None
    return {l["Name"]: l["Zones"] for l in data.get("ScreenLayouts", [])}


def close_to(zones, expected, tol=1e-9):
    return zones is not None and len(zones) == len(expected) and all(
        abs(a - b) <= tol for z, e in zip(zones, expected) for a, b in zip(z, e))


class Editor:
    """Clicks and keys at positions in DIPs of the editor window (96 DPI under Wine)."""

    def __init__(self, run):
        self.run = run
        self.x, self.y = window_origin(run, "Edit Layouts")

    def move(self, dx, dy):
        self.run.xdo("mousemove", str(self.x + dx), str(self.y + dy))

    def click(self, dx, dy):
        self.move(dx, dy)
        self.run.xdo("click", "1")

    def keys(self, *keys):
        self.run.xdo("key", *keys)

    def type(self, text):
        self.run.xdo("type", "--delay", "30", text)


def open_editor(run):
    """The main window's "Edit Layouts…" link; the editor is then the active window.
    The program takes clicks only once its window has painted; a click that still went
    missing is given again."""
    x, y = main_window_origin(run)
    wait_painted(run, x + 40, y + 74, "the main window's Start or Stop button",
                 lambda rgb: accent(rgb) or rgb[0] > 180)
    for _ in range(3):
        run.xdo("mousemove", str(x + 270), str(y + 367))
        run.xdo("click", "1")
        try:
            window_origin(run, "Edit Layouts", timeout=10)
            break
        except Failure:
            pass
    ed = Editor(run)
    # Its Add button, below two layouts' rows.
    wait_painted(run, ed.x + 30, ed.y + 203, "the editor's first paint")
    return ed


@scenario
def editor_adds_a_layout(run):
    """Add, Shift-click a zone to split it, type a width and a name, Save."""
    run.write_screen_settings([layout("Thirds", THIRDS), layout("Halves", HALVES)], "Thirds",
                              auto_start=False, extra={"StartMinimized": False})
    run.start_app()
    ed = open_editor(run)
    ed.move(200, 84)  # over the first row: its Edit and delete buttons show
    wait_painted(run, ed.x + 150, ed.y + 62, "the hovered row", lambda rgb: rgb[2] > 95)
    run.screenshot("manage")
    ed.click(58, 203)  # Add, below the two rows: three equal columns
    # The edit view is taller than the room below the layout manager: the window moves up
    # so that it shows whole, and the clicks below are relative to its new place.
    wait_painted(run, ed.x + 30, ed.y + 70, "the edit view's name field", lambda rgb: max(rgb) > 40)
    time.sleep(0.5)
    ed = Editor(run)
    wait_painted(run, ed.x + 30, ed.y + 640, "the edit view's Save button")
    ed.run.xdo("keydown", "shift")
    ed.click(340, 320)  # the third zone: an upper and a lower part
    ed.run.xdo("keyup", "shift")
    ed.click(116, 521)  # width of zone 1 (a canvas of 391 x 220 on a 16:9 screen)
    ed.keys("ctrl+a")
    ed.type("50")
    ed.keys("Tab")  # committed: 50 %, the other columns scaled to 25 % each
    ed.click(100, 88)  # the name
    ed.type("Wide Left")
    ed.move(360, 400)  # the pointer on the lower right zone for the picture
    wait_painted(run, ed.x + 316, ed.y + 330, "the hovered zone", accent)
    run.screenshot("edit")
    ed.keys("Return")  # Save
    expected = [[0, 0, 0.5, 1], [0.5, 0, 0.75, 1], [0.75, 0, 1, 0.5], [0.75, 0.5, 1, 1]]
    run.wait_for("the new layout in settings.json",
                 lambda: close_to((saved_layouts(run) or {}).get("Wide Left"), expected))
    run.wait_log(r'^editor: saved layout "Wide Left" with 4 zones$')
    layouts = saved_layouts(run)
    if list(layouts) != ["Thirds", "Halves", "Wide Left"]:
        raise Failure("layouts after saving: %r" % list(layouts))


@scenario
def editor_reshapes_the_active_layout_and_deletes_another(run):
    """Drag the active layout's border, Save: the running engine's overlay follows.
    Then delete the other layout, close the editor and use the main window again."""
    run.write_screen_settings([layout("Halves", HALVES), layout("Thirds", THIRDS)], "Halves",
                              extra={"StartMinimized": False})
    run.start_app()
    w = run.monitors_seen[0]["w"]
    run.wait_for("the overlay of the two halves", lambda: (overlay_lines(run) or {}).get(w // 2))
    ed = open_editor(run)
    ed.click(200, 84)  # the first row: Halves in the edit view
    wait_painted(run, ed.x + 30, ed.y + 612, "the edit view's Save button")
    # The border between the halves, at 16 + 196 on the canvas, dragged to a quarter.
    ed.move(212, 320)
    run.xdo("mousedown", "1")
    for dx in range(200, 110, -15):
        ed.move(dx, 320)
        time.sleep(0.05)
    ed.move(114, 320)
    run.xdo("mouseup", "1")
    # The hovered border's bar, now at a quarter of the canvas.
    wait_painted(run, ed.x + 114, ed.y + 300, "the border at its new place")
    run.screenshot("dragged")
    ed.click(58, 220 + 288 + 56 + 51)  # Save, below the two zones' rows
    run.wait_for("the reshaped layout in settings.json",
                 lambda: close_to((saved_layouts(run) or {}).get("Halves"),
                                  [[0, 0, 0.251, 1], [0.251, 0, 1, 1]], 1e-6))
    x = round(0.251 * w)
    run.wait_for("the overlay to follow the saved layout",
                 lambda: (lambda l: l.get(x) and not l.get(w // 2))(overlay_lines(run) or {}))

    # Saving moved Halves to the end: Thirds is the first row now.
    wait_painted(run, ed.x + 30, ed.y + 203, "the manage view again")
    ed.move(200, 84)
    ed.click(436, 84)  # its delete button
    run.wait_for("Thirds gone from settings.json",
                 lambda: list(saved_layouts(run) or {"?": 0}) == ["Halves"])
    run.wait_log(r'^editor: deleted layout "Thirds"$')
    # The list of one layout, the Undo bar below it, and the buttons below that.
    wait_painted(run, ed.x + 30, ed.y + 147 + 40, "the list of one layout")
    ed.click(422, 76 + 56 + 40 + 15)  # Close
    x0, y0 = main_window_origin(run)
    run.xdo("mousemove", str(x0 + 80), str(y0 + 74))
    run.xdo("click", "1")  # Stop, in the enabled main window again
    run.wait_for("the engine to stop", lambda: overlay_count(run) == 0)
