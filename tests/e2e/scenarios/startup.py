"""Start-up, maintenance options, settings migration and the hand-over between instances."""
from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)


@scenario
def list_monitors(run):
    mons = run.monitors()
    m = mons[0]
    if not (m["primary"] and m["w"] > 0 and m["h"] > 0 and m["id"]):
        raise Failure("unexpected monitor line %r" % m)


@scenario
def uninstall_cleanup(run):
    """--uninstall-cleanup removes the Run value that starts this copy, and leaves one that
    starts another program (another copy's, say) alone."""
    key = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"

    def run_value(data):
        subprocess.run(["wine", "reg", "add", key, "/v", "Tilewright", "/d", data, "/f"], env=run.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        run.start_app("--uninstall-cleanup").wait(timeout=60)
        q = subprocess.run(["wine", "reg", "query", key, "/v", "Tilewright"], env=run.env,
                           capture_output=True, text=True)
        return q.returncode == 0 and "Tilewright" in q.stdout

    if run_value('"%s" --tray' % win_path(run.exe)):
        raise Failure("the Run value of this copy survived --uninstall-cleanup")
    if not run_value(r'"C:\Other\Tilewright.exe" --tray'):
        raise Failure("--uninstall-cleanup removed another copy's Run value")
    subprocess.run(["wine", "reg", "delete", key, "/v", "Tilewright", "/f"], env=run.env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


@scenario
def legacy_settings_rewritten(run):
    mon = run.monitors()[0]
    run.write_settings('''{
  "AutoStart": false,
  "StartMinimized": true,
  "ActiveLayout": "50-50-left",
  "CustomLayouts": [ { "Name": "Halves", "Zones": [[0.0, 0.0, 0.5, 1.0], [0.5, 0.0, 1.0, 1.0]] } ],
  "Toolbar": {"pinned": [1, 2], "note": "kept as written"},
  "AccentColor": "#00FF00"
}''')
    run.start_app()
    def rewritten():
        try:
            with open(run.settings_path) as f:
                text = f.read()
        except FileNotFoundError:
            return None
        return text if '"Screens": [' in text else None
    text = run.wait_for("settings.json in the writer's format", rewritten)
    want = [
        '  "AccentColor": "#00ff00",\n',
        '  "Screens": [{ "Id": "%s", "Name": "%s", "Enabled": true, "CoverTaskbar": false, '
        '"ActiveLayout": "Halves" }],\n' % (mon["id"].replace("\\", "\\\\"), mon["name"]),
        '"Zones": [[0, 0, 0.5, 1], [0.5, 0, 1, 1]]',
        '  "Toolbar": {"pinned": [1, 2], "note": "kept as written"}\n}\n',
    ]
    for w in want:
        if w not in text:
            raise Failure("settings.json lacks %r:\n%s" % (w, text))
    for gone in ('"CustomLayouts"', '"ActiveLayout": "50-50-left"', '"primary-legacy"'):
        if gone in text:
            raise Failure("settings.json still holds %s:\n%s" % (gone, text))


@scenario
def second_instance_takes_over(run):
    run.write_screen_settings([layout("Halves", HALVES)], "Halves", auto_start=False,
                              extra={"StartMinimized": False})
    first = run.start_app()
    run.wait_for("the first main window", lambda: subprocess.run(
        ["xdotool", "search", "--name", "^Tilewright$"], env=run.env,
        capture_output=True).returncode == 0)
    second = run.start_app()
    run.wait_for("the first instance to exit", lambda: first.poll() is not None, timeout=20)
    time.sleep(1)
    if second.poll() is not None:
        raise Failure("the second instance exited too")
