#!/usr/bin/env python3
"""Writes the side panel of the installer's first and last pages: a 164 x 314 24-bit
BMP in a deep shade of the accent colour with the program icon drawn large near the
top, so that set-up looks like the program rather than like the installer toolkit."""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import make_icon  # noqa: E402

WIDTH, HEIGHT, ICON, ICON_TOP = 164, 314, 96, 48


def panel():
    back = tuple(make_icon.rnd(0.35 * v) for v in make_icon.ACCENT)
    rows = [[back] * WIDTH for _ in range(HEIGHT)]
    icon = make_icon.pixels(ICON)
    stride = 1 + 4 * ICON  # each PNG row starts with its filter byte
    left = (WIDTH - ICON) // 2
    for y in range(ICON):
        for x in range(ICON):
            r, g, b, a = icon[y * stride + 1 + 4 * x:y * stride + 5 + 4 * x]
            if a:
                rows[ICON_TOP + y][left + x] = (r, g, b)
    return rows


def bmp(rows):
    pad = (-3 * WIDTH) % 4
    data = b"".join(b"".join(bytes((b, g, r)) for r, g, b in row) + b"\x00" * pad
                    for row in reversed(rows))  # bottom-up
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + data


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(bmp(panel()))
