#!/usr/bin/env python3
"""Throwaway certificates for the fake MusicBrainz servers, made with Debian's openssl
into a build directory (never committed), and the Wine prefix's trust in them.

- ca.pem / ca.der: the tests' own certificate authority. trust() adds it to the
  prefix's trusted root store (tunova_trustca.exe, a few lines of crypt32), so WinHTTP
  trusts the fake server with every certificate check on.
- server.pem / server.key: the fake server's certificate for localhost and 127.0.0.1,
  signed by that authority.
- rogue-server.pem / rogue-server.key: the same names signed by another authority that
  nothing trusts, for the test that an untrusted server is refused.

    testca.py DIR            make what is missing in DIR and trust the authority
    testca.py start DIR [BUILD]   also start fake servers: a trusted one, an untrusted
                             one, and trusted ones that stall, send too much and
                             trickle; writes DIR/servers.txt ("trusted https://localhost:N",
                             ...), each one's request log DIR/<role>.log, and
                             DIR/servers.pids; testca.py stop DIR ends them
"""
import os
import pathlib
import signal
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
WINE = "/usr/lib/wine/wine64"
# Remade well before they expire.
MAX_AGE_DAYS = 20


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, capture_output=True)


def make_authority(directory, name, subject):
    key, pem = directory / f"{name}.key", directory / f"{name}.pem"
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", str(key), "-out", str(pem),
            "-days", "30", "-subj", subject, "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    return key, pem


def make_server(directory, name, authority_key, authority_pem):
    key, request, pem = directory / f"{name}.key", directory / f"{name}.csr", directory / f"{name}.pem"
    extensions = directory / f"{name}.ext"
    extensions.write_text("basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature,keyEncipherment\n"
                          "extendedKeyUsage=serverAuth\nsubjectAltName=DNS:localhost,IP:127.0.0.1\n")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", str(key), "-out", str(request),
            "-subj", "/CN=localhost")
    openssl("x509", "-req", "-in", str(request), "-CA", str(authority_pem), "-CAkey", str(authority_key),
            "-CAcreateserial", "-out", str(pem), "-days", "30", "-extfile", str(extensions))


def ensure(directory):
    """Makes the certificates unless fresh ones are there."""
    directory = pathlib.Path(directory)
    directory.mkdir(parents=True, exist_ok=True)
    marker = directory / "server.pem"
    if marker.exists() and time.time() - marker.stat().st_mtime < MAX_AGE_DAYS * 86400:
        return directory
    ca_key, ca_pem = make_authority(directory, "ca", "/CN=Tunova test authority")
    openssl("x509", "-in", str(ca_pem), "-outform", "DER", "-out", str(directory / "ca.der"))
    rogue_key, rogue_pem = make_authority(directory, "rogue-ca", "/CN=Untrusted test authority")
    make_server(directory, "rogue-server", rogue_key, rogue_pem)
    make_server(directory, "server", ca_key, ca_pem)
    return directory


def windows_path(path):
    return "Z:" + str(pathlib.Path(path).resolve()).replace("/", "\\")


def trust(directory, build):
    """Adds the authority to the Wine prefix's trusted roots (it replaces an earlier one
    of the same certificate, so calling it again does no harm)."""
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", str(ROOT / "build" / "wineprefix"))
    env.setdefault("WINEDEBUG", "-all")
    result = subprocess.run([WINE, str(pathlib.Path(build) / "tunova_trustca.exe"),
                             windows_path(pathlib.Path(directory) / "ca.der")],
                            env=env, capture_output=True, timeout=60)
    if result.returncode != 0:
        raise RuntimeError("trusting the test authority failed: " + result.stdout.decode(errors="replace"))


def start_server(directory, name, log=None, misbehave=None, data=None):
    """A fake server with the named certificate; returns (process, port)."""
    directory = pathlib.Path(directory)
    command = [sys.executable, str(ROOT / "tools" / "fakemusicbrainz" / "fakemusicbrainz.py"),
               "--data", str(data or ROOT / "tests" / "data" / "musicbrainz"),
               "--cert", str(directory / f"{name}.pem"), "--key", str(directory / f"{name}.key")]
    if log:
        command += ["--log", str(log)]
    if misbehave:
        command += ["--misbehave", misbehave]
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               stdin=subprocess.DEVNULL, start_new_session=True)
    first = process.stdout.readline().decode()
    if not first.startswith("port "):
        process.kill()
        raise RuntimeError("the fake MusicBrainz server did not start: " + first)
    return process, int(first.split()[1])


def main(argv):
    if len(argv) == 2:
        ensure(argv[1])
        trust(argv[1], ROOT / "build" / "win64")
        return 0
    command, directory = argv[1], pathlib.Path(argv[2])
    build = pathlib.Path(argv[3]) if len(argv) > 3 else ROOT / "build" / "win64"
    if command == "start":
        ensure(directory)
        trust(directory, build)
        lines, pids = [], []
        roles = (("trusted", "server", None), ("untrusted", "rogue-server", None), ("stall", "server", "stall"),
                 ("huge", "server", "huge"), ("trickle", "server", "trickle"))
        for role, name, misbehave in roles:
            process, port = start_server(directory, name, log=directory / f"{role}.log", misbehave=misbehave)
            process.stdout.close()
            lines.append(f"{role} https://localhost:{port}")
            pids.append(str(process.pid))
        (directory / "servers.txt").write_text("\n".join(lines) + "\n")
        (directory / "servers.pids").write_text("\n".join(pids) + "\n")
        return 0
    if command == "stop":
        pids = directory / "servers.pids"
        if pids.exists():
            for pid in pids.read_text().split():
                try:
                    os.killpg(int(pid), signal.SIGTERM)
                except ProcessLookupError:
                    pass
            pids.unlink()
        return 0
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
