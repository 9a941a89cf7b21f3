"""What users download: the per-user installer and its uninstaller, on a Wine "machine"
of their own (a prefix beside the build's, made once) so that what they install and
register never meets the other scenarios, each scenario starting from a machine without
Tilewright; and the portable zip."""
import glob
import re
import struct
import zipfile

from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)

UNINSTALL_KEY = (r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall"
                 r"\{3C5F1B72-9E04-4A6D-B8E1-5D27C0A94F13}_is1")
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools")
# Where the scenarios install: a folder name with an apostrophe, blanks and letters
# beyond ASCII, as a user's profile folder can have ("C:\Users\O'Brien").
FOLDER = r"Programs\Zoë O'Brien's Tilewright"


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
        self.folder = folders["Local AppData"] + "\\" + FOLDER
        self.exe = self.folder + r"\Tilewright.exe"
        self.unix_folder = self.unix(self.folder)
        # A second copy, for the scenarios that install two.
        self.other_folder = folders["Local AppData"] + r"\Tools\Tilewright"
        self.shortcut = self.unix(folders["Programs"] + r"\Tilewright.lnk")
        self.launcher = os.path.join(os.path.dirname(os.path.abspath(run.fixture)), "command_line.exe")
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
        shutil.rmtree(self.unix(self.other_folder), ignore_errors=True)
        if os.path.exists(self.shortcut):
            os.remove(self.shortcut)
        subprocess.run(["wine", "cmd", "/c", "reg delete %s /f & reg delete %s /v Tilewright /f" %
                        (UNINSTALL_KEY, RUN_KEY)], env=self.run.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def command_line(self, line, wait=True):
        """Runs LINE exactly as written, with the scenario's APPDATA and TMP; when WAIT,
        to its end, giving its exit code. Wine's own argument quoting would quote the
        installer's "/D=" folder, which must be unquoted, and its "start" cannot run a
        program from the scenarios' folder."""
        self.lines = getattr(self, "lines", 0) + 1
        path = os.path.join(self.run.dir, "command-line-%d.txt" % self.lines)
        with open(path, "w", encoding="utf-8") as f:
            f.write(line)
        p = self.run.wine(win_path(self.launcher), win_path(path), wait=wait, timeout=120)
        return p.returncode if wait else p

    def setup(self, *args, folder=None):
        """Runs the installer to its end, into FOLDER when given (else where the uninstall
        record says, as the update check does); its exit code."""
        return self.command_line(" ".join(['"%s"' % win_path(self.run.installer)] + list(args) +
                                          (["/D=" + folder] if folder else [])))

    def start(self):
        """Starts the installed program."""
        self.command_line('"%s"' % self.exe, wait=False)

    def uninstall(self, folder=None, silent=True):
        """Runs the uninstaller (of FOLDER): silently to its end, or leaving its window open."""
        self.command_line('"%s\\Uninstall.exe"%s' % (folder or self.folder, " /S" if silent else ""), wait=silent)

    def reg_values(self, key):
        q = subprocess.run(["wine", "reg", "query", key], env=self.run.env, capture_output=True)
        values = {}
        # Piped, reg writes in code page 437.
        for line in q.stdout.decode("cp437").replace("\r", "").split("\n"):
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


def version_info(path):
    """The version resource of a Windows program: its fixed file and product versions
    ("1.2.3.0") and its texts."""
    data = read_bytes(path)
    root = data.find("VS_VERSION_INFO\0".encode("utf-16-le")) - 6
    if root < 0:
        raise Failure("%s has no version resource" % path)

    def block(at):  # key, value bytes, children, length
        length, value_length, is_text = struct.unpack_from("<HHH", data, at)
        key_end = at + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        value_at = (key_end + 2 + 3) & ~3
        value = data[value_at:value_at + (value_length * 2 if is_text else value_length)]
        children, child = [], (value_at + len(value) + 3) & ~3
        while child < at + length:
            children.append(block(child))
            child = (child + children[-1][3] + 3) & ~3
        return data[at + 6:key_end].decode("utf-16-le"), value, children, length

    _, fixed, tables, _ = block(root)
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", fixed, 8)
    dotted = lambda ms, ls: "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    texts = {key: value.decode("utf-16-le").rstrip("\0")
             for name, _, string_tables, _ in tables if name == "StringFileInfo"
             for _, _, strings, _ in string_tables for key, value, _, _ in strings}
    return dotted(file_ms, file_ls), dotted(product_ms, product_ls), texts


@scenario
def setup_installs_updates_and_uninstalls(run):
    m = Machine(run)
    version = re.search(r"Tilewright-(.+)-Setup\.exe$", run.installer).group(1)
    run.write_settings('{"AutoStart": false, "StartMinimized": false, "HideToTray": false}\n')

    # The set-up carries the program's version: the update check compares it with the
    # version it was offered.
    file_version, product_version, texts = version_info(run.installer)
    _, _, program_texts = version_info(run.exe)
    want = {"ProductVersion": version, "FileVersion": version, "ProductName": program_texts["ProductName"],
            "CompanyName": program_texts["CompanyName"], "FileDescription": "Tilewright Setup",
            "LegalCopyright": program_texts["LegalCopyright"]}
    if (file_version, product_version) != (version + ".0",) * 2 or any(texts.get(k) != v for k, v in want.items()):
        raise Failure("set-up version resource: %s %s %r, wanted %s.0 and %r" %
                      (file_version, product_version, texts, version, want))

    # A silent install as an administrator would run it.
    if m.setup("/S", folder=m.folder) != 0:
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
    m.start()
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
    m.uninstall()
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
    if m.setup("/S", folder=m.folder) != 0:
        raise Failure("the silent install failed")
    run.write_settings('{"AutoStart": false}\n')
    settings_dir = os.path.dirname(run.settings_path)
    m.uninstall(silent=False)

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
def uninstall_leaves_another_copy(run):
    """Two installed copies share the shortcut's name, the Run value's name and the
    uninstall record: removing one leaves the other's alone."""
    m = Machine(run)
    run.write_settings('{"AutoStart": false}\n')
    if m.setup("/S", folder=m.folder) != 0:
        raise Failure("the first install failed")
    # The second copy goes into a folder that holds a file of the user's.
    other = m.unix(m.other_folder)
    os.makedirs(other)
    with open(os.path.join(other, "notes.bin"), "wb") as f:
        f.write(b"\0" * 3000000)
    if m.setup("/S", folder=m.other_folder) != 0:
        raise Failure("the second install failed")
    record = m.reg_values(UNINSTALL_KEY)
    written = sum(os.path.getsize(os.path.join(other, n)) for n in ("Tilewright.exe", "Uninstall.exe"))
    if record.get("InstallLocation") != m.other_folder or record.get("EstimatedSize") != (written + 1023) // 1024:
        raise Failure("the second copy's record: %r (its files: %d bytes)" % (record, written))
    other_run_value = '"%s\\Tilewright.exe" --tray' % m.other_folder
    subprocess.run(["wine", "reg", "add", RUN_KEY, "/v", "Tilewright", "/d", other_run_value, "/f"],
                   env=run.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    shortcut = read_bytes(m.shortcut)

    m.uninstall()
    run.wait_for("the first copy's folder to go", lambda: not os.path.exists(m.unix_folder), timeout=90)
    gone = [what for what, kept in (("shortcut", os.path.isfile(m.shortcut) and read_bytes(m.shortcut) == shortcut),
                                    ("Run value", m.run_value() == other_run_value),
                                    ("uninstall record", m.reg_values(UNINSTALL_KEY) == record))
            if not kept]
    if gone:
        raise Failure("uninstalling the first copy took the second copy's %s" % ", ".join(gone))

    m.uninstall(m.other_folder)
    run.wait_for("the second copy's uninstaller to end",
                 lambda: not os.path.exists(os.path.join(other, "Uninstall.exe")), timeout=90)
    run.wait_for("the second copy's record to go", lambda: not m.reg_values(UNINSTALL_KEY))
    left = [what for what, there in (("shortcut", os.path.exists(m.shortcut)),
                                     ("Run value", m.run_value() is not None),
                                     ("program", os.path.exists(os.path.join(other, "Tilewright.exe"))))
            if there]
    if left or not os.path.isfile(os.path.join(other, "notes.bin")):
        raise Failure("uninstalling the second copy left %r, or took the user's file" % left)


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
