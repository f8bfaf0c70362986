#!/usr/bin/env python3
"""Writes the update server's description (update.ini) for a folder of built files.

    make_description.py --url https://www.orvane.com/vantrel/update.ini \\
        --base-uri /vantrel/files/ [--version 1.2] \\
        [--needclose Vantrel.exe:Vantrel.exe] [--main-exe Vantrel.exe] \\
        [--main-url URL] [--server-mode 0|1|2] [--title FILE:TEXT] \\
        [--only FILE] [--local-mode 0|1] [--day N] [-o update.ini] \\
        [--key PRIVATE.pem] folder
    make_description.py --new-key DIR

Every file of the folder (or only those named with --only) becomes one
component section, the --main-exe first and the rest in name order; the
description files themselves (update.ini in any letter case) are left out.
The result is code page 936 with CRLF line ends, as the updater and the
assistant read it; it goes to standard output unless -o names a file.

--version defaults to the product version, VT_VERSION_STR of shared/version.h.

--local-mode and --day write the two keys only the installed copy reads:
with them the same tool makes the Update.ini that ships with the programs.

--key signs the description with the publisher's P-256 private key: beside
the -o file it writes the same name with ".sig" appended, one line of base64
holding the ECDSA signature (r then s, 32 bytes each) of the SHA-256 of the
description's exact bytes. An updater built with the matching public key
(CMake option VANTREL_UPDATE_KEY) takes only descriptions signed so.
--new-key DIR makes such a key pair: DIR/update-private.pem (readable by its
owner only; keep it out of the repository and off the update server) and
DIR/update-public.pem (the one to build with). Both need the Python package
cryptography (Debian: python3-cryptography).
"""

import argparse
import base64
import hashlib
import os
import re
import sys
import urllib.parse

# Names Windows maps to devices, whatever extension follows.
RESERVED = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"} | \
    {f"{p}{n}" for p in ("COM", "LPT") for n in range(1, 10)}
# A version is one decimal number: the updater compares versions as numbers.
VERSION = re.compile(r"^[0-9]+(\.[0-9]+)?$")
CODE_PAGE = "cp936"
# What the profile reader trims from both ends of a value.
PROFILE_BLANKS = " \t\n\v\f\r\x1a"


VERSION_HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "shared", "version.h")


class UsageError(Exception):
    pass


def product_version(header=VERSION_HEADER):
    """VT_VERSION_STR of the version header both programs are built with."""
    with open(header, encoding="utf-8") as f:
        for line in f:
            m = re.match(r'\s*#define\s+VT_VERSION_STR\s+"([^"]*)"', line)
            if m:
                return m.group(1)
    raise UsageError(f"no VT_VERSION_STR in {header}")


def gbk(text, what):
    try:
        return text.encode(CODE_PAGE)
    except UnicodeEncodeError:
        raise UsageError(f"{what} {text!r} cannot be written in code page 936")


def check_file_name(name):
    """The updater installs only plain names in its own directory."""
    base = name.split(".", 1)[0].rstrip(" ").upper()
    if (not name or name in (".", "..") or name[-1] in ". " or base in RESERVED
            or any(c in name for c in '\\/:<>"|?*') or any(ord(c) < 32 or ord(c) == 127 for c in name)):
        raise UsageError(f"{name!r} is no plain file name the updater would install")
    gbk(name, "file name")


def pairs(values, option):
    """FILE:VALUE options as a dict keyed by the file name in lower case."""
    out = {}
    for value in values:
        file, sep, rest = value.partition(":")
        if not sep or not file or not rest:
            raise UsageError(f"{option} takes FILE:VALUE, not {value!r}")
        out[file.lower()] = rest
    return out


def check_url(url):
    parts = urllib.parse.urlsplit(url)
    if parts.scheme.lower() not in ("http", "https") or not parts.hostname:
        raise UsageError(f"--url {url!r} is no absolute http or https address")


def components(folder, main_exe, only):
    if not os.path.isdir(folder):
        raise UsageError(f"{folder!r} is no folder")
    names = [n for n in os.listdir(folder)
             if os.path.isfile(os.path.join(folder, n)) and n.lower() != "update.ini"]
    if only:
        wanted = {n.lower() for n in only}
        missing = wanted - {n.lower() for n in names}
        if missing:
            raise UsageError("not in the folder: " + ", ".join(sorted(missing)))
        names = [n for n in names if n.lower() in wanted]
    names.sort(key=lambda n: (main_exe is None or n.lower() != main_exe.lower(), n.lower()))
    if not names:
        raise UsageError(f"{folder!r} holds no files to describe")
    return names


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def crypto():
    """The parts of python3-cryptography the signing needs."""
    try:
        from cryptography.hazmat.primitives import hashes, serialization
        from cryptography.hazmat.primitives.asymmetric import ec, utils
    except ImportError:
        raise UsageError("signing needs the Python package 'cryptography' "
                         "(Debian: python3-cryptography; run the tool with /usr/bin/python3)")
    return hashes, serialization, ec, utils


PRIVATE_NAME = "update-private.pem"
PUBLIC_NAME = "update-public.pem"


def new_key(folder):
    _, serialization, ec, _ = crypto()
    private_path = os.path.join(folder, PRIVATE_NAME)
    public_path = os.path.join(folder, PUBLIC_NAME)
    for path in (private_path, public_path):
        if os.path.exists(path):
            raise UsageError(f"{path!r} exists; a key pair is never overwritten")
    os.makedirs(folder, exist_ok=True)
    key = ec.generate_private_key(ec.SECP256R1())
    private_pem = key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8,
                                    serialization.NoEncryption())
    public_pem = key.public_key().public_bytes(serialization.Encoding.PEM,
                                               serialization.PublicFormat.SubjectPublicKeyInfo)
    # Readable by its owner only from the moment it exists.
    fd = os.open(private_path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
    with os.fdopen(fd, "wb") as f:
        f.write(private_pem)
    with open(public_path, "wb") as f:
        f.write(public_pem)
    print(f"private key: {private_path} (keep it secret, never commit or publish it)", file=sys.stderr)
    print(f"public key:  {public_path} (build with -DVANTREL_UPDATE_KEY={public_path})", file=sys.stderr)


def load_signing_key(path):
    _, serialization, ec, _ = crypto()
    try:
        with open(path, "rb") as f:
            key = serialization.load_pem_private_key(f.read(), password=None)
    except (ValueError, TypeError) as e:
        raise UsageError(f"--key {path!r} is no unencrypted PEM private key: {e}")
    if not isinstance(key, ec.EllipticCurvePrivateKey) or key.curve.name != "secp256r1":
        raise UsageError(f"--key {path!r} is no P-256 (secp256r1) private key")
    return key


def sign(key, data):
    """The .sig file's text: base64 of r||s over SHA-256 of data, one line."""
    hashes, _, ec, utils = crypto()
    r, s = utils.decode_dss_signature(key.sign(data, ec.ECDSA(hashes.SHA256())))
    return base64.b64encode(r.to_bytes(32, "big") + s.to_bytes(32, "big")) + b"\r\n"


def describe(args):
    check_url(args.url)
    if not VERSION.match(args.version):
        raise UsageError(f"--version {args.version!r} is not one decimal number such as 1.2")
    if not args.base_uri.startswith("/"):
        raise UsageError("--base-uri is a path on the update server and starts with /")
    base_uri = args.base_uri if args.base_uri.endswith("/") else args.base_uri + "/"
    if args.main_exe:
        check_file_name(args.main_exe)
    titles = pairs(args.title, "--title")
    needclose = pairs(args.needclose, "--needclose")
    versions = pairs(args.file_version, "--file-version")
    for file, version in versions.items():
        if not VERSION.match(version):
            raise UsageError(f"--file-version {file}:{version!r} is not one decimal number such as 1.2")
    names = components(args.folder, args.main_exe, args.only)
    for name in names:
        check_file_name(name)
    for file in list(titles) + list(needclose) + list(versions):
        if file not in {n.lower() for n in names}:
            raise UsageError(f"{file!r} names no described file")

    main = [("IniUrl", args.url)]
    if args.local_mode is not None:
        main.append(("LocalMode", str(args.local_mode)))
    if args.day is not None:
        main.append(("Day", str(args.day)))
    main += [("Total", str(len(names))), ("MainExe", args.main_exe or ""),
             ("ServerMode", str(args.server_mode))]
    if args.main_url:
        main.append(("MainUrl", args.main_url))

    sections = [("Main", main)]
    for index, name in enumerate(names):
        sections.append((f"File{index}", [
            ("Title", titles.get(name.lower(), os.path.splitext(name)[0])),
            ("version", versions.get(name.lower(), args.version)),
            ("uri", base_uri + urllib.parse.quote(name)),
            ("filename", name),
            ("needclose", needclose.get(name.lower(), "")),
            ("sha256", sha256(os.path.join(args.folder, name))),
        ]))

    lines = []
    for section, keys in sections:
        lines.append(f"[{section}]")
        for key, value in keys:
            if "\r" in value or "\n" in value:
                raise UsageError(f"{key} of {section} holds a line break")
            # The reader drops blanks around a value and one pair of quotes
            # around it: " a.exe" would come back as another file's name.
            if (value != value.strip(PROFILE_BLANKS)
                    or (len(value) >= 2 and value[0] in "\"'" and value[-1] == value[0])):
                raise UsageError(f"{key} of [{section}] {value!r} would not read back as written")
            gbk(value, f"{key} of [{section}]")
            lines.append(f"{key}={value}")
    return gbk("\r\n".join(lines) + "\r\n", "text")


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--new-key", metavar="DIR", help="make a signing key pair in DIR and do nothing else")
    parser.add_argument("--key", metavar="PRIVATE.pem", help="sign the description; writes OUTPUT.sig")
    parser.add_argument("--url", help="address of this description on the server (IniUrl)")
    parser.add_argument("--base-uri", help="server path the files are published under")
    parser.add_argument("--version", help="version of every file, one decimal number "
                        "(default: VT_VERSION_STR of shared/version.h)")
    parser.add_argument("--file-version", action="append", default=[], metavar="FILE:VERSION",
                        help="version of FILE instead of --version, for a file published on its own "
                        "(such as a new Holidays.txt)")
    parser.add_argument("--needclose", action="append", default=[], metavar="FILE:PROCESS",
                        help="end the running PROCESS before FILE is replaced")
    parser.add_argument("--title", action="append", default=[], metavar="FILE:TEXT",
                        help="display name of FILE (default: its name without extension)")
    parser.add_argument("--only", action="append", default=[], metavar="FILE",
                        help="describe only these files of the folder")
    parser.add_argument("--main-exe", help="program started after an update (MainExe)")
    parser.add_argument("--main-url", help="page opened after an update (MainUrl)")
    parser.add_argument("--server-mode", type=int, choices=(0, 1, 2), default=0)
    parser.add_argument("--local-mode", type=int, choices=(0, 1), help="for an installed Update.ini")
    parser.add_argument("--day", type=int, help="for an installed Update.ini: day of the update schedule")
    parser.add_argument("-o", "--output", help="file to write (default: standard output)")
    parser.add_argument("folder", nargs="?")
    args = parser.parse_args(argv)
    try:
        if args.new_key:
            new_key(args.new_key)
            return 0
        missing = [o for o, v in (("--url", args.url), ("--base-uri", args.base_uri),
                                  ("folder", args.folder)) if v is None]
        if missing:
            raise UsageError("missing " + ", ".join(missing))
        if args.version is None:
            args.version = product_version()
        if args.key and not args.output:
            raise UsageError("--key needs -o: the signature is written beside the description")
        key = load_signing_key(args.key) if args.key else None
        data = describe(args)
        signature = sign(key, data) if key else None
        if args.output:
            # The signature goes first: a description is never left beside a
            # stale signature of other bytes.
            if signature is not None:
                with open(args.output + ".sig", "wb") as f:
                    f.write(signature)
            elif os.path.exists(args.output + ".sig"):
                os.remove(args.output + ".sig")
            with open(args.output, "wb") as f:
                f.write(data)
        else:
            sys.stdout.buffer.write(data)
    except (UsageError, OSError) as e:
        print(f"make_description.py: {e}", file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
