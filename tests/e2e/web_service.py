#!/usr/bin/env python3
"""The local stand-in for the product's web service in the network scenarios: an HTTPS
server (Python's ssl module) on the test build's own loopback address and port 443,
answering from a table of routes and logging every request path.

Its certificate comes from a test CA made for the build (in the build folder). The CA
is name-constrained to that one loopback address, so trusting it cannot vouch for any
other site; it is added to the system's CA store (/usr/local/share/ca-certificates and
update-ca-certificates), which is where Wine's WinHTTP looks. The store is changed only
when the CA is new or different, under a lock, and only by adding this one file.

    web_service.py --deployment build/windows/test-deployment/deployment.json --root DIR
        serves the files of DIR (for trying the program by hand)
    web_service.py --untrust
        removes every test CA of this kind from the system store again
"""
import argparse
import fcntl
import glob
import http.server
import json
import os
import ssl
import subprocess
import sys
import threading
import time

STORE_DIR = "/usr/local/share/ca-certificates"
STORE_PREFIX = "tilewright-test-"
LOCK = "/tmp/tilewright-ca-store.lock"


class SetupError(Exception):
    pass


def _run(*cmd):
    p = subprocess.run(list(cmd), capture_output=True, text=True)
    if p.returncode != 0:
        raise SetupError("%s failed: %s" % (" ".join(cmd[:3]), p.stderr.strip()[-300:]))


def _as_root(*cmd):
    if os.geteuid() != 0:
        cmd = ("sudo", "-n") + cmd
    _run(*cmd)


def ensure_pki(folder, host):
    """The build's test CA (made once) and a server certificate for `host`."""
    os.makedirs(folder, exist_ok=True)
    ca_key, ca_crt = os.path.join(folder, "ca.key"), os.path.join(folder, "ca.crt")
    key, crt = os.path.join(folder, "server.key"), os.path.join(folder, "server.crt")
    if not os.path.exists(ca_crt):
        conf = os.path.join(folder, "ca.cnf")
        with open(conf, "w") as f:
            f.write("[req]\ndistinguished_name = dn\nprompt = no\n[dn]\nCN = Tilewright test CA %s\n"
                    "[ext]\nbasicConstraints = critical,CA:TRUE,pathlen:0\n"
                    "keyUsage = critical,keyCertSign,cRLSign\nsubjectKeyIdentifier = hash\n"
                    "nameConstraints = critical,permitted;IP:%s/255.255.255.255,permitted;DNS:%s\n"
                    % (host, host, host))
        _run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", ca_key, "-out", ca_crt,
             "-days", "3650", "-config", conf, "-extensions", "ext")
        os.chmod(ca_key, 0o600)
        for stale in (key, crt):
            if os.path.exists(stale):
                os.remove(stale)
    if not os.path.exists(crt):
        ext = os.path.join(folder, "server.cnf")
        with open(ext, "w") as f:
            # Wine matches the host against the DNS names only, so the address is both.
            f.write("[ext]\nsubjectAltName = DNS:%s,IP:%s\nbasicConstraints = CA:FALSE\n"
                    "keyUsage = critical,digitalSignature,keyEncipherment\nextendedKeyUsage = serverAuth\n"
                    % (host, host))
        csr = os.path.join(folder, "server.csr")
        _run("openssl", "req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr,
             "-subj", "/CN=Tilewright test server")
        _run("openssl", "x509", "-req", "-in", csr, "-CA", ca_crt, "-CAkey", ca_key, "-CAcreateserial",
             "-out", crt, "-days", "825", "-extfile", ext, "-extensions", "ext")
    return {"ca": ca_crt, "cert": crt, "key": key}


def trust_ca(ca_crt, host):
    """Adds the CA to the system store unless the same file is there already."""
    target = os.path.join(STORE_DIR, STORE_PREFIX + host.replace(".", "-") + ".crt")
    with open(ca_crt, "rb") as f:
        wanted = f.read()
    with open(LOCK, "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        try:
            with open(target, "rb") as f:
                if f.read() == wanted:
                    return
        except FileNotFoundError:
            pass
        _as_root("install", "-D", "-m", "644", ca_crt, target)
        _as_root("update-ca-certificates")


def untrust_all():
    with open(LOCK, "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        files = glob.glob(os.path.join(STORE_DIR, STORE_PREFIX + "*.crt"))
        if files:
            _as_root("rm", "-f", *files)
            _as_root("update-ca-certificates", "--fresh")
        return files


class Reply:
    """One answer: status, body and headers; `cut_short` announces more bytes than it
    sends and then closes the connection, like a download that breaks off;
    `Reply.redirect(location)` answers 302 with that Location; `trickle` sends the body
    a byte at a time with that many seconds between bytes."""

    def __init__(self, body=b"", status=200, content_type="application/octet-stream", cut_short=False,
                 headers=None, trickle=0):
        self.body = body.encode() if isinstance(body, str) else body
        self.status = status
        self.content_type = content_type
        self.cut_short = cut_short
        self.headers = headers or {}
        self.trickle = trickle  # seconds between single bytes of the body

    @staticmethod
    def redirect(location, status=302):
        return Reply("", status, "text/plain", headers={"Location": location})


class WebService:
    """Serves `routes` ({path without query: Reply}) on https://host/ from a thread;
    every request path (query included) is appended to `requests` and to `log_path`."""

    def __init__(self, deployment, pki_dir, log_path):
        self.host = deployment["host"]
        self.routes = {}
        self.requests = []
        self.agents = []
        self.log_path = log_path
        pki = ensure_pki(pki_dir, self.host)
        trust_ca(pki["ca"], self.host)
        service = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_GET(self):
                service._record(self.path, self.headers.get("User-Agent", ""))
                reply = service.routes.get(self.path.split("?", 1)[0],
                                           Reply("<html><body><h1>404 Not Found</h1></body></html>", 404, "text/html"))
                self.send_response(reply.status)
                self.send_header("Content-Type", reply.content_type)
                for name, value in reply.headers.items():
                    self.send_header(name, value)
                length = len(reply.body) * 2 + 100 if reply.cut_short else len(reply.body)
                self.send_header("Content-Length", str(length))
                if reply.cut_short:
                    self.send_header("Connection", "close")
                self.end_headers()
                if reply.trickle:
                    try:
                        for i in range(len(reply.body)):
                            self.wfile.write(reply.body[i:i + 1])
                            self.wfile.flush()
                            time.sleep(reply.trickle)
                    except OSError:  # the client gave up
                        self.close_connection = True
                    return
                self.wfile.write(reply.body)
                if reply.cut_short:
                    self.wfile.flush()
                    self.close_connection = True

            def log_message(self, *args):
                pass

        try:
            self.server = http.server.ThreadingHTTPServer((self.host, 443), Handler)
        except OSError as e:
            raise SetupError("cannot listen on %s:443: %s" % (self.host, e))
        ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        ctx.load_cert_chain(pki["cert"], pki["key"])
        self.server.socket = ctx.wrap_socket(self.server.socket, server_side=True)
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def _record(self, path, agent):
        self.requests.append(path)
        self.agents.append(agent)
        with open(self.log_path, "a") as f:
            f.write(path + "\n")

    def url(self, path):
        return "https://%s%s" % (self.host, path)

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--deployment")
    ap.add_argument("--root", help="folder whose files are served")
    ap.add_argument("--untrust", action="store_true")
    a = ap.parse_args()
    if a.untrust:
        removed = untrust_all()
        print("removed %d test CA file(s)" % len(removed))
        return 0
    if not a.deployment or not a.root:
        ap.error("--deployment and --root are needed to serve")
    with open(a.deployment) as f:
        deployment = json.load(f)
    folder = os.path.dirname(os.path.abspath(a.deployment))
    service = WebService(deployment, os.path.join(folder, "pki"), os.path.join(folder, "requests.log"))
    for dirpath, _, files in os.walk(a.root):
        for name in files:
            full = os.path.join(dirpath, name)
            with open(full, "rb") as f:
                service.routes["/" + os.path.relpath(full, a.root).replace(os.sep, "/")] = Reply(f.read())
    print("serving %s on %s (requests in %s); Ctrl+C ends" % (a.root, service.url("/"), service.log_path))
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        service.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
