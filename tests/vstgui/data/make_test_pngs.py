#!/usr/bin/env python3
"""Writes the small images the Windows toolkit tests embed as resources: PNGs with every alpha value and
colour gradients, so GDI's blend and the memory backend's are compared across the whole range, and a plain
bitmap with key-coloured pixels for colour-keyed drawing."""
import struct
import zlib


def png(path, width, height, channels, pixel):
    colour_type = {3: 2, 4: 6}[channels]
    raw = b"".join(b"\0" + bytes(v for x in range(width) for v in pixel(x, y)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


# 64 x 64: alpha runs through all 256 values (x + 64 * (y % 4)), colours follow x and y.
png("blend-rgba.png", 64, 64, 4,
    lambda x, y: ((x * 4) % 256, (y * 4) % 256, (x * 3 + y * 5) % 256, x + 64 * (y % 4)))
# 32 x 16 without alpha.
png("blend-rgb.png", 32, 16, 3, lambda x, y: (x * 8, y * 16, 255 - x * 8))


def bmp(path, width, height, pixel):
    """24-bit bottom-up BMP, rows padded to four bytes."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = b"".join(bytes((b, g, r)) for r, g, b in (pixel(x, y) for x in range(width)))
        rows.append(row + b"\0" * (stride - len(row)))
    data = b"".join(rows)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 14 + 40))
        f.write(struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0))
        f.write(data)


def keyed(x, y):
    if (x + y) % 3 == 0:
        return (255, 255, 255)  # the default key colour
    if (x * y) % 5 == 1:
        return (255, 0, 255)  # the other key colour the tests use
    if x == 5:
        return (254, 255, 255)  # one step from white: must never be taken for the key
    if y == 7:
        return (255, 1, 255)  # one step from magenta
    return (x * 10, y * 15, 128 + x)


# 24 x 16 plain bitmap (no alpha): white and magenta pixels between colours, near-key colours beside them.
bmp("keyed.bmp", 24, 16, keyed)
