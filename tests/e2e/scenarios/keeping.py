"""What a user has is never lost without a word: a second start keeps the engine running,
a settings file that cannot be read in full is kept and the main window says where, and
a deleted layout comes back with Undo."""
import time

from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)
from scenarios.editor import Editor, accent, open_editor, saved_layouts, wait_painted


def lines_after(run, index, pattern):
    return [l for l in run.log_lines()[index:] if re.search(pattern, l)]


@scenario
def second_start_keeps_the_engine_running(run):
    """AutoStart is off: only the hand-over can make the new copy start the engine."""
    mon = run.write_screen_settings([layout("Halves", HALVES)], "Halves", auto_start=False,
                                    extra={"StartMinimized": False})
    w, h = mon["w"], mon["h"]
    run.xdo("mousemove", "1500", "500")
    first = run.start_app()
    x0, y0 = main_window_origin(run)
    wait_painted(run, x0 + 40, y0 + 74, "the Start button")
    # A click that went missing while the window was still being mapped is given again.
    for _ in range(4):
        run.xdo("mousemove", str(x0 + 80), str(y0 + 74))
        run.xdo("click", "1")
        try:
            run.wait_for("the first copy's overlay", lambda: overlay_count(run) >= 1, timeout=15)
            break
        except Failure:
            pass
    if overlay_count(run) < 1:
        raise Failure("the Start button did not start the engine")
    report = os.path.join(run.dir, "fixture.txt")
    run.xdo("mousemove", "1500", "500")
    run.start_fixture("Fixture", report, "--rect", "1100,200,1700,700", "--maximize-after", "1500",
                      "--maximize-every", "5000")
    run.wait_rect(report, (w // 2, 0, w, h))
    run.wait_log(r"^confiner: CONFINE hwnd=")

    second = run.start_app()
    run.wait_for("the first copy to exit", lambda: first.poll() is not None, timeout=30)
    run.wait_log(r"^handover: the replaced instance's engine was running with zones shown$")
    index = run.log_lines().index("handover: the replaced instance's engine was running with zones shown")
    run.wait_for("the new copy's overlay", lambda: overlay_count(run) >= 1, timeout=60)
    # The fixture keeps maximising itself: the new copy holds it in its zone.
    run.wait_for("a confinement by the new copy",
                 lambda: lines_after(run, index, r"^confiner: CONFINE hwnd=-?\d+ cls='TilewrightFixture' "
                                                 r"-> \[%d,0,%d,%d\]" % (w // 2, w, h)), timeout=60)
    run.wait_rect(report, (w // 2, 0, w, h))
    if second.poll() is not None:
        raise Failure("the second copy exited")
    if os.path.exists(os.path.join(run.tmp, "tilewright-handover.txt")):
        raise Failure("the hand-over file was left behind")


@scenario
def unreadable_settings_are_kept_and_the_user_is_told(run):
    mon = run.monitors()[0]
    text = ('{\n  "AutoStart": false,\n  "StartMinimized": false,\n  "Screens": [{ "Id": "%s", '
            '"Name": "%s", "Enabled": true, "ActiveLayout": "Caf\xe9" }],\n  "ScreenLayouts": '
            '[{ "Screen": "%s", "Name": "Caf\xe9", "Zones": [[0, 0, 1, 1]] }]\n}\n'
            % (mon["id"].replace("\\", "\\\\"), mon["name"], mon["id"].replace("\\", "\\\\")))
    original = text.encode("latin-1")  # two invalid bytes: not UTF-8 text
    os.makedirs(os.path.dirname(run.settings_path), exist_ok=True)
    with open(run.settings_path, "wb") as f:
        f.write(original)
    run.start_app()
    bad = run.settings_path + ".bad"
    run.wait_for("the copy settings.json.bad", lambda: os.path.exists(bad))
    with open(bad, "rb") as f:
        if f.read() != original:
            raise Failure("settings.json.bad is not the file as it was")
    run.wait_log(r"^settings: settings\.json cannot be read as UTF-8 text; kept as settings\.json\.bad, "
                 r"starting from defaults$")
    def settings_text():  # the file is not UTF-8 until the start-up save has replaced it
        with open(run.settings_path, "rb") as f:
            return f.read().decode("utf-8", errors="replace")
    run.wait_for("the notice in settings.json",
                 lambda: '"KeptSettingsCopy": "settings.json.bad"' in settings_text())
    x0, y0 = main_window_origin(run)
    # The notice card moved the Start button down by 60 DIPs.
    wait_painted(run, x0 + 40, y0 + 134, "the Add button below the notice",
                 lambda rgb: rgb[1] > 150 or accent(rgb))
    run.screenshot("notice")
    run.xdo("mousemove", str(x0 + 580 - 36), str(y0 + 68))
    run.xdo("click", "1")  # the notice's close glyph
    run.wait_for("the notice dismissed in settings.json",
                 lambda: "KeptSettingsCopy" not in settings_text())
    wait_painted(run, x0 + 40, y0 + 74, "the Add button back in its place",
                 lambda rgb: rgb[1] > 150 or accent(rgb))
    run.screenshot("dismissed")


@scenario
def deleted_layout_comes_back_with_undo(run):
    run.write_screen_settings([layout("Halves", HALVES), layout("Thirds", THIRDS)], "Thirds",
                              auto_start=False, extra={"StartMinimized": False})
    run.start_app()
    ed = open_editor(run)
    ed.move(200, 140)  # the second row, Thirds, the active layout: its delete button shows
    wait_painted(run, ed.x + 150, ed.y + 118, "the hovered row", lambda rgb: rgb[2] > 95)
    ed.click(436, 140)
    run.wait_for("Thirds gone from settings.json",
                 lambda: list(saved_layouts(run) or {"?": 0}) == ["Halves"])
    run.wait_log(r'^editor: deleted layout "Thirds"$')
    # One row left; the Undo bar below it.
    wait_painted(run, ed.x + 30, ed.y + 147 + 40, "the Add button below the Undo bar")
    run.screenshot("deleted")
    ed.click(422, 147)  # Undo
    run.wait_for("Thirds back in its place",
                 lambda: list(saved_layouts(run) or {}) == ["Halves", "Thirds"])
    run.wait_log(r'^editor: brought back layout "Thirds"$')
    with open(run.settings_path) as f:
        data = json.load(f)
    if data["Screens"][0]["ActiveLayout"] != "Thirds":
        raise Failure("Thirds is not active again: %r" % data["Screens"][0])
    wait_painted(run, ed.x + 30, ed.y + 203, "the two rows again")
    run.screenshot("undone")


@scenario
def refusals_say_why(run):
    """A doubled shortcut in the file, Start with no screen enabled, Share Zone 3 of a
    layout of two zones: each says why in the main window's status line."""
    run.write_screen_settings([layout("Halves", HALVES)], "Halves", auto_start=False,
                              extra={"StartMinimized": False, "HotkeyShareZone9": [3, 90]})
    with open(run.settings_path) as f:
        data = json.load(f)
    data["Screens"][0]["Enabled"] = False
    run.write_settings(json.dumps(data, indent=2))
    run.start_app()
    run.wait_log(r"^notice: .+ and Share Zone 9 have the same shortcut \(Ctrl\+Alt\+Z\); one of them "
                 r"does not work\. Change one under Keyboard Shortcuts\.$")
    x0, y0 = main_window_origin(run)
    wait_painted(run, x0 + 40, y0 + 74, "the Start button")
    for _ in range(4):  # a click lost while the window was being mapped is given again
        run.xdo("mousemove", str(x0 + 80), str(y0 + 74))
        run.xdo("click", "1")
        try:
            run.wait_log(r"^notice: Not started: no screen is enabled\. Turn on .Enabled. for a screen "
                         r"first\.$", timeout=10)
            break
        except Failure:
            pass
    run.wait_log(r"^notice: Not started: no screen is enabled", timeout=1)
    time.sleep(1)
    run.screenshot("refused")
    run.xdo("mousemove", str(x0 + 300), str(y0 + 20))
    run.xdo("click", "1")  # the keys go to the program's window; the cursor's screen is shared
    run.xdo("key", "ctrl+alt+3")
    run.wait_log(r"^notice: Share Zone 3: the layout of .+ has no zone 3\.$")


@scenario
def colour_that_is_no_colour_is_marked(run):
    """Enter over a text that is no colour keeps the dialog open with the field marked;
    the accent and the settings stay as they were."""
    from scenarios.dialogs import (COLOUR_SWATCH, click, keys_after_click, settings_bytes,
                                   settings_unchanged, start_with_main_window, wait_gone,
                                   wait_window)
    _, origin = start_with_main_window(run)
    saved = settings_bytes(run)
    click(run, origin, *COLOUR_SWATCH)
    rect = wait_window(run, "TilewrightColor", "the colour dialog")
    click(run, rect, 90, 268)  # the hex field
    keys_after_click(run, "ctrl+a")
    run.xdo("type", "#12zz45")
    run.xdo("key", "Return")
    run.wait_log(r'^color: "#12zz45" is not a colour; the dialog stays open$')
    time.sleep(1)
    if not wait_window(run, "TilewrightColor", "the colour dialog still open"):
        raise Failure("the colour dialog closed")
    png = run.screenshot("invalid")
    # The field's frame in the error colour (red), left of the reason.
    if not any(run.pixel(png, rect[0] + x, rect[1] + 254) [0] > 180 and
               run.pixel(png, rect[0] + x, rect[1] + 254)[1] < 120 for x in range(30, 150)):
        raise Failure("the field is not marked invalid")
    keys_after_click(run, "Escape")
    wait_gone(run, "TilewrightColor", "the colour dialog to close")
    settings_unchanged(run, saved, "a refused colour")


@scenario
def closing_the_editor_over_unsaved_changes_asks(run):
    run.write_screen_settings([layout("Halves", HALVES), layout("Thirds", THIRDS)], "Thirds",
                              auto_start=False, extra={"StartMinimized": False})
    run.start_app()
    ed = open_editor(run)
    ed.click(58, 203)  # Add: the name field has the focus
    # The edit view is taller than the room below the layout manager: the window moves up
    # so that it shows whole, and the places below are relative to its new place.
    wait_painted(run, ed.x + 30, ed.y + 70, "the edit view's name field", lambda rgb: max(rgb) > 40)
    time.sleep(0.5)
    ed = Editor(run)
    wait_painted(run, ed.x + 30, ed.y + 640, "the edit view's Save button")
    ed.type("Kept")
    ed.keys("Escape")
    wait_painted(run, ed.x + 60, ed.y + 139, "the prompt's Save button")
    run.screenshot("prompt")
    ed.click(343, 139)  # Keep editing: the prompt goes, the editor stays
    wait_painted(run, ed.x + 60, ed.y + 139, "the prompt gone", lambda rgb: not accent(rgb))
    if "Kept" in (saved_layouts(run) or {}):
        raise Failure("Keep editing saved the layout")
    ed.keys("Escape")
    wait_painted(run, ed.x + 60, ed.y + 139, "the prompt again")
    ed.click(97, 139)  # Save: stored, and the window closes
    run.wait_for("the layout saved", lambda: list(saved_layouts(run) or {}) == ["Halves", "Thirds", "Kept"])
    run.wait_for("the editor closed", lambda: subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--name", "^Edit Layouts$"], env=run.env,
        capture_output=True).returncode != 0)
