#!/usr/bin/env python3
"""Writes the program's embedded icon file: nine PNG-compressed 32-bit images of
16, 20, 24, 32, 40, 48, 64, 128 and 256 pixels, drawn like the run-time icon
(light square, accent square, dark band) in the default accent colour."""
import struct
import sys
import zlib

ACCENT = (0xA8, 0x55, 0xF7)
SIZES = [16, 20, 24, 32, 40, 48, 64, 128, 256]


def rnd(v):  # half away from zero, as the program rounds
    return int(v + 0.5) if v >= 0 else -int(-v + 0.5)


def pixels(s):
    g = rnd(0.08 * s)
    c = (s - 3 * g) // 2
    light = tuple(min(255, rnd(0.5 * (255 - v) + v)) for v in ACCENT)
    dark = tuple(min(255, rnd(0.72 * v)) for v in ACCENT)
    blocks = [(g, g, g + c, g + c, light), (2 * g + c, g, 2 * g + 2 * c, g + c, ACCENT),
              (g, 2 * g + c, 2 * g + 2 * c, 2 * g + 2 * c, dark)]
    rows = []
    for y in range(s):
        row = bytearray(b"\x00")  # PNG filter type 0
        for x in range(s):
            rgba = (0, 0, 0, 0)
            for x0, y0, x1, y1, col in blocks:
                if x0 <= x < x1 and y0 <= y < y1:
                    rgba = (*col, 255)
            row += bytes(rgba)
        rows.append(bytes(row))
    return b"".join(rows)


def png(s):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    ihdr = struct.pack(">IIBBBBB", s, s, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(pixels(s), 9)) + chunk(b"IEND", b""))


def main(out):
    images = [png(s) for s in SIZES]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    directory = b""
    for s, data in zip(SIZES, images):
        directory += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(header + directory + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
