#!/usr/bin/env python3
"""A signed release, end to end: a throw-away code-signing certificate made here signs a
release built by tools/release; osslsigncode must find a valid signature by it on
Tilewright.exe, on the set-up and on the uninstaller that an installed copy (under Wine,
in a prefix of the test's own) holds, and none once a byte of a signed file changed.
The winget manifests are read back as YAML. Also: tools/release refuses, before
building, an output folder holding someone else's files and a wrong certificate password.

    signed_release.py --source REPO --work DIR
"""
import argparse
import glob
import hashlib
import os
import re
import secrets
import shutil
import signal
import subprocess
import sys
import zipfile

import yaml

UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall"


class Failure(Exception):
    pass


def read(path):
    with open(path, "rb") as f:
        return f.read()


def release(source, env, *args, timeout=1200):
    # In a session of its own, so that a release that overruns ends with its build.
    p = subprocess.Popen([os.path.join(source, "tools", "release"), *args], env=env, text=True,
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE, start_new_session=True)
    try:
        out, err = p.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        p.communicate()
        raise Failure("tools/release %s ran longer than %d s" % (" ".join(args), timeout))
    return subprocess.CompletedProcess(p.args, p.returncode, out, err)


def signature(path, ca):
    """(valid, osslsigncode's report) for a signed file checked against the test root."""
    p = subprocess.run(["osslsigncode", "verify", "-in", path, "-CAfile", ca],
                       capture_output=True, text=True)
    return p.returncode == 0 and "Signature verification: ok" in p.stdout, p.stdout + p.stderr


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--source", required=True)
    ap.add_argument("--work", required=True)
    args = ap.parse_args()
    work = os.path.abspath(args.work)
    for sub in ("cert", "out", "foreign"):
        shutil.rmtree(os.path.join(work, sub), ignore_errors=True)
    os.makedirs(os.path.join(work, "cert"))
    if not shutil.which("osslsigncode"):
        raise Failure("osslsigncode is missing (tools/deps.sh installs it)")

    # The certificate: self-signed, for code signing, its .pfx protected by a password.
    password = "pw %s 'quoted'" % secrets.token_hex(4)
    subject = "Tilewright Test Publisher %s" % secrets.token_hex(4)
    env = dict(os.environ, TW_SIGN_PASSWORD=password)
    cert, key, pfx = (os.path.join(work, "cert", n) for n in ("cert.pem", "key.pem", "cert.pfx"))
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "2", "-subj", "/CN=" + subject, "-addext", "extendedKeyUsage=codeSigning",
                    "-addext", "keyUsage=digitalSignature"], check=True, capture_output=True)
    subprocess.run(["openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", pfx,
                    "-passout", "env:TW_SIGN_PASSWORD"], env=env, check=True, capture_output=True)
    release_work = os.path.join(work, "build")
    out = os.path.join(work, "out")

    # Refused before anything is built: someone else's files in --out, a wrong password.
    foreign = os.path.join(work, "foreign")
    os.makedirs(os.path.join(foreign, "notes"))
    with open(os.path.join(foreign, "notes", "mine.txt"), "w") as f:
        f.write("not a release file\n")
    p = release(args.source, env, "--work", release_work, "--out", foreign, "--sign-cert", pfx, timeout=60)
    if p.returncode != 2 or "no release wrote" not in p.stderr or not os.path.isfile(
            os.path.join(foreign, "notes", "mine.txt")):
        raise Failure("an --out folder with another's file: exit %d, files %r\n%s" %
                      (p.returncode, os.listdir(foreign), p.stderr))
    p = release(args.source, dict(env, TW_SIGN_PASSWORD="wrong"), "--work", release_work, "--out", out,
                "--sign-cert", pfx, timeout=120)
    if p.returncode != 2 or "TW_SIGN_PASSWORD" not in p.stderr or os.path.exists(out):
        raise Failure("a wrong certificate password: exit %d\n%s" % (p.returncode, p.stderr))

    p = release(args.source, env, "--work", release_work, "--out", out, "--sign-cert", pfx)
    print(p.stdout)
    if p.returncode != 0:
        raise Failure("the signed release failed (exit %d):\n%s" % (p.returncode, p.stderr))
    if "Authenticode-signed" not in p.stdout or subject not in p.stdout or password in p.stdout + p.stderr:
        raise Failure("the summary does not say who signed it, or shows the password")
    setup = glob.glob(os.path.join(out, "Tilewright-*-Setup.exe"))[0]
    version = re.search(r"Tilewright-(.+)-Setup\.exe$", setup).group(1)
    exe = os.path.join(out, "Tilewright.exe")
    with zipfile.ZipFile(os.path.join(out, "Tilewright-%s-portable.zip" % version)) as z:
        if z.read("Tilewright.exe") != read(exe):
            raise Failure("the portable zip holds another Tilewright.exe than the signed one")

    # An installed copy, for its uninstaller and the uninstall record winget looks for.
    prefix = os.path.join(work, "wineprefix")
    wenv = dict(env, WINEPREFIX=prefix, WINEDEBUG="-all", WINEARCH="win64", WINEDLLOVERRIDES="winemenubuilder.exe=d")
    subprocess.run([os.path.join(args.source, "tools", "wine-prefix")], env=wenv, check=True)
    folder = os.path.join(prefix, "drive_c", "tw-release-test")
    shutil.rmtree(folder, ignore_errors=True)
    subprocess.run(["wine", setup, "/S", r"/D=C:\tw-release-test"], env=wenv, timeout=180,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    uninstaller = os.path.join(folder, "Uninstall.exe")
    if not os.path.isfile(uninstaller) or read(os.path.join(folder, "Tilewright.exe")) != read(exe):
        raise Failure("the silent install did not leave the signed program and its uninstaller in %s" % folder)

    for path in (exe, setup, uninstaller):
        ok, report = signature(path, cert)
        if not ok or "Subject: /CN=" + subject not in report:
            raise Failure("%s carries no valid signature by the test certificate:\n%s" % (path, report))
        tampered = os.path.join(work, "cert", "tampered.exe")
        data = bytearray(read(path))
        data[len(data) // 3] ^= 0x5A
        with open(tampered, "wb") as f:
            f.write(data)
        if signature(tampered, cert)[0]:
            raise Failure("a byte changed in %s still passes the signature check" % path)

    # The winget manifests.
    manifests = {}
    for path in glob.glob(os.path.join(out, "winget", "*.yaml")):
        with open(path, encoding="utf-8") as f:
            data = yaml.safe_load(f)
        manifests[data["ManifestType"]] = data
    if sorted(manifests) != ["defaultLocale", "installer", "version"]:
        raise Failure("winget manifests: %r" % sorted(manifests))
    inst = manifests["installer"]
    code = inst["ProductCode"]
    q = subprocess.run(["wine", "reg", "query", UNINSTALL + "\\" + code, "/v", "InstallLocation"], env=wenv,
                       capture_output=True)
    sha = hashlib.sha256(read(setup)).hexdigest().upper()
    wrong = [what for what, ok in (
        ("one package and version", all(m["PackageIdentifier"] == "Corvane.Tilewright" and
                                        m["PackageVersion"] == version and m["ManifestVersion"].startswith("1.")
                                        for m in manifests.values())),
        ("locale", manifests["version"]["DefaultLocale"] == manifests["defaultLocale"]["PackageLocale"]),
        ("names", manifests["defaultLocale"]["PackageName"] == "Tilewright" and
         manifests["defaultLocale"]["Publisher"] == "Corvane"),
        ("type and scope", inst["InstallerType"] == "nullsoft" and inst["Scope"] == "user"),
        ("silent switches", inst["InstallerSwitches"]["Silent"] == "/S" and
         inst["InstallerSwitches"]["SilentWithProgress"] == "/S"),
        ("download", len(inst["Installers"]) == 1 and inst["Installers"][0]["InstallerSha256"] == sha and
         inst["Installers"][0]["InstallerUrl"].startswith("https://") and
         inst["Installers"][0]["InstallerUrl"].endswith("/" + os.path.basename(setup))),
        ("product code of the uninstall record", r"C:\tw-release-test" in q.stdout.decode("cp437")),
        ("apps-and-features entry", inst["AppsAndFeaturesEntries"][0]["ProductCode"] == code)) if not ok]
    if wrong:
        raise Failure("winget manifests wrong in: %s\n%r" % (", ".join(wrong), manifests))

    # The summary's sums are of the shipped (signed) files; the release lists what it wrote.
    with open(os.path.join(out, "SHA256SUMS")) as f:
        sums = dict(reversed(line.split()) for line in f)
    if sums.get(os.path.basename(setup)) != sha.lower():
        raise Failure("SHA256SUMS does not match the signed set-up")
    print("release_signed: passed")


if __name__ == "__main__":
    try:
        main()
    except (Failure, subprocess.SubprocessError, OSError, KeyError, IndexError, TypeError) as e:
        print("release_signed: FAILED: %s" % e)
        sys.exit(1)
