"""Commands to the running program: "Tilewright.exe --command VERB [ARGUMENTS]"."""
from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)

_count = [0]


def command(run, *args, timeout=60):
    """Runs Tilewright.exe --command ARGS from a batch file, as a script would, and returns
    (exit code, the line it wrote). cmd splits quoted arguments given on its own command
    line, and its exit code is the program's only through `exit %ERRORLEVEL%`."""
    def quote(a):
        return '"%s"' % a if (" " in a or not a) else a
    _count[0] += 1
    bat = os.path.join(run.dir, "command%d.bat" % _count[0])
    with open(bat, "w", newline="\r\n") as f:
        f.write("@echo off\nset APPDATA=%s\nset TMP=%s\nset TEMP=%s\n%s --command %s\nexit %%ERRORLEVEL%%\n" % (
            win_path(run.appdata), win_path(run.tmp), win_path(run.tmp), quote(win_path(run.exe)),
            " ".join(quote(a).replace("%", "%%") for a in args)))
    with tempfile.TemporaryFile() as out:
        code = subprocess.run(["wine", "cmd", "/c", win_path(bat)], env=run.env, stdout=out,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode
        out.seek(0)
        text = out.read().decode("utf-8", errors="replace").strip()
    return code, text


def expect(run, args, code, line=None):
    got, text = command(run, *args)
    if got != code or (line is not None and not re.search(line, text)):
        raise Failure("--command %s gave %d %r, expected %d %r; log tail %r"
                      % (" ".join(args), got, text, code, line, run.log_lines()[-8:]))
    return text


@scenario
def command_without_a_running_tilewright(run):
    """Exit code 1 when nothing runs, 2 for garbage (checked before looking), and neither
    starts a program nor leaves a window behind."""
    expect(run, ["status"], 1, r"^Tilewright is not running\.$")
    expect(run, ["launch", "calc.exe"], 2, r"^Unknown command \"launch\"\. Verbs: start, stop")
    expect(run, [], 2, r"^Usage: Tilewright.exe --command VERB")
    run.wait_log(r'^command: sent "status" -> 1 Tilewright is not running\.$')
    if wine_pid(win_path(run.exe)):
        raise Failure("a Tilewright process is left running")
    if os.path.exists(run.settings_path):
        raise Failure("a command wrote settings")


@scenario
def command_drives_the_running_tilewright(run):
    mon = run.write_screen_settings([layout("Halves", HALVES), layout("Thirds", THIRDS)], "Halves")
    w, h = mon["w"], mon["h"]
    run.xdo("mousemove", str(w // 4), str(h // 2))
    run.start_app("--tray")
    run.wait_for("the zone overlay", lambda: (overlay_lines(run) or {}).get(w // 2), timeout=60)

    status = json.loads(expect(run, ["status"], 0))
    settings = json.load(open(run.settings_path, encoding="utf-8"))
    want = {"running": True, "zones_shown": True,
            "screens": [{"id": mon["id"], "name": mon["name"], "enabled": True,
                         "active_layout": "Halves", "layouts": ["Halves", "Thirds"]}]}
    if {k: status.get(k) for k in want} != want or not re.match(r"^\d+\.\d+\.\d+$", status["version"]):
        raise Failure("status %r, expected %r" % (status, want))
    if settings["Screens"][0]["ActiveLayout"] != status["screens"][0]["active_layout"]:
        raise Failure("status and settings.json disagree: %r" % settings["Screens"])

    # Garbage changes nothing: the settings file stays byte for byte, the zones stay.
    before = open(run.settings_path, "rb").read()
    expect(run, ["zones", "blink"], 2, r"^Wrong arguments\. Usage: zones show\|hide\|toggle$")
    expect(run, ["layout", "Thirds", "--screen"], 2)
    expect(run, ["layout", "No such layout"], 3, r'has no layout named "No such layout"')
    expect(run, ["layout", "thirds"], 3)  # names are exact
    if open(run.settings_path, "rb").read() != before or not (overlay_lines(run) or {}).get(w // 2):
        raise Failure("a refused command changed the settings or the zones")
    run.wait_log(r'^command: "zones blink" -> 2 Wrong arguments')

    # A layout by name applies its zones, as picking it in the main window does.
    expect(run, ["layout", "Thirds"], 0, r'^Layout "Thirds" applied on ')
    x1, x2 = round(w / 3), round(2 * w / 3)
    run.wait_for("the overlay of thirds",
                 lambda: (lambda l: l.get(x1) and l.get(x2) and not l.get(w // 2))(overlay_lines(run) or {}))
    saved = json.load(open(run.settings_path, encoding="utf-8"))
    if saved["Screens"][0]["ActiveLayout"] != "Thirds":
        raise Failure("ActiveLayout not saved: %r" % saved["Screens"])
    if json.loads(expect(run, ["status"], 0))["screens"][0]["active_layout"] != "Thirds":
        raise Failure("status does not show the new layout")
    # A screen named by its id or its name; "next" wraps.
    expect(run, ["layout", "Halves", "--screen", mon["id"]], 0, r'^Layout "Halves" applied on ')
    expect(run, ["layout", "next", "--screen", mon["name"]], 0, r'^Layout "Thirds" applied on ')
    expect(run, ["layout", "Halves", "--screen", "No such screen"], 3, r'^No screen has the id or name')

    # Move left: the fixture in front, confined to the middle third, goes one zone left.
    report = os.path.join(run.dir, "fixture.txt")
    run.xdo("mousemove", str(w // 2), str(h // 2))
    run.start_fixture("Fixture", report, "--maximize-after", "1500")
    run.wait_rect(report, (x1, 0, x2, h))
    run.xdo("click", "1")
    run.wait_for("the fixture in front", lambda: (run.read_report(report) or {}).get("foreground"))
    expect(run, ["move", "left"], 0, r"^Moved the foreground window left\.$")
    run.wait_rect(report, (0, 0, x1, h))
    run.screenshot("moved")
    expect(run, ["move", "left"], 3, r"not moved")  # the screen's edge
    run.wait_log(r"^move_active_window: no destination Left \(edge or no zones\)$")

    def window_shown(title):
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], env=run.env,
                              capture_output=True).returncode == 0
    expect(run, ["share", "1"], 0, r"^Sharing zone 1 of ")
    run.wait_for("the share window", lambda: window_shown("^Tilewright - Share Zone 1$"))
    expect(run, ["share", "1"], 0, r"^Zone 1 of .* is already shared\.$")
    expect(run, ["share", "4"], 3, r"has no zone 4\.$")
    expect(run, ["share", "stop"], 0, r"^Every zone share stopped\.$")
    run.wait_for("the share window closed", lambda: not window_shown("^Tilewright - Share Zone 1$"))
    expect(run, ["show"], 0, r"^Main window shown\.$")
    run.wait_for("the main window", lambda: main_window_visible(run))
    # Wine draws a window a while after mapping it: its centre is no longer the black desktop.
    ox, oy = main_window_origin(run)
    run.wait_for("the main window drawn",
                 lambda: run.pixel(run.screenshot("shown"), ox + 290, oy + 300) != (0, 0, 0))

    expect(run, ["zones", "hide"], 0, r"^Zones hidden\.$")
    run.wait_for("the overlay hidden", lambda: overlay_count(run) == 0)
    expect(run, ["stop"], 0, r"^Tilewright stopped\.$")
    expect(run, ["move", "right"], 3, r"^Tilewright is stopped\.$")
    if json.loads(expect(run, ["status"], 0))["running"] is not False:
        raise Failure("status still running after stop")

    expect(run, ["exit"], 0, r"^Tilewright exits\.$")
    run.wait_for("the program to end", lambda: not wine_pid(win_path(run.exe)))
    expect(run, ["status"], 1)
