"""What a screen reader reads of the drawn windows, and the program driven by the
keyboard alone."""
from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)

# Active Accessibility roles and states the checks read.
ROLE_PUSHBUTTON, ROLE_CHECKBUTTON, ROLE_RADIOBUTTON = 0x2B, 0x2C, 0x2D
ROLE_COMBOBOX, ROLE_LISTITEM, ROLE_PAGETAB, ROLE_TEXT, ROLE_LINK = 0x2E, 0x22, 0x25, 0x2A, 0x1E
STATE_FOCUSED, STATE_CHECKED, STATE_COLLAPSED, STATE_UNAVAILABLE = 0x4, 0x10, 0x400, 0x1


def a11y_probe(run, *args):
    probe = os.path.join(os.path.dirname(run.image_probe), "accessible_probe.exe")
    return run.probe(probe, *args)


def children(run, window_class):
    """[(role, state, name, value, action, (x, y, w, h))] of a window's client object,
    None while the window or its object cannot be read."""
    out = a11y_probe(run, "dump", window_class)
    m = re.search(r"count=(\d+)", out)
    if not m:
        return None
    rows = []
    for line in out.splitlines()[1:]:
        parts = line.split("|")
        if len(parts) != 7:
            continue
        rows.append((int(parts[1], 16), int(parts[2], 16), parts[3], parts[4], parts[5],
                     tuple(int(v) for v in parts[6].split(","))))
    return rows if len(rows) == int(m.group(1)) else None


def child(rows, name, role=None):
    for r in rows:
        if r[2] == name and (role is None or r[0] == role):
            return r
    raise Failure("no child named %r in %s" % (name, rows))


def wait_children(run, window_class, what, cond=lambda rows: True):
    return run.wait_for(what, lambda: (lambda rows: rows if rows and cond(rows) else None)(
        children(run, window_class)), timeout=60)


@scenario
def screen_reader_reads_main_window_and_editor(run):
    """A screen reader's view of the main window and the layout editor, from another
    process: names, roles, states and locations, and a button pressed through its
    default action."""
    run.write_screen_settings([layout("Thirds", THIRDS), layout("Halves", HALVES)], "Thirds",
                              auto_start=False, extra={"StartMinimized": False})
    run.start_app()
    x, y = main_window_origin(run)
    rows = wait_children(run, "TilewrightMain", "the main window's accessible children",
                         lambda rows: any(r[2] == "Start" for r in rows))
    start = child(rows, "Start")
    assert start[0] == ROLE_PUSHBUTTON and start[4] == "Press", start
    # Its location is in screen pixels: the button's rectangle (28, 60)-(138, 88).
    assert start[5] == (x + 28, y + 60, 110, 28), (start, x, y)
    assert child(rows, "Close")[0] == ROLE_PUSHBUTTON  # the glyph "✕" has a name
    layout_field = child(rows, "Current Layout", ROLE_COMBOBOX)
    assert layout_field[3] == "Thirds", layout_field
    assert layout_field[1] & STATE_COLLAPSED, layout_field
    enabled = child(rows, "Enabled")
    assert enabled[0] == ROLE_CHECKBUTTON and enabled[1] & STATE_CHECKED, enabled
    assert child(rows, "Dark theme")[0] == ROLE_RADIOBUTTON
    names = [r[2] for r in rows]
    assert names.index("Tilewright") < names.index("Start") < names.index("Current Layout"), names

    # The default action is the click: Start starts the engine.
    assert "pressed=1" in a11y_probe(run, "press", "TilewrightMain", "Start")
    run.wait_for("the engine to start", lambda: overlay_count(run) == 1)
    wait_children(run, "TilewrightMain", "Stop in place of Start",
                  lambda rows: any(r[2] == "Stop" for r in rows))

    assert "pressed=1" in a11y_probe(run, "press", "TilewrightMain", "Edit Layouts…")
    rows = wait_children(run, "TilewrightEditor", "the layout manager's accessible children",
                         lambda rows: any(r[2] == "Restore Defaults" for r in rows))
    items = [r[2] for r in rows if r[0] == ROLE_LISTITEM]
    assert items == ["Thirds", "Halves"], items
    assert child(rows, "Add")[0] == ROLE_PUSHBUTTON
    restore = child(rows, "Restore Defaults")
    assert restore[0] == ROLE_PUSHBUTTON, restore
    assert "pressed=1" in a11y_probe(run, "press", "TilewrightEditor", "Add")
    rows = wait_children(run, "TilewrightEditor", "the edit view",
                         lambda rows: any(r[2] == "Layout name" and r[0] == ROLE_TEXT for r in rows))
    widths = [r for r in rows if r[0] == ROLE_TEXT and r[2].endswith("Width")]
    assert len(widths) == 3 and widths[0][3] == "33.3%", widths
    assert "pressed=1" in a11y_probe(run, "press", "TilewrightEditor", "Cancel")
    wait_children(run, "TilewrightEditor", "back to the layout list",
                  lambda rows: any(r[2] == "Add" for r in rows))
    run.screenshot("editor")


def tray_probe_run(run, what):
    return run.probe(os.path.join(os.path.dirname(run.region_probe), "tray_probe.exe"), what)


def focused(run, window_class):
    """The name of the focused child, "" when none, None while unreadable."""
    rows = children(run, window_class)
    if rows is None:
        return None
    names = [r[2] for r in rows if r[1] & STATE_FOCUSED]
    return names[0] if names else ""


def tab_to(run, window_class, name, most=40):
    """Tab until the control named `name` has the focus, read as a screen reader would."""
    for _ in range(most):
        if focused(run, window_class) == name:
            return
        run.xdo("key", "Tab")
        time.sleep(0.2)
    raise Failure("Tab never reached %r in %s" % (name, window_class))


def settings_json(run):
    try:
        with open(run.settings_path) as f:
            return json.load(f)
    except (OSError, ValueError):
        return None


@scenario
def keyboard_alone_drives_the_program(run):
    """No mouse event at all: the main window from the tray menu, Start, a layout from
    the list, the editor, a new layout with a zone split on the canvas, Save, close."""
    run.write_screen_settings([layout("Thirds", THIRDS), layout("Halves", HALVES)], "Thirds",
                              auto_start=False)
    run.start_app()
    # The icon, reached with Win+B and the arrows, asks for its menu (Shift+F10); Wine's
    # tray has no keyboard, so the probe sends what the shell would.
    run.wait_for("the tray icon", lambda: re.search(r"icons=[1-9]", tray_probe_run(run, "icons")), timeout=60)
    assert "asked=1" in tray_probe_run(run, "keyboard-menu")
    run.wait_for("the open menu", lambda: "menus=1" in tray_probe_run(run, "menus"))
    run.xdo("key", "Down", "Return")  # the menu's first entry: open the main window
    main_window_origin(run)
    wait_children(run, "TilewrightMain", "the main window's controls",
                  lambda rows: any(r[2] == "Start" for r in rows))

    tab_to(run, "TilewrightMain", "Start")
    run.screenshot("focus_ring_start")
    run.xdo("key", "Return")
    run.wait_for("the engine to start", lambda: overlay_count(run) == 1)

    tab_to(run, "TilewrightMain", "Current Layout")
    run.xdo("key", "Down")  # opens the list on the chosen row
    run.wait_for("the chosen row focused", lambda: focused(run, "TilewrightMain") == "Thirds")
    run.xdo("key", "Down")
    run.wait_for("the next row focused", lambda: focused(run, "TilewrightMain") == "Halves")
    run.screenshot("layout_list")
    run.xdo("key", "Return")
    run.wait_for("Halves saved as the active layout",
                 lambda: (settings_json(run) or {}).get("Screens", [{}])[0].get("ActiveLayout") == "Halves")

    tab_to(run, "TilewrightMain", "Edit Layouts…")
    run.xdo("key", "Return")
    wait_children(run, "TilewrightEditor", "the layout manager",
                  lambda rows: any(r[2] == "Add" for r in rows))
    tab_to(run, "TilewrightEditor", "Add")
    run.xdo("key", "Return")
    wait_children(run, "TilewrightEditor", "the edit view",
                  lambda rows: any(r[2] == "Layout name" and r[0] == ROLE_TEXT for r in rows))
    tab_to(run, "TilewrightEditor", "Layout name")
    run.xdo("type", "--delay", "30", "Keys")
    tab_to(run, "TilewrightEditor", "Zones of the layout")
    run.xdo("key", "Right", "Return")  # the second of three columns splits in two
    # The two halves of the split column; the table may scroll its last row out of view.
    run.wait_for("the split column's halves in the size table", lambda: len(
        [r for r in (children(run, "TilewrightEditor") or [])
         if r[0] == ROLE_TEXT and r[2].endswith("Width") and r[3] == "16.7%"]) == 2)
    run.screenshot("editor_canvas")
    tab_to(run, "TilewrightEditor", "Save")
    run.xdo("key", "Return")

    def saved_keys():
        for l in (settings_json(run) or {}).get("ScreenLayouts", []):
            if l["Name"] == "Keys":
                return l["Zones"]
        return None
    zones = run.wait_for("the new layout saved", saved_keys)
    xs = sorted(round(z[0], 3) for z in zones)
    assert xs == [0, 0.333, 0.5, 0.667], zones
    run.xdo("key", "Escape")  # closes the editor
    run.wait_for("the editor closed", lambda: children(run, "TilewrightEditor") is None)
    tab_to(run, "TilewrightMain", "Close")
    run.xdo("key", "Return")  # hides to the tray
    run.wait_for("the main window hidden", lambda: not main_window_visible(run))
