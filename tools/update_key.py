"""The update key pair as the program and the release tools see it: a 2048-bit RSA key
with the public exponent 65537, read through the openssl command."""
import re
import subprocess
import sys


class KeyError_(Exception):
    pass


def _openssl(*args):
    p = subprocess.run(["openssl", *args], capture_output=True, text=True)
    if p.returncode != 0:
        raise KeyError_(p.stderr.strip() or "openssl %s failed" % args[0])
    return p.stdout


def public_numbers(key_path):
    """(modulus, exponent) of a PEM key, public or private."""
    with open(key_path, "rb") as f:
        public = b"PUBLIC KEY-----" in f.read()
    text = _openssl("rsa", *(["-pubin"] if public else []), "-in", key_path, "-noout", "-text", "-modulus")
    modulus = re.search(r"^Modulus=([0-9A-F]+)$", text, re.M)
    exponent = re.search(r"[Ee]xponent: (\d+)", text)
    if not modulus or not exponent:
        raise KeyError_("%s is not an RSA key" % key_path)
    n, e = int(modulus.group(1), 16), int(exponent.group(1))
    if n.bit_length() != 2048 or e != 65537:
        raise KeyError_("%s: the update key must be 2048-bit RSA with exponent 65537 (got %d bits, e=%d)"
                        % (key_path, n.bit_length(), e))
    return n, e


def rsa_public_blob(key_path):
    """The 283-byte BCRYPT_RSAPUBLIC_BLOB: the header ("RSA1", bit length, exponent and
    modulus sizes, no primes) followed by the exponent and the modulus, big-endian."""
    n, e = public_numbers(key_path)
    exp = e.to_bytes(3, "big")
    mod = n.to_bytes(256, "big")
    header = b"RSA1" + b"".join(v.to_bytes(4, "little") for v in (2048, len(exp), len(mod), 0, 0))
    return header + exp + mod


def main():
    """update_key.py KEY.pem: prints the blob as a C initializer list."""
    try:
        blob = rsa_public_blob(sys.argv[1])
    except (KeyError_, OSError, IndexError) as e:
        print("update_key: %s" % e, file=sys.stderr)
        return 1
    print("{" + ", ".join("0x%02x" % b for b in blob) + "}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
