"""The main window driving the engine through its buttons."""
from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)


@scenario
def main_window_controls_the_engine(run):
    """The drawn main window: Stop and Start, and choosing a layout from its list."""
    run.write_screen_settings([layout("Thirds", THIRDS), layout("Halves", HALVES)], "Thirds",
                              extra={"StartMinimized": False})
    run.start_app()
    x, y = main_window_origin(run)
    run.wait_for("the zone overlay", lambda: overlay_count(run) == 1)

    def click(dx, dy):
        run.xdo("mousemove", str(x + dx), str(y + dy))
        run.xdo("click", "1")

    click(80, 74)  # Stop (the start/stop button of the first card)
    run.wait_for("the engine to stop", lambda: overlay_count(run) == 0)
    click(80, 74)  # Start
    run.wait_for("the engine to start again", lambda: overlay_count(run) == 1)

    click(120, 366)  # the current layout field opens the list
    click(120, 422)  # its second row: Halves
    def saved():
        with open(run.settings_path) as f:
            return '"ActiveLayout": "Halves"' in f.read()
    run.wait_for("the chosen layout in settings.json", saved)
    # The engine starts over with the new zones: the overlay shows one border, in the middle.
    w = run.monitors_seen[0]["w"]
    run.wait_for("the overlay of the two halves",
                 lambda: (overlay_lines(run) or {}).get(w // 2) and not (overlay_lines(run) or {}).get(round(w / 3)))
    run.screenshot("main")
