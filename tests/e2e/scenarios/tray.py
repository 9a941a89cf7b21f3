"""The tray icon and its menu: a hidden start reached through the icon, the menu
driving the engine, the layouts and Exit, closing to the tray, and the icon coming
back after the shell restarts. The icon lives in Wine's "Wine System Tray" window at
the top left of the screen (TRAY_ICON_AT)."""
from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)

# The top-right block of the 16-pixel icon: the accent while the engine runs, red
# while it is stopped.
ICON_STATE_PIXEL = (16, 28)
RED = (0xEF, 0x44, 0x44)
# Rows of the popup menu, as offsets from the point where it opens (Wine's menu font).
MENU_ROWS = {"show": 11, "start_stop": 36, "zones": 52, "layout": 68, "share": 84, "exit": 109}
SUBMENU_X = 185  # the first column of text in a submenu opened from the menu


def tray_probe(run, what):
    probe = os.path.join(os.path.dirname(run.region_probe), "tray_probe.exe")
    return subprocess.run(["wine", probe, what], env=run.env, capture_output=True, text=True).stdout


def tray_icons(run):
    m = re.search(r"icons=(\d+)", tray_probe(run, "icons"))
    return int(m.group(1)) if m else -1


def open_menus(run):
    m = re.search(r"menus=(\d+)", tray_probe(run, "menus"))
    return int(m.group(1)) if m else -1


def icon_colour(run):
    return Run.pixel(run.screenshot("icon"), *ICON_STATE_PIXEL)


def wait_icon_colour(run, want, what):
    run.wait_for("the tray icon %s (now %r)" % (what, icon_colour(run)), lambda: icon_colour(run) == want)


def choose(run, row, sub_row=None, shot=None):
    """Right-clicks the icon and chooses a menu row, or a row of the submenu it opens."""
    click_tray_icon(run, "3")
    run.wait_for("the tray menu", lambda: open_menus(run) == 1)
    if shot and sub_row is None:
        run.screenshot(shot)
    run.xdo("mousemove", "40", str(TRAY_ICON_AT[1] + MENU_ROWS[row]))
    run.xdo("click", "1")
    if sub_row is not None:
        run.wait_for("the submenu", lambda: open_menus(run) == 2)
        if shot:
            run.screenshot(shot)
        run.xdo("mousemove", str(SUBMENU_X), str(TRAY_ICON_AT[1] + MENU_ROWS[row] + 16 * sub_row))
        run.xdo("click", "1")
    run.wait_for("the menu to close", lambda: open_menus(run) == 0)


# Loaded by the first drawn window or share, not by a start into the tray.
GRAPHICS_DLLS = {"d2d1.dll", "dwrite.dll", "d3d11.dll", "dxgi.dll", "wined3d.dll"}


def settings_text(run):
    with open(run.settings_path) as f:
        return f.read()


@scenario
def tray_start_menu_drives_the_program(run):
    """--tray with "Show in tray" off: the icon is there, the window is not, and nor are
    the graphics libraries that only drawing needs; the menu stops and starts the
    engine, picks a layout and exits with the settings saved."""
    run.write_screen_settings([layout("Halves", HALVES), layout("Thirds", THIRDS)], "Halves",
                              extra={"HideToTray": False, "StartMinimized": False})
    app = run.start_app("--tray")
    run.wait_for("the tray icon", lambda: tray_icons(run) == 1)
    run.wait_for("the zone overlay", lambda: overlay_count(run) == 1)
    wait_icon_colour(run, ACCENT, "in the accent colour")
    if main_window_visible(run):
        raise Failure("a --tray start showed the main window")
    pid = run.wait_for("the program's process", lambda: wine_pid(win_path(run.exe)))
    early = loaded_dlls(pid) & GRAPHICS_DLLS
    if early:
        raise Failure("a --tray start loaded %s before anything was drawn" % ", ".join(sorted(early)))

    choose(run, "start_stop", shot="menu")
    run.wait_for("the engine to stop", lambda: overlay_count(run) == 0)
    wait_icon_colour(run, RED, "with its stopped (red) block")

    choose(run, "start_stop", shot="menu_stopped")
    run.wait_for("the engine to start again", lambda: overlay_count(run) == 1)
    wait_icon_colour(run, ACCENT, "in the accent colour again")

    choose(run, "layout", sub_row=1, shot="layout_menu")  # Thirds
    run.wait_for("Thirds in settings.json", lambda: '"ActiveLayout": "Thirds"' in settings_text(run))
    w = run.monitors_seen[0]["w"]
    run.wait_for("the overlay of the thirds",
                 lambda: (overlay_lines(run) or {}).get(round(w / 3)) and not (overlay_lines(run) or {}).get(w // 2))

    click_tray_icon(run, "1")
    run.wait_for("the main window shown by a click on the icon", lambda: main_window_visible(run))
    run.wait_for("Direct2D loaded to draw the window", lambda: "d2d1.dll" in loaded_dlls(pid))

    choose(run, "exit")
    run.wait_for("the process to end", lambda: app.poll() is not None, timeout=20)
    if '"WindowPos": [' not in settings_text(run):
        raise Failure("Exit did not save the window position:\n" + settings_text(run))
    run.wait_for("the icon to be removed", lambda: tray_icons(run) == 0)


@scenario
def close_hides_to_tray(run):
    """With "Show in tray" on, closing the window hides it and lets Direct2D go; the
    process and the engine keep running, and a double click on the icon brings the
    window back."""
    run.write_screen_settings([layout("Halves", HALVES)], "Halves",
                              extra={"HideToTray": True, "StartMinimized": False})
    app = run.start_app()
    x, y = main_window_origin(run)
    run.wait_for("the tray icon", lambda: tray_icons(run) == 1)
    run.wait_for("the zone overlay", lambda: overlay_count(run) == 1)
    stop_button = (x + 80, y + 74)
    run.wait_for("the window drawn", lambda: Run.pixel(run.screenshot("before_close"), *stop_button)[0] > 200)
    drawn = Run.pixel(run.screenshot("before_close"), *stop_button)
    close_main_window(run)
    run.wait_for("the window to hide", lambda: not main_window_visible(run))
    # The hidden window keeps no renderer, so the program lets Direct2D go. (What
    # Direct2D itself loaded, Direct3D and DirectWrite, Wine keeps.)
    pid = run.wait_for("the program's process", lambda: wine_pid(win_path(run.exe)))
    run.wait_for("Direct2D let go", lambda: "d2d1.dll" not in loaded_dlls(pid), timeout=10)
    time.sleep(1)  # long enough for a wrongly ending process to be gone
    if app.poll() is not None:
        raise Failure("closing the window ended the program")
    if overlay_count(run) != 1:
        raise Failure("closing the window stopped the engine")
    click_tray_icon(run, "--repeat", "2", "1")
    run.wait_for("the window shown again", lambda: main_window_visible(run))
    # Drawn again, with a new renderer: the red Stop button is back.
    run.wait_for("the window drawn again",
                 lambda: Run.pixel(run.screenshot("shown_again"), *stop_button) == drawn)


@scenario
def tray_icon_back_after_shell_restart(run):
    """A restarted shell starts with an empty tray and broadcasts "TaskbarCreated": the
    icon is added again, with its image. (Wine's shell process cannot be restarted
    under a running program, so the probe has the tray drop the icon instead.)"""
    run.write_screen_settings([layout("Halves", HALVES)], "Halves", extra={"HideToTray": True})
    run.start_app("--tray")
    run.wait_for("the tray icon", lambda: tray_icons(run) == 1)
    run.wait_for("the zone overlay", lambda: overlay_count(run) == 1)
    if "forgotten=1" not in tray_probe(run, "forget"):
        raise Failure("the tray did not drop the icon")
    run.wait_for("an empty tray", lambda: tray_icons(run) == 0)
    tray_probe(run, "taskbar-created")
    run.wait_for("the icon back", lambda: tray_icons(run) == 1)
    run.wait_log(r"^tray: the taskbar was created again")
    wait_icon_colour(run, ACCENT, "drawn again with its image")
