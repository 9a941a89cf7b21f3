"""The network services against a local HTTPS web service (web_service.py): the update
check and its usage ping, the download and check of a signed installer, and language
packs from the language index."""
import json
import os
import re
import subprocess

from harness import *  # noqa: F401,F403 (Run, scenario, Failure and the probes)
from web_service import Reply, WebService

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools")
DISCARD = "update: download or signature/hash verification failed, discarding"


def serve(run):
    """The web service for this scenario; stopped when the scenario ends."""
    if not run.deployment or not run.test_installer:
        raise Failure("the network scenarios need --deployment and --test-installer (a test build)")
    with open(run.deployment) as f:
        deployment = json.load(f)
    service = WebService(deployment, os.path.join(os.path.dirname(run.deployment), "pki"),
                         os.path.join(run.dir, "requests.log"))
    run.cleanups.append(service.stop)
    return deployment, service


def newer(version):
    major, rest = version.split(".", 1)
    return "%d.%s" % (int(major) + 1, rest)


def old_installer(run):
    """The test installer that carries version 1.0.0, built beside the newer one."""
    return os.path.join(os.path.dirname(run.test_installer), "test_installer_old.exe")


def manifest(run, deployment, version, url, installer=None, status=200, **drop):
    """The manifest the release signing tool writes for the test installer."""
    p = subprocess.run([os.path.join(TOOLS, "sign-update"), "--installer", installer or run.test_installer,
                        "--key", deployment["private_key"], "--version", version, "--url", url],
                       capture_output=True, text=True)
    if p.returncode != 0:
        raise Failure("sign-update failed: %s" % p.stderr)
    data = json.loads(p.stdout)
    for key in drop:
        data.pop(key)
    return Reply(json.dumps(data), status, content_type="application/json")


def settings(run, **values):
    data = {"AutoStart": False, "StartMinimized": True, "HideToTray": False}
    data.update(values)
    run.write_settings(json.dumps(data, indent=2))


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def log_count(run, line):
    return sum(1 for l in run.log_lines() if l == line)


def update_requests(service):
    """(path, user agent) of each update request, in order."""
    return [(p, a) for p, a in zip(service.requests, service.agents) if p.startswith("/api/update")]


def files_under(folder):
    return sorted(os.path.relpath(os.path.join(d, n), folder) for d, _, names in os.walk(folder) for n in names)


@scenario
def update_is_downloaded_and_verified(run):
    """A newer version with "Update automatically" on and statistics off: the request is
    exactly "/api/update?v=<version>", the signed installer is downloaded, verified and
    kept for Install, and nothing runs before the user says so."""
    deployment, service = serve(run)
    version, offered = deployment["version"], newer(deployment["version"])
    url = service.url("/download/Tilewright-Setup.exe")
    service.routes["/api/update"] = manifest(run, deployment, offered, url)
    service.routes["/download/Tilewright-Setup.exe"] = Reply(read(run.test_installer))
    with open(os.path.join(run.tmp, "Tilewright-Update-Setup.exe"), "wb") as f:
        f.write(b"an older download, replaced")
    settings(run, UpdateAutomatically=True, UsageStatistics=False)
    run.start_app()
    run.wait_log(r"^update: version %s downloaded and verified$" % re.escape(offered), timeout=60)
    if update_requests(service)[:1] != [("/api/update?v=" + version, "Tilewright/" + version)]:
        raise Failure("update requests (path, agent): %r" % update_requests(service))
    if read(os.path.join(run.tmp, "Tilewright-Update-Setup.exe")) != read(run.test_installer):
        raise Failure("the verified installer was not kept in the temporary folder")
    if os.path.exists(os.path.join(run.tmp, "test-installer-ran.txt")):
        raise Failure("the installer ran before Install")


@scenario
def tampered_installer_is_discarded(run):
    """One byte of the served installer changed: the discard line, nothing runs, and the
    installer already waiting in the temporary folder is left as it was."""
    deployment, service = serve(run)
    offered = newer(deployment["version"])
    url = service.url("/download/Tilewright-Setup.exe")
    tampered = bytearray(read(run.test_installer))
    tampered[len(tampered) // 2] ^= 0x01
    service.routes["/api/update"] = manifest(run, deployment, offered, url)
    service.routes["/download/Tilewright-Setup.exe"] = Reply(bytes(tampered))
    waiting = os.path.join(run.tmp, "Tilewright-Update-Setup.exe")
    with open(waiting, "wb") as f:
        f.write(b"an installer verified earlier")
    settings(run, UpdateAutomatically=True)
    run.start_app()
    run.wait_log("^" + re.escape(DISCARD) + "$", timeout=60)
    if "/download/Tilewright-Setup.exe" not in service.requests:
        raise Failure("the installer was never requested: %r" % service.requests)
    if read(waiting) != b"an installer verified earlier":
        raise Failure("a failed download replaced the installer in the temporary folder")
    if any("downloaded and verified" in l for l in run.log_lines()):
        raise Failure("the tampered installer passed")
    if os.path.exists(os.path.join(run.tmp, "test-installer-ran.txt")):
        raise Failure("the tampered installer ran")


@scenario
def broken_manifests_offer_nothing(run):
    """A 404 page, a good signed manifest answered with 503, then a manifest without
    "signature": each check fails quietly, nothing is offered or downloaded, and the
    first ping stays unconfirmed."""
    deployment, service = serve(run)
    failed = "update: check failed: "
    settings(run, UpdateAutomatically=True, UsageStatistics=True)
    url = service.url("/download/Tilewright-Setup.exe")
    offered = newer(deployment["version"])
    answers = [
        (None, "the server answered 404"),  # no route: the service's 404 page
        (manifest(run, deployment, offered, url, status=503), "the server answered 503"),
        (manifest(run, deployment, offered, url, signature=True), "malformed update manifest"),
    ]
    for reply, reason in answers:
        if reply:
            service.routes["/api/update"] = reply
        run.start_app()  # takes over from the instance before and checks again
        run.wait_for(repr(reason), lambda: log_count(run, failed + reason) == 1, timeout=60)
    offers = [l for l in run.log_lines() if "is available" in l]
    if offers or any(r.startswith("/download/") for r in service.requests):
        raise Failure("a broken manifest led somewhere: %r %r" % (offers, service.requests))
    install_id = (read(os.path.join(run.appdata, "Tilewright", "install.id")) or b"").decode()
    if "first_ping_sent=0" not in install_id:
        raise Failure("an error page confirmed the first ping: %r" % install_id)
    if not all("&first=1" in p for p, _ in update_requests(service)):
        raise Failure("a later request no longer says first=1: %r" % update_requests(service))


@scenario
def older_signed_installer_never_runs(run):
    """An old installer, correctly signed with our key, offered under a newer version:
    the digest and signature check out, but it carries version 1.0.0, so it is refused
    with its own line, nothing is kept to run and the installer waiting is untouched."""
    deployment, service = serve(run)
    offered = newer(deployment["version"])
    url = service.url("/download/Tilewright-Setup.exe")
    service.routes["/api/update"] = manifest(run, deployment, offered, url, installer=old_installer(run))
    service.routes["/download/Tilewright-Setup.exe"] = Reply(read(old_installer(run)))
    waiting = os.path.join(run.tmp, "Tilewright-Update-Setup.exe")
    with open(waiting, "wb") as f:
        f.write(b"an installer verified earlier")
    settings(run, UpdateAutomatically=True)
    run.start_app()
    run.wait_log(r"^update: the installer offered as version %s is version 1\.0\.0; refusing it$"
                 % re.escape(offered), timeout=60)
    run.wait_log("^" + re.escape(DISCARD) + "$")
    if any("downloaded and verified" in l for l in run.log_lines()):
        raise Failure("the old installer passed")
    if read(waiting) != b"an installer verified earlier" or os.path.exists(waiting + ".new"):
        raise Failure("the refused installer was left in the temporary folder: %r" % files_under(run.tmp))
    time.sleep(2)
    if os.path.exists(os.path.join(run.tmp, "test-installer-ran.txt")):
        raise Failure("the old installer ran")


@scenario
def update_checks_can_be_turned_off(run):
    """"Check for updates" off: no request reaches the server, at start or later, and
    the file keeps the choice; switched on in the main window, the check goes out."""
    deployment, service = serve(run)
    service.routes["/api/update"] = manifest(run, deployment, deployment["version"], service.url("/x.exe"))
    settings(run, StartMinimized=False, UsageStatistics=True, CheckForUpdates=False)
    run.start_app()
    x, y = main_window_origin(run)
    run.wait_log(r"^update: checking for updates is off$", timeout=60)
    time.sleep(3)
    if update_requests(service):
        raise Failure("a request went out: %r" % service.requests)
    run.screenshot("checks-off")
    run.xdo("mousemove", str(x + 60), str(y + 408 + 36 + 34 * 4 + 14))  # the fifth row's switch
    run.xdo("click", "1")
    run.wait_for("the check to go out", lambda: update_requests(service), timeout=90)
    run.wait_for("settings.json without the key",
                 lambda: b"CheckForUpdates" not in (read(run.settings_path) or b"CheckForUpdates"))
    run.screenshot("checks-on")


@scenario
def redirects_stay_on_the_host(run):
    """A redirect to another path of the same host is followed; one to another host is
    refused with a log line and nothing is fetched from it or stored."""
    deployment, service = serve(run)
    service.routes["/languages.json"] = Reply.redirect("/index/languages-v2.json")
    service.routes["/index/languages-v2.json"] = language_index(de=("Deutsch", "lang/de.lang"))
    service.routes["/lang/de.lang"] = Reply.redirect("https://elsewhere.invalid/de.lang", 301)
    settings(run, Language="de")
    run.start_app()
    run.wait_log(r"^lang_fetch: languages in the index: 1$", timeout=60)
    run.wait_log(r"^lang_fetch: download of de failed: redirect to another host refused: elsewhere\.invalid$",
                 timeout=60)
    if [f for f in files_under(run.appdata) if f.endswith(".lang")]:
        raise Failure("a language file was stored: %r" % files_under(run.appdata))


@scenario
def first_ping_is_confirmed_once(run):
    """With statistics on, the first request carries the installation id, "first=1" and
    the download token; once answered, install.id says first_ping_sent=1, the token file
    is gone and the next start sends the id alone."""
    deployment, service = serve(run)
    version = deployment["version"]
    service.routes["/api/update"] = manifest(run, deployment, version, service.url("/download/x.exe"))
    folder = os.path.join(run.appdata, "Tilewright")
    settings(run, UsageStatistics=True)
    with open(os.path.join(folder, "download.token"), "w") as f:
        f.write("abc123def0\n")
    run.start_app()

    def confirmed():
        text = (read(os.path.join(folder, "install.id")) or b"").decode()
        return "first_ping_sent=1" in text and not os.path.exists(os.path.join(folder, "download.token"))
    run.wait_for("install.id to confirm the first ping", confirmed, timeout=60)
    first = re.match(r"^/api/update\?v=%s&id=([0-9a-f]{32})&lang=en&os=\d+&first=1&dl=abc123def0$"
                     % re.escape(version), update_requests(service)[0][0])
    if not first:
        raise Failure("first request %r" % update_requests(service)[0][0])
    run.start_app()
    run.wait_for("the second start's request", lambda: len(update_requests(service)) >= 2, timeout=60)
    second = update_requests(service)[1][0]
    if not re.match(r"^/api/update\?v=%s&id=%s&lang=en&os=\d+$" % (re.escape(version), first.group(1)), second):
        raise Failure("second request %r" % second)


GERMAN = """# Deutsch
main.status_idle = Inaktiv
main.status_active = Aktiv: Maximieren rastet in Zonen ein; Umschalt-Ziehen zum Einrasten.
main.current_layout_heading = Aktuelles Layout
main.screen_enabled_toggle = Aktiviert
main.edit_layouts_link = Layouts bearbeiten…
main.preferences_heading = Einstellungen
main.pref_show_zones = Zonen anzeigen
main.pref_auto_start = Beim Start einrasten
main.pref_cover_taskbar = Taskleiste überdecken
main.pref_start_with_windows = Mit Windows starten
main.pref_show_in_tray = Im Infobereich zeigen
main.pref_start_minimized = Minimiert starten
main.pref_update_automatically = Automatisch aktualisieren
main.pref_usage_statistics = Nutzungsstatistik senden
main.shortcuts_button = Tastenkürzel…
main.app_color_button = App-Farbe…
main.about_button = Über
common.start = Starten
common.stop = Stoppen
"""


def language_index(**entries):
    return Reply(json.dumps({code: {"name": name, "version": 1, "path": path}
                             for code, (name, path) in entries.items()}), content_type="application/json")


@scenario
def language_is_downloaded_and_shown(run):
    """The index fills the main window's language list; choosing Deutsch downloads it,
    stores lang/de.lang, saves the choice and redraws the window in German."""
    deployment, service = serve(run)
    service.routes["/languages.json"] = language_index(de=("Deutsch", "lang/de.lang"),
                                                       fr=("Fran\u00e7ais", "lang/fr.lang"))
    service.routes["/lang/de.lang"] = Reply(GERMAN.encode())
    settings(run, StartMinimized=False)
    run.start_app()
    x, y = main_window_origin(run)
    run.wait_log(r"^lang_fetch: languages in the index: 2$", timeout=60)
    run.screenshot("english")

    def click(dx, dy):
        run.xdo("mousemove", str(x + dx), str(y + dy))
        run.xdo("click", "1")
    click(339, 20)  # the language field opens the list: English, Deutsch | Français
    click(199, 74)  # Deutsch: first column, second row
    stored = os.path.join(run.appdata, "Tilewright", "lang", "de.lang")
    run.wait_for("lang/de.lang", lambda: read(stored) == GERMAN.encode(), timeout=60)
    run.wait_for('"Language": "de" in settings.json',
                 lambda: '"Language": "de"' in (read(run.settings_path) or b"").decode())
    run.wait_log(r"^lang_fetch: installed language de$")
    time.sleep(1)  # the repaint follows the message that installed the catalog
    run.screenshot("deutsch")

    # Back to English and to Deutsch again: the stored file serves, nothing is fetched.
    for row_y, code in ((46, "en"), (74, "de")):
        click(339, 20)
        click(199, row_y)
        run.wait_for('"Language": "%s" in settings.json' % code,
                     lambda: '"Language": "%s"' % code in (read(run.settings_path) or b"").decode())
    if service.requests.count("/lang/de.lang") != 1:
        raise Failure("a stored language was fetched again: %r" % service.requests)


@scenario
def hostile_language_codes_write_nothing(run):
    """Index members whose code would name a file outside lang/ are refused with a log
    line before anything is downloaded, even when the settings name one of them."""
    deployment, service = serve(run)
    hostile = ["../../evil", "a\\b", "C:x", "con"]
    entries = {code: ("Evil", "lang/evil.lang") for code in hostile}
    entries["de"] = ("Deutsch", "lang/de.lang")
    service.routes["/languages.json"] = language_index(**entries)
    service.routes["/lang/evil.lang"] = Reply("main.status_idle = pwned\n")
    settings(run, Language="../../evil")
    run.start_app()
    run.wait_log(r"^lang_fetch: languages in the index: 1$", timeout=60)
    for code in hostile:
        run.wait_log('^lang_fetch: skipping language code "%s"' % re.escape(code.replace("\\", "\\\\")))
    time.sleep(2)  # a download, were one started, would have been requested by now
    if "/lang/evil.lang" in service.requests:
        raise Failure("a hostile entry was downloaded: %r" % service.requests)
    written = [f for f in files_under(run.dir) if f.endswith(".lang")]
    if written:
        raise Failure("language files were written: %r" % written)


@scenario
def failed_language_refresh_keeps_the_stored_file(run):
    """Language fr with a stored fr.lang: each start downloads it again; a body cut off,
    a 404 page, a file of comments only and an HTML page served with 200 are all
    refused and the stored file stays byte for byte."""
    deployment, service = serve(run)
    service.routes["/languages.json"] = language_index(fr=("Fran\u00e7ais", "lang/fr.lang"))
    stored = os.path.join(run.appdata, "Tilewright", "lang", "fr.lang")
    good = "main.status_idle = Inactif\n".encode()
    os.makedirs(os.path.dirname(stored))
    with open(stored, "wb") as f:
        f.write(good)
    settings(run, Language="fr")
    failures = [
        (Reply("main.status_idle = Coup\u00e9\nmain.status_active = x\n", cut_short=True),
         "the response was cut off"),
        (Reply('<html><head><meta charset="utf-8"></head><body>a = b</body></html>', 404, "text/html"),
         "the server answered 404"),
        (Reply("# nothing here\n# nor here\n"), "downloaded language file had no valid entries"),
        (Reply('<!DOCTYPE html>\n<html><head><meta charset="utf-8"></head><body>a = b</body></html>\n',
               200, "text/html"), "downloaded language file is not a language file (line 1)"),
    ]
    for n, (reply, reason) in enumerate(failures, 1):
        service.routes["/lang/fr.lang"] = reply
        run.start_app()
        line = "lang_fetch: download of fr failed: " + reason
        run.wait_for("%r" % line, lambda: log_count(run, line) == 1, timeout=60)
        if read(stored) != good:
            raise Failure("after %r the stored file is %r" % (reason, read(stored)))
    if service.requests.count("/lang/fr.lang") != len(failures):
        raise Failure("requests: %r" % service.requests)


@scenario
def update_dialog_says_a_download_failed_and_remembers_later(run):
    """The dialog offers a newer version whose installer is gone (404): Install fails,
    and the dialog is usable again and says so. Later is remembered: the next start
    offers the update through the main window's link only, no dialog."""
    from scenarios.dialogs import click, wait_gone, wait_window, windows
    deployment, service = serve(run)
    offered = newer(deployment["version"])
    service.routes["/api/update"] = manifest(run, deployment, offered, service.url("/download/gone.exe"))
    settings(run)
    run.start_app()
    rect = wait_window(run, "TilewrightUpdate", "the update dialog")
    height = rect[3] - rect[1]
    click(run, rect, 40, height - 31)  # Install
    run.wait_log("^" + re.escape(DISCARD) + "$", timeout=60)
    run.wait_for("the dialog to be enabled again",
                 lambda: [w for w in windows(run, "TilewrightUpdate") or [] if w["visible"] and w["enabled"]])
    time.sleep(1)  # the rebuild follows the enabling
    run.screenshot("download-failed")
    click(run, rect, 250, height - 31)  # Later
    wait_gone(run, "TilewrightUpdate", "the update dialog to close")
    run.wait_for("UpdateLaterAt in settings.json", lambda: b'"UpdateLaterAt": ' in (read(run.settings_path) or b""))
    run.start_app()  # takes over and checks again at start-up
    run.wait_log(r"^update: version %s waits: Later holds until the next daily check$" % re.escape(offered),
                 timeout=60)
    time.sleep(2)
    if [w for w in windows(run, "TilewrightUpdate") or [] if w["visible"]]:
        raise Failure("the dialog came back at the next start after Later")


@scenario
def slow_manifest_times_out(run):
    """A server that trickles the manifest a byte a second never trips the per-call
    time-outs, but the check gives up after its minute in all, quietly."""
    deployment, service = serve(run)
    signed = manifest(run, deployment, newer(deployment["version"]), service.url("/x.exe"))
    service.routes["/api/update"] = Reply(signed.body, content_type="application/json", trickle=1)
    settings(run)
    run.start_app()
    started = time.time()
    run.wait_log(r"^update: check failed: the download took longer than 60 seconds$", timeout=120)
    print("the slow manifest was given up after %.0f s" % (time.time() - started))
    if any("is available" in l for l in run.log_lines()):
        raise Failure("a manifest that took too long was taken")
