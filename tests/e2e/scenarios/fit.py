"""Windows that fit their screen: the layout editor with a 3 x 4 grid at 150 % scaling
keeps Save and Cancel on the screen; a theme button shows its tooltip on hover."""
import os
import subprocess
import time

from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)
from scenarios.dialogs import wait_window, windows
from scenarios.editor import accent, wait_painted

SCALE = 1.5


class Scaled150(SingleMonitor):
    """The usual display and a Wine prefix of its own whose display scale is 150 %
    (LogPixels 144): the scale is read when the prefix's first process starts."""
    def __enter__(self):
        run = self.run
        run.display = self
        run.env["WINEPREFIX"] = os.path.join(run.prefix_root, "wineprefix-150")
        quiet = dict(env=run.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([os.path.join(TOOLS, "wine-prefix")], **quiet)
        subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                        "REG_DWORD", "/d", "144", "/f"], timeout=120, **quiet)
        subprocess.run(["wineserver", "-k"], **quiet)
        subprocess.run(["wineserver", "-w"], **quiet)
        return self

    def __exit__(self, *exc):
        subprocess.run(["wineserver", "-k"], env=self.run.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        return False


def grid_zones(rows, columns):
    return [[c / columns, r / rows, (c + 1) / columns, (r + 1) / rows]
            for r in range(rows) for c in range(columns)]


def px(dips):
    return int(round(dips * SCALE))


@scenario(display=Scaled150)
def editor_grid_fits_at_150_percent(run):
    run.write_screen_settings([layout("Grid", grid_zones(3, 4))], "Grid", auto_start=False,
                              extra={"StartMinimized": False})
    run.start_app()
    main = wait_window(run, "TilewrightMain", "the main window")
    screen_bottom = 1080
    if main[3] > screen_bottom or main[1] < 0:
        raise Failure("the main window %r leaves the 1920 x 1080 screen at 150 %%" % (main,))
    x, y = main[0], main[1]
    wait_painted(run, x + px(40), y + px(74), "the main window's Start button",
                 lambda rgb: accent(rgb) or rgb[0] > 180)
    run.screenshot("main_150")
    for _ in range(3):  # "Edit Layouts…", then the layout's row
        run.xdo("mousemove", str(x + px(270)), str(y + px(367)))
        run.xdo("click", "1")
        try:
            wait_window(run, "TilewrightEditor", "the layout manager")
            break
        except Failure:
            pass
    manage = wait_window(run, "TilewrightEditor", "the layout manager")
    wait_painted(run, manage[0] + px(30), manage[1] + px(60 + 56 + 20), "the layout manager's Add button")
    run.xdo("mousemove", str(manage[0] + px(200)), str(manage[1] + px(84)))
    run.xdo("click", "1")

    # The edit view needs more than the screen: the window moves up to the top of the
    # screen and reaches its bottom edge.
    def edit_view_open():
        w = [w for w in windows(run, "TilewrightEditor") or [] if w["visible"]]
        return w[0]["rect"] if w and w[0]["rect"][3] - w[0]["rect"][1] > manage[3] - manage[1] + px(100) else None
    rect = run.wait_for("the edit view", edit_view_open, timeout=60)
    if rect[1] < 0 or rect[3] > screen_bottom:
        raise Failure("the editor %r leaves the screen" % (rect,))
    save = (rect[0] + px(58), rect[3] - px(16 + 15))
    cancel = (rect[0] + px(422), rect[3] - px(16 + 15))
    wait_painted(run, save[0], save[1], "the Save button at the bottom edge")
    shot = run.screenshot("edit_150")
    # Cancel is a secondary button: lighter than the window's dark background.
    if max(run.pixel(shot, cancel[0] - px(30), cancel[1])) < 40:
        raise Failure("no Cancel button at %r: %r" % (cancel, run.pixel(shot, *cancel)))
    # The scroll bar along the right edge shows that the zone table goes on below.
    bar_x = rect[0] + px(480 - 7.5)
    if not any(max(run.pixel(shot, bar_x, rect[1] + px(y))) > 70 for y in range(50, 400, 6)):
        raise Failure("no scroll bar along the editor's right edge")
    run.xdo("mousemove", str(save[0]), str(save[1]))
    run.xdo("click", "1")
    run.wait_log(r'editor: saved layout "Grid" with 12 zones')


@scenario
def theme_button_shows_its_tooltip(run):
    run.write_screen_settings([layout("Halves", HALVES)], "Halves", auto_start=False,
                              extra={"StartMinimized": False})
    run.start_app()
    main = wait_window(run, "TilewrightMain", "the main window")
    x, y = main[0], main[1]
    wait_painted(run, x + 40, y + 74, "the main window's Start button", lambda rgb: accent(rgb) or rgb[0] > 180)
    # The "dark" segment of the theme switch (W - 118 .. W - 88 DIPs, 8 .. 32).
    # Moves apart in time: the first finds the button, the next ones start the tip's
    # delay inside it (moves close together arrive as one).
    for dx in (0, 2, 4, 6):
        run.xdo("mousemove", str(x + 580 - 103 + dx), str(y + 20))
        time.sleep(0.3)

    def tip():
        return [w for w in windows(run, "tooltips_class32") or [] if w["visible"]]
    shown = run.wait_for("the theme button's tooltip", tip, timeout=30)
    run.screenshot("tooltip")
    r = shown[0]["rect"]
    if not (r[2] - r[0] > 30 and r[3] - r[1] > 8):
        raise Failure("the tooltip %r is too small to hold its text" % (r,))
