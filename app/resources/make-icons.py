#!/usr/bin/env python3
"""Draws the program's icon, a small QR-like mark, as 16, 32 and 48 pixel PNG files.

Run it from this folder after changing the artwork; the PNG files are kept in the source
tree so that building needs no image tools. Only the standard library is used.
"""
import struct
import zlib

# 16 x 16 modules: three finder squares in the corners, a few data modules between them,
# and a one-module light margin. "#" is a dark module, "." a light one.
MODULES = [
    "................",
    ".#####..#.#####.",
    ".#...#.##.#...#.",
    ".#.#.#..#.#.#.#.",
    ".#...#.#..#...#.",
    ".#####.#..#####.",
    "........##......",
    ".#.##.#..#.#.##.",
    "..#..##.#.##.#..",
    "........#.#..#..",
    ".#####..##.#.##.",
    ".#...#.#..##....",
    ".#.#.#..#.#.#.#.",
    ".#...#.##..##.#.",
    ".#####.#.#.##.#.",
    "................",
]

DARK = (0x1F, 0x3A, 0x6E, 0xFF)   # deep blue modules
LIGHT = (0xFF, 0xFF, 0xFF, 0xFF)  # white background


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, size):
    scale = size // len(MODULES)
    rows = []
    for y in range(size):
        line = bytearray([0])  # filter type: none
        for x in range(size):
            dark = MODULES[y // scale][x // scale] == "#"
            line += bytes(DARK if dark else LIGHT)
        rows.append(bytes(line))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(png_chunk(b"IHDR", header))
        out.write(png_chunk(b"IDAT", zlib.compress(b"".join(rows), 9)))
        out.write(png_chunk(b"IEND", b""))


for size in (16, 32, 48):
    write_png(f"korvel-qr-{size}.png", size)
