"""Windows keep what is theirs with Wine's own programs: a held window follows a layout
change, a window dragged out of its zone gets its size back, and a window that cannot
be resized (winemine) keeps its size in a zone. Without a window manager nothing draws
a caption to drag by: xdotool moves and sizes the program's X window as a window
manager does when the user drags it (with the mouse button up when it ends)."""
from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)



def wordpad(run):
    """Wine's wordpad, copied beside the scenario: the path of its folder has spaces,
    which the harness's "start" line does not carry through."""
    prefix = run.env.get("WINEPREFIX") or os.path.expanduser("~/.wine")
    copy = os.path.join(run.dir, "wordpad.exe")
    shutil.copy(os.path.join(prefix, "drive_c", "Program Files", "Windows NT", "Accessories",
                             "wordpad.exe"), copy)
    return win_path(copy)


def window_rect(run, cls):
    """The window rectangle of the first top-level window of a class, from Win32."""
    for line in run.probe(run.region_probe, cls).split("\n"):
        parts = line.split()
        if parts[:1] == ["window"]:
            return tuple(int(v) for v in parts[1:5])
    return None


def wait_window_rect(run, cls, want, tolerance=2):
    return run.wait_for("%s at %r (now %r)" % (cls, want, window_rect(run, cls)),
                        lambda: (lambda r: r and all(abs(a - b) <= tolerance for a, b in zip(r, want)))(
                            window_rect(run, cls)), timeout=30)


def x_window(run, name):
    out = run.wait_for("the X window named %s" % name, lambda: subprocess.run(
        ["xdotool", "search", "--name", name], env=run.env, capture_output=True, text=True).stdout.split())
    return out[0]


def move_x_window(run, cls, name, x, y, moved):
    """Moves the program's X window (a window manager's move) until its Win32 rectangle
    shows it: a move made while Wine is still mapping the window is lost."""
    def attempt():
        run.xdo("windowmove", x_window(run, name), str(x), str(y))
        time.sleep(0.3)
        r = window_rect(run, cls)
        return r if r and moved(r) else None
    return run.wait_for("%s moved to (%d, %d)" % (cls, x, y), attempt)


def start_with(run, program, cls, layouts, active, cursor):
    mon = run.write_screen_settings(layouts, active)
    run.xdo("mousemove", str(cursor[0]), str(cursor[1]))
    run.start_app("--tray")
    run.wait_for("the zone overlay", lambda: overlay_count(run) >= 1, timeout=60)
    run.wine(program)
    run.wait_for("the %s window" % cls, lambda: window_rect(run, cls), timeout=60)
    return mon


@scenario
def held_wordpad_follows_the_cycled_layout(run):
    mon = start_with(run, wordpad(run), "WORDPADTOP", [layout("Halves", HALVES), layout("Thirds", THIRDS)],
                     "Halves", (1500, 500))
    w, h = mon["w"], mon["h"]
    # Maximised from its system menu (Alt+Space, Maximise): taken over into the zone
    # under the cursor.
    move_x_window(run, "WORDPADTOP", "Wine Wordpad", w // 2 + 100, 300, lambda r: r[0] > w // 2)
    run.xdo("mousemove", str(w // 2 + 300), "400")
    run.xdo("click", "1")
    run.xdo("key", "alt+space")
    time.sleep(0.5)
    run.xdo("key", "x")
    wait_window_rect(run, "WORDPADTOP", (w // 2, 0, w, h))
    run.wait_log(r"^confiner: CONFINE hwnd=-?\d+ cls='WORDPADTOP'")
    run.xdo("mousemove", str(3 * w // 4), str(h // 2))
    run.xdo("click", "1")
    run.xdo("key", "ctrl+alt+c")
    x1, x2 = round(w / 3), round(2 * w / 3)
    wait_window_rect(run, "WORDPADTOP", (x1, 0, x2, h))  # zone 2 of three
    run.wait_log(r"^layout_follow: hwnd=-?\d+ zone \[%d,0,%d,%d\] -> \[%d,0,%d,%d\]" % (w // 2, w, h, x1, x2, h))
    time.sleep(1)  # passes run meanwhile: it stays held and where it is
    run.screenshot("thirds")
    if any(re.match(r"confiner: (release|drop) hold", l) for l in run.log_lines()):
        raise Failure("the hold was let go: %r" % run.log_lines()[-10:])
    wait_window_rect(run, "WORDPADTOP", (x1, 0, x2, h))
    run.xdo("mousemove", str(w // 2), str(h // 2))
    run.xdo("click", "1")
    run.xdo("key", "ctrl+alt+c")  # back to halves: zone 2 is the right half again
    wait_window_rect(run, "WORDPADTOP", (w // 2, 0, w, h))


@scenario
def window_dragged_out_of_its_zone_gets_its_size_back(run):
    mon = start_with(run, wordpad(run), "WORDPADTOP", [layout("Halves", HALVES)], "Halves", (1500, 500))
    w, h = mon["w"], mon["h"]
    own = window_rect(run, "WORDPADTOP")
    size = (own[2] - own[0], own[3] - own[1])
    run.xdo("mousemove", str((own[0] + own[2]) // 2), str((own[1] + own[3]) // 2))
    run.xdo("click", "1")
    run.xdo("key", "ctrl+alt+d")  # into the right half
    wait_window_rect(run, "WORDPADTOP", (w // 2, 0, w, h))
    run.screenshot("in_zone")
    # Dropped at a free spot with the pointer away from it: the top-left stays.
    run.xdo("mousemove", str(w - 20), str(h - 20))
    dropped = move_x_window(run, "WORDPADTOP", "Wine Wordpad", 300, 400, lambda r: r[0] < w // 2)
    wait_window_rect(run, "WORDPADTOP", (dropped[0], dropped[1], dropped[0] + size[0], dropped[1] + size[1]))
    run.wait_log(r"^own_size: hwnd=-?\d+ dragged out of its zone, own size back -> \[%d,%d,%d,%d\]$" %
                 (dropped[0], dropped[1], dropped[0] + size[0], dropped[1] + size[1]))
    run.screenshot("own_size_back")


@scenario
def winemine_shift_dragged_into_a_zone_keeps_its_size(run):
    mon = start_with(run, "winemine", "WineMine", [layout("Halves", HALVES)], "Halves", (10, 10))
    w, h = mon["w"], mon["h"]
    own = window_rect(run, "WineMine")
    mw, mh = own[2] - own[0], own[3] - own[1]
    # Pressed on the counters' row between the mine counter and the smiley (the window
    # manager's caption is missing here, see above): the game itself does nothing.
    geometry = subprocess.run(["xdotool", "getwindowgeometry", x_window(run, "WineMine")],
                              env=run.env, capture_output=True, text=True).stdout
    cx, cy = (int(v) for v in re.search(r"Position: (-?\d+),(-?\d+)", geometry).groups())
    x, y = cx + 55, cy + 35
    run.xdo("mousemove", str(x), str(y))
    run.xdo("click", "1")
    run.shift_drag((x, y), (1500, y + 300))
    run.wait_log(r"^SNAP hwnd=-?\d+ cls='WineMine' -> \[%d,0,%d,%d\]$" % (w // 2, w, h))
    left, top = w // 2 + (w // 2 - mw) // 2, (h - mh) // 2
    wait_window_rect(run, "WineMine", (left, top, left + mw, top + mh))
    run.wait_log(r"^re-snap hwnd=")
    time.sleep(0.5)
    wait_window_rect(run, "WineMine", (left, top, left + mw, top + mh))
    run.screenshot("winemine_centred")
