#!/usr/bin/env python3
"""Writes the small PNGs the Windows toolkit tests embed as resources: every alpha value and colour
gradients, so GDI's blend and the memory backend's are compared across the whole range."""
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
