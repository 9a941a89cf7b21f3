"""What users download: the per-user installer and its uninstaller, on a Wine "machine"
of their own (a prefix beside the build's, made once) so that what they install and
register never meets the other scenarios, each scenario starting from a machine without
Tilewright; and the portable zip."""
import glob
import re
import zipfile

from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)

UNINSTALL_KEY = (r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall"
                 r"\{3C5F1B72-9E04-4A6D-B8E1-5D27C0A94F13}_is1")
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools")


class Machine:
    """The scenario's Wine prefix, what set-up put into it, and the programs it runs."""

    def __init__(self, run):
        if not run.installer or not os.path.isfile(run.installer):
            raise Failure("no installer at %r: the build makes it when makensis is there "
                          "(tools/deps.sh installs nsis)" % run.installer)
        self.run = run
        self.prefix = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(run.dir))),
                                   "wineprefix-installer")
        run.env["WINEPREFIX"] = self.prefix
        # Wine would also turn the Start-menu shortcut into a desktop entry in the home folder.
        run.env["WINEDLLOVERRIDES"] = "winemenubuilder.exe=d"
        subprocess.run([os.path.join(TOOLS, "wine-prefix")], env=run.env, check=True)
        folders = self.shell_folders()
        self.folder = folders["Local AppData"] + r"\Programs\Tilewright"
        self.exe = self.folder + r"\Tilewright.exe"
        self.unix_folder = self.unix(self.folder)
        self.shortcut = self.unix(folders["Programs"] + r"\Tilewright.lnk")
        self.forget_tilewright()

    def shell_folders(self):
        """The user's folders as the prefix's registry file names them (read directly:
        asking Wine costs seconds a question)."""
        with open(os.path.join(self.prefix, "user.reg"), encoding="utf-8", errors="replace") as f:
            text = f.read()
        section = text.split("[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders]", 1)[1]
        section = section.split("\n[", 1)[0]
        return {m.group(1): m.group(2).replace("\\\\", "\\")
                for m in re.finditer(r'^"([^"]+)"="([^"]*)"$', section, re.M)}

    def unix(self, path):
        drive, rest = path.split(":", 1)
        return os.path.join(self.prefix, "dosdevices", drive.lower() + ":", *rest.strip("\\").split("\\"))

    def forget_tilewright(self):
        shutil.rmtree(self.unix_folder, ignore_errors=True)
        if os.path.exists(self.shortcut):
            os.remove(self.shortcut)
        subprocess.run(["wine", "cmd", "/c", "reg delete %s /f & reg delete %s /v Tilewright /f" %
                        (UNINSTALL_KEY, RUN_KEY)], env=self.run.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def setup(self, *args):
        """Runs the installer to its end; its exit code."""
        return self.run.wine(win_path(self.run.installer), *args, wait=True, timeout=120).returncode

    def reg_values(self, key):
        q = subprocess.run(["wine", "reg", "query", key], env=self.run.env, capture_output=True, text=True)
        values = {}
        for line in q.stdout.replace("\r", "").split("\n"):
            m = re.match(r"\s+(\S+)\s+(REG_\w+)\s+(.*)$", line)
            if m:
                values[m.group(1)] = int(m.group(3), 16) if m.group(2) == "REG_DWORD" else m.group(3)
        return values

    def run_value(self):
        return self.reg_values(RUN_KEY).get("Tilewright")

    def processes(self):
        """Process ids of the installed Tilewright.exe running in this prefix."""
        pids = set()
        for proc in glob.glob("/proc/[0-9]*"):
            try:
                with open(proc + "/cmdline", "rb") as f:
                    cmd = f.read().split(b"\0")[0].decode("utf-8", "replace")
                if cmd.lower() != self.exe.lower():
                    continue
                with open(proc + "/environ", "rb") as f:
                    if b"WINEPREFIX=" + self.prefix.encode() + b"\0" not in f.read():
                        continue
                pids.add(int(proc[6:]))
            except OSError:
                continue
        return pids

    def wait_running(self, what, not_in=()):
        # Generous: Wine can take long to start a process on a loaded machine.
        return self.run.wait_for(what, lambda: self.processes() - set(not_in), timeout=90)

    def installed_bytes(self):
        with open(os.path.join(self.unix_folder, "Tilewright.exe"), "rb") as f:
            return f.read()


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


@scenario
def setup_installs_updates_and_uninstalls(run):
    m = Machine(run)
    version = re.search(r"Tilewright-(.+)-Setup\.exe$", run.installer).group(1)
    run.write_settings('{"AutoStart": false, "StartMinimized": false, "HideToTray": false}\n')

    # A silent install as an administrator would run it.
    if m.setup("/S") != 0:
        raise Failure("the silent install failed")
    if m.installed_bytes() != read_bytes(run.exe):
        raise Failure("the installed Tilewright.exe is not the one built")
    record = m.reg_values(UNINSTALL_KEY)
    want = {"InstallLocation": m.folder, "DisplayName": "Tilewright", "DisplayVersion": version,
            "Publisher": "Corvane", "DisplayIcon": m.exe,
            "UninstallString": '"%s\\Uninstall.exe"' % m.folder,
            "QuietUninstallString": '"%s\\Uninstall.exe" /S' % m.folder}
    wrong = {k: (v, record.get(k)) for k, v in want.items() if record.get(k) != v}
    if wrong or not record.get("EstimatedSize"):
        raise Failure("uninstall record: wanted/got %r; whole record %r" % (wrong, record))
    if not os.path.isfile(m.shortcut):
        raise Failure("no Start-menu shortcut at %s" % m.shortcut)
    if m.processes():
        raise Failure("a silent install with nothing running started the program")

    # "Start with Windows" was on for a copy elsewhere: the installed copy takes it over.
    subprocess.run(["wine", "reg", "add", RUN_KEY, "/v", "Tilewright", "/d",
                    r'"C:\Tools\Tilewright.exe" --tray', "/f"], env=run.env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    run.wine(m.exe)
    first = m.wait_running("the installed program")
    main_window_origin(run)  # the autostart refresh follows the window at once
    installed_run_value = '"%s" --tray' % m.exe
    run.wait_for("the Run value to name the installed copy (now %r)" % m.run_value(),
                 lambda: m.run_value() == installed_run_value)

    # An update that cannot write its file leaves the installed copy as it was, fails,
    # and starts the program again.
    blocker = os.path.join(m.unix_folder, "Tilewright.exe.new")
    os.makedirs(os.path.join(blocker, "in the way"))
    exe_path = os.path.join(m.unix_folder, "Tilewright.exe")
    os.utime(exe_path, (946684800, 946684800))  # 2000-01-01, so that a rewrite shows
    if m.setup("/SILENT") == 0:
        raise Failure("an update that could not write Tilewright.exe reported success")
    if os.stat(exe_path).st_mtime != 946684800 or m.installed_bytes() != read_bytes(run.exe):
        raise Failure("a failed update touched the installed Tilewright.exe")
    second = m.wait_running("the program started again after the failed update", not_in=first)
    shutil.rmtree(blocker)

    # The update check's silent install over the running copy: the old process ends, the
    # file is replaced and the new copy runs.
    if m.setup("/SILENT") != 0:
        raise Failure("the silent update over a running copy failed")
    if m.processes() & second:
        raise Failure("the copy that was running is still running after the update")
    if os.stat(exe_path).st_mtime == 946684800:
        raise Failure("the update did not replace Tilewright.exe")
    third = m.wait_running("the updated program to run again", not_in=second)
    if m.run_value() != installed_run_value:
        raise Failure("the update changed the Run value to %r" % m.run_value())

    # The quiet uninstall string, while the program runs: everything of the program
    # goes, the user's settings stay byte for byte.
    settings = read_bytes(run.settings_path)
    run.wine(m.folder + r"\Uninstall.exe", "/S", wait=True)
    # The uninstaller continues from a copy of itself in the temporary folder.
    run.wait_for("the program folder to go", lambda: not os.path.exists(m.unix_folder), timeout=90)
    run.wait_for("the uninstall record to go", lambda: not m.reg_values(UNINSTALL_KEY))
    left = [what for what, there in (("shortcut", os.path.exists(m.shortcut)),
                                     ("Run value", m.run_value() is not None),
                                     ("running program", bool(m.processes() & third)))
            if there]
    if left:
        raise Failure("the uninstall left: %s" % ", ".join(left))
    if read_bytes(run.settings_path) != settings:
        raise Failure("the uninstall changed settings.json")


@scenario
def uninstall_deletes_settings_when_asked(run):
    m = Machine(run)
    if m.setup("/S") != 0:
        raise Failure("the silent install failed")
    run.write_settings('{"AutoStart": false}\n')
    settings_dir = os.path.dirname(run.settings_path)
    run.wine(m.folder + r"\Uninstall.exe")

    def window():
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tilewright Uninstall",
                              "getwindowgeometry"], env=run.env, capture_output=True, text=True).stdout
        pos = re.search(r"Position: (-?\d+),(-?\d+)", out)
        size = re.search(r"Geometry: (\d+)x(\d+)", out)
        return pos and size and tuple(int(v) for v in pos.groups() + size.groups())
    x, y, w, h = run.wait_for("the uninstaller's window", window)
    # Without a window manager a click gives the keyboard focus (on the branding line).
    run.xdo("mousemove", str(x + 12), str(y + h - 20), "click", "1")
    run.xdo("key", "alt+a")
    run.screenshot("box_ticked")
    run.xdo("key", "Return")
    run.wait_for("the program folder to go", lambda: not os.path.exists(m.unix_folder), timeout=90)
    run.wait_for("the settings folder to go", lambda: not os.path.exists(settings_dir))
    run.screenshot("finished")
    if m.reg_values(UNINSTALL_KEY):
        raise Failure("the uninstall record is still there")


@scenario
def portable_zip_runs_where_unpacked(run):
    if not run.portable_zip or not os.path.isfile(run.portable_zip):
        raise Failure("no portable zip at %r" % run.portable_zip)
    folder = os.path.join(run.dir, "unpacked")
    with zipfile.ZipFile(run.portable_zip) as z:
        names = z.namelist()
        z.extractall(folder)
    if names[:2] != ["Tilewright.exe", "README.txt"]:
        raise Failure("the zip holds %r" % names)
    if read_bytes(os.path.join(folder, "Tilewright.exe")) != read_bytes(run.exe):
        raise Failure("the zip's Tilewright.exe is not the one built")
    readme = read_bytes(os.path.join(folder, "README.txt")).decode("utf-8")
    version = re.search(r"Tilewright-(.+)-portable\.zip$", run.portable_zip).group(1)
    if not readme.startswith("Tilewright %s" % version) or "\n" in readme.replace("\r\n", ""):
        raise Failure("README.txt does not start with the version or has bare line feeds:\n%s" % readme)
    run.exe = os.path.join(folder, "Tilewright.exe")
    run.monitors()  # the unpacked program runs and logs
