"""The keyboard shortcuts window and the colour, About and update dialogs, opened
from the main window's buttons (and the update dialog from the command line)."""
import os
import re

from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)

# Main window buttons, in DIPs from its top-left corner (580 wide, one screen).
SHORTCUTS_BUTTON = (60, 667)
COLOUR_SWATCH = (540, 667)
ABOUT_BUTTON = (500, 760)
PREFERENCES_HEADING = (400, 427)  # a label: a click there only gives the focus


def windows(run, cls):
    """[{rect, visible, enabled}] of the top-level windows of a class."""
    try:
        out = subprocess.run(["wine", run.region_probe, cls], env=run.env, capture_output=True,
                             text=True, timeout=30).stdout
    except subprocess.TimeoutExpired:  # seen under heavy load: no answer, ask again
        return None
    found = []
    for m in re.finditer(r"^window (-?\d+) (-?\d+) (-?\d+) (-?\d+) visible=(\d) enabled=(\d)", out, re.M):
        found.append({"rect": tuple(int(m.group(i)) for i in range(1, 5)),
                      "visible": m.group(5) == "1", "enabled": m.group(6) == "1"})
    return found


def wait_window(run, cls, what):
    """The rectangle of the one visible window of `cls`."""
    def shown():
        w = [w for w in windows(run, cls) or [] if w["visible"]]
        return w[0]["rect"] if len(w) == 1 else None
    return run.wait_for(what, shown, timeout=90)


def wait_gone(run, cls, what):
    def gone():
        found = windows(run, cls)
        return found is not None and not any(w["visible"] for w in found)
    run.wait_for(what, gone, timeout=90)


def geometry(rect):
    return "%dx%d+%d+%d" % (rect[2] - rect[0], rect[3] - rect[1], rect[0], rect[1])


def changed_fraction(before, after, rect):
    """The share of the pixels in `rect` that differ between two screenshots."""
    out = subprocess.run(["/usr/bin/compare", "-metric", "AE", "-fuzz", "3%",
                          "%s[%s]" % (before, geometry(rect)), "%s[%s]" % (after, geometry(rect)),
                          "null:"], capture_output=True, text=True)
    try:
        return float(out.stderr.split()[0]) / ((rect[2] - rect[0]) * (rect[3] - rect[1]))
    except (ValueError, IndexError):
        return 0.0


def mean_brightness(png, rect):
    out = subprocess.run(["/usr/bin/convert", png, "-crop", geometry(rect), "+repage", "-format",
                          "%[fx:mean]", "info:"], capture_output=True, text=True)
    try:
        return float(out.stdout)
    except ValueError:
        return 0.0


def screenshot_drawn(run, name, rect, before, fraction=0.25):
    """Screenshot `name` once the part `rect` of the screen differs from the screenshot
    `before` in at least `fraction` of its pixels and shows the dark theme's colours,
    not the black or white of a window not painted yet: a window drawn for the first
    time or anew. Direct2D through Wine's software renderer can take seconds for that
    on a loaded machine."""
    def drawn():
        png = run.screenshot(name)
        return changed_fraction(before, png, rect) >= fraction and 0.06 < mean_brightness(png, rect) < 0.6
    run.wait_for("the %s screenshot to show the window drawn" % name, drawn, timeout=90)


def inside(rect, l, t, r, b):
    """A part of a window, in DIPs (pixels at 96 DPI) from its top-left corner."""
    return (rect[0] + l, rect[1] + t, rect[0] + r, rect[1] + b)


def main_enabled(run):
    w = windows(run, "TilewrightMain")
    return bool(w) and w[0]["enabled"]


def main_disabled(run):
    w = windows(run, "TilewrightMain")
    return bool(w) and not w[0]["enabled"]


def click(run, origin, dx, dy):
    run.xdo("mousemove", str(origin[0] + dx), str(origin[1] + dy))
    run.xdo("click", "1")


def keys_after_click(run, *keys):
    """The first key event after a click can be lost under Wine without a window
    manager: a lone Shift, which no window here acts on, goes first."""
    run.xdo("key", "shift", *keys)


def settings_bytes(run):
    with open(run.settings_path, "rb") as f:
        return f.read()


def settings_unchanged(run, before, what):
    after = settings_bytes(run)
    if after != before:
        import difflib
        diff = difflib.unified_diff(before.decode(errors="replace").splitlines(),
                                    after.decode(errors="replace").splitlines(), lineterm="", n=0)
        raise Failure("%s changed settings.json:\n%s" % (what, "\n".join(diff)))


def start_with_main_window(run, **extra):
    mon = run.write_screen_settings([layout("Thirds", THIRDS)], "Thirds",
                                    extra=dict({"StartMinimized": False}, **extra))
    run.start_app()
    origin = main_window_origin(run)
    run.wait_for("the zone overlay", lambda: overlay_count(run) == 1)
    return mon, origin


def open_shortcuts(run, origin):
    before = run.screenshot("before")
    click(run, origin, *SHORTCUTS_BUTTON)
    rect = wait_window(run, "TilewrightShortcuts", "the shortcuts window")
    run.wait_for("the main window disabled meanwhile", lambda: main_disabled(run))
    screenshot_drawn(run, "opened", rect, before)
    return rect


def change_row(run, rect, row):
    """Clicks the Change button of a row (the buttons end 8 DIPs left of Clear) and waits
    until it shows that it listens."""
    before = run.screenshot("before")
    click(run, rect, 500, 75 + 38 * row)
    # Every other button turns disabled.
    screenshot_drawn(run, "capturing", inside(rect, 0, 48, 640, 672), before, 0.02)
    keys_after_click(run)


@scenario
def shortcuts_rebind_with_real_keys(run):
    """Start / Stop moves from Ctrl+Alt+R to Ctrl+Alt+Y by real key presses: after Save
    the new combination stops the engine and the old one does nothing."""
    _, origin = start_with_main_window(run)
    rect = open_shortcuts(run, origin)
    change_row(run, rect, 0)
    before = run.screenshot("before")
    run.xdo("key", "ctrl+alt+y")
    # The buttons come back and the row shows its new binding.
    screenshot_drawn(run, "shortcuts", inside(rect, 0, 48, 640, 672), before, 0.02)
    click(run, rect, 66, 725)  # Save
    run.wait_log(r"^shortcuts: HotkeyStartStop = Ctrl\+Alt\+Y$")
    wait_gone(run, "TilewrightShortcuts", "the shortcuts window to close")
    run.wait_for("the main window enabled again", lambda: main_enabled(run))
    if not re.search(r'"HotkeyStartStop": \[3, ?89\]', settings_bytes(run).decode()):
        raise Failure("settings.json does not hold Ctrl+Alt+Y for Start / Stop")

    click(run, origin, *PREFERENCES_HEADING)
    keys_after_click(run, "ctrl+alt+r")  # the old combination: nothing
    run.xdo("key", "ctrl+alt+y")  # the new one: stops the engine
    run.wait_for("the engine to stop", lambda: overlay_count(run) == 0)
    run.xdo("key", "ctrl+alt+y")
    run.wait_for("the engine to start again", lambda: overlay_count(run) == 1)


@scenario
def shortcuts_refuse_combination_held_by_another_program(run):
    """Ctrl+Alt+K, held by another program, is refused with its message; Escape and
    Cancel then leave settings.json exactly as it was."""
    report = os.path.join(run.dir, "holder.txt")
    run.wine(win_path(run.hotkey_holder), "3", "0x4B", win_path(report))
    run.wait_for("the other program's hotkey", lambda: os.path.exists(report) and open(report).read())
    if "registered" not in open(report).read():
        raise Failure("the holder could not register Ctrl+Alt+K: %r" % open(report).read())
    _, origin = start_with_main_window(run)
    saved = settings_bytes(run)
    rect = open_shortcuts(run, origin)
    change_row(run, rect, 1)
    shot = run.screenshot("before")
    # The window sees a held combination only through its keyboard hook, which Wine
    # skips while the program's thread is busy (a software-rendered repaint can take
    # seconds here): a press that went to the other program is repeated.
    refused = r"^shortcuts: Ctrl\+Alt\+K refused for HotkeyToggleZones: in use by another program$"
    for attempt in range(4):
        run.xdo("key", "ctrl+alt+k")
        try:
            run.wait_log(refused, timeout=10)
            break
        except Failure:
            if attempt == 3:
                raise
    screenshot_drawn(run, "refused", inside(rect, 16, 682, 624, 700), shot, 0.05)  # the message
    run.xdo("key", "alt+F4")  # Windows' own: reserved, refused as well
    run.wait_log(r"^shortcuts: Alt\+F4 refused for HotkeyToggleZones: reserved by Windows$")
    run.xdo("key", "ctrl+alt+1")
    run.wait_log(r"^shortcuts: Ctrl\+Alt\+1 refused for HotkeyToggleZones: already used by HotkeyShareZone1$")
    run.xdo("key", "Escape")  # ends the capture
    click(run, rect, 560, 725)  # Cancel
    wait_gone(run, "TilewrightShortcuts", "the shortcuts window to close")
    settings_unchanged(run, saved, "Cancel")
    # The program's own hotkeys are back: Ctrl+Alt+R stops the engine.
    click(run, origin, *PREFERENCES_HEADING)
    keys_after_click(run, "ctrl+alt+r")
    run.wait_for("the engine to stop by its hotkey", lambda: overlay_count(run) == 0)


@scenario
def color_dialog_live_accent_and_cancel(run):
    """A preset recolours the zone lines at once without saving; Escape brings back the
    opening colour on the screen and leaves settings.json as it was, byte for byte."""
    mon, origin = start_with_main_window(run)
    w, h = mon["w"], mon["h"]
    line = (round(w / 3), h // 2)  # the border between the first two thirds
    def overlay_colour(want):
        def check():
            png = run.screenshot("overlay")
            return run.pixel(png, *line) == want
        return check
    run.wait_for("accent zone lines", overlay_colour(ACCENT))
    saved = settings_bytes(run)

    shot = run.screenshot("before")
    click(run, origin, *COLOUR_SWATCH)
    rect = wait_window(run, "TilewrightColor", "the colour dialog")
    run.wait_for("the main window disabled meanwhile", lambda: main_disabled(run))
    click(run, rect, 330, 104)  # the sixth preset, #10B981
    run.wait_for("the zone lines in the chosen colour", overlay_colour((0x10, 0xB9, 0x81)))
    screenshot_drawn(run, "color", rect, shot)
    settings_unchanged(run, saved, "choosing a colour before Done")
    keys_after_click(run, "Escape")
    wait_gone(run, "TilewrightColor", "the colour dialog to close")
    run.wait_for("the zone lines in the opening colour", overlay_colour(ACCENT))
    run.wait_for("the main window enabled again", lambda: main_enabled(run))
    settings_unchanged(run, saved, "Escape")

    # Done keeps the colour: typed into the hex field this time.
    click(run, origin, *COLOUR_SWATCH)
    rect = wait_window(run, "TilewrightColor", "the colour dialog")
    click(run, rect, 90, 268)  # the hex field
    keys_after_click(run, "ctrl+a")
    run.xdo("type", "#3050f0")
    run.wait_for("the typed colour on the zone lines", overlay_colour((0x30, 0x50, 0xF0)))
    run.xdo("key", "Return")
    run.wait_log(r"^color: accent colour #3050f0 saved$")
    if '"AccentColor": "#3050f0"' not in settings_bytes(run).decode():
        raise Failure("Done did not save the colour")


@scenario
def about_dialog_shows_version_and_usage(run):
    """About opens beside an enabled main window and closes with Escape."""
    _, origin = start_with_main_window(run)
    before = run.screenshot("before")
    click(run, origin, *ABOUT_BUTTON)
    rect = wait_window(run, "TilewrightAbout", "the About dialog")
    if (rect[2] - rect[0], rect[3] - rect[1]) != (530, 478):
        raise Failure("the About dialog is %r, not 530 x 478" % (rect,))
    if main_disabled(run):
        raise Failure("About disabled the main window")
    screenshot_drawn(run, "about", rect, before)
    click(run, rect, 100, 20)  # the caption: keyboard focus, no action
    keys_after_click(run, "Escape")
    wait_gone(run, "TilewrightAbout", "the About dialog to close")


@scenario
def update_dialog_from_command_line(run):
    """--test-update-dialog offers 9.9.9 with twenty long changelog lines: the dialog
    grows to fit them within the work area, centred in it; Skip this version is saved."""
    mon = run.write_screen_settings([layout("Thirds", THIRDS)], "Thirds", auto_start=False)
    before = run.screenshot("before")  # an empty screen: no main window, no zones
    run.start_app("--tray", "--test-update-dialog")
    rect = wait_window(run, "TilewrightUpdate", "the update dialog")
    w, h = mon["w"], mon["h"]
    height = rect[3] - rect[1]
    if rect[2] - rect[0] != 460 or not 400 < height <= h - 100:
        raise Failure("the update dialog is %r: not 460 wide and grown to its changelog" % (rect,))
    if (rect[0], rect[1]) != ((w - 460) // 2, (h - height) // 2):
        raise Failure("the update dialog at %r is not centred in the work area" % (rect,))
    screenshot_drawn(run, "update", rect, before)
    click(run, rect, 400, height - 31)  # Skip this version
    wait_gone(run, "TilewrightUpdate", "the update dialog to close")
    run.wait_log(r"^update: version 9\.9\.9 skipped$")
    if '"SkippedUpdateVersion": "9.9.9"' not in settings_bytes(run).decode():
        raise Failure("Skip this version was not saved")
