#!/usr/bin/env python3
"""Writes the portable zip: the given files, in the given order, with one fixed time
stamp, so that the same inputs always give the same archive.

    make_zip.py OUT.zip NAME=PATH [NAME=PATH ...]

The time stamp is SOURCE_DATE_EPOCH (seconds, as release builds set it to the commit
time) or, without it, the time of the build."""
import os
import sys
import time
import zipfile

FILE_ATTRIBUTE_ARCHIVE = 0x20


def stamp():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    t = time.gmtime(int(epoch)) if epoch and epoch.isdigit() else time.localtime()
    # Zip times are local times without a zone, from 1980 on.
    return max((1980, 1, 1, 0, 0, 0), tuple(t[:6]))


def main(out, entries):
    when = stamp()
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w") as z:
        for entry in entries:
            name, _, path = entry.partition("=")
            if not name or not path:
                sys.exit("make_zip.py: expected NAME=PATH, got %r" % entry)
            info = zipfile.ZipInfo(name, date_time=when)
            info.create_system = 0  # MS-DOS attributes: what Windows' own zips carry
            info.external_attr = FILE_ATTRIBUTE_ARCHIVE
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)
    os.replace(tmp, out)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
