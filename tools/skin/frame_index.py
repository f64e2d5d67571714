#!/usr/bin/python3
"""Rewrites a filmstrip PNG so the editor can decode any one frame without the others.

The pixels stay exactly as they are. The image data becomes one zlib stream with a full flush at every
frame boundary, and the first row of every frame is filtered without reference to the row above it, so
inflating can start at any frame. A private chunk "frIX" before the image data lists, per frame, where
its data starts in the zlib stream and the rectangle of its pixels that are not fully transparent:

    frames             u32
    per frame:  offset u32, left u16, top u16, right u16, bottom u16   (right and bottom exclusive;
                                                                        all zero for an empty frame)

Any PNG reader still reads the file as before. Only 8-bit RGB and RGBA, not interlaced.

    frame_index.py FRAMES FILE [FRAMES FILE ...]
"""

import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
INDEX_CHUNK = b"frIX"


def _chunks(data):
    if data[:8] != SIGNATURE:
        raise ValueError("not a PNG")
    pos = 8
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        yield kind, data[pos + 8:pos + 8 + length]
        pos += 12 + length


def _chunk(kind, payload):
    return (struct.pack(">I", len(payload)) + kind + payload +
            struct.pack(">I", zlib.crc32(kind + payload) & 0xFFFFFFFF))


def _unfilter(filtered, height, stride, bpp):
    """The raw rows and each row's filter type."""
    rows, kinds = [], []
    previous = bytearray(stride)
    pos = 0
    for _ in range(height):
        kind = filtered[pos]
        line = bytearray(filtered[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        if kind == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 0xFF
        elif kind == 2:
            line = bytearray((a + b) & 0xFF for a, b in zip(line, previous))
        elif kind == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                a = line[i - bpp] if i >= bpp else 0
                b = previous[i]
                c = previous[i - bpp] if i >= bpp else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 0xFF
        elif kind != 0:
            raise ValueError("unknown filter type %d" % kind)
        rows.append(bytes(line))
        kinds.append(kind)
        previous = line
    return rows, kinds


def _sub_filtered(raw, bpp):
    out = bytearray(raw)
    for i in range(bpp, len(raw)):
        out[i] = (raw[i] - raw[i - bpp]) & 0xFF
    return b"\x01" + bytes(out)


def _drawn(rows, channels):
    """Left, top, right, bottom of the pixels not fully transparent in rows; zeros when there are none."""
    if channels == 3:
        return (0, 0, len(rows[0]) // 3, len(rows))
    left, top, right, bottom = None, None, 0, 0
    for y, row in enumerate(rows):
        alpha = row[3::4]
        lead = len(alpha) - len(alpha.lstrip(b"\x00"))
        if lead == len(alpha):
            continue
        trail = len(alpha.rstrip(b"\x00"))
        left = lead if left is None else min(left, lead)
        right = max(right, trail)
        top = y if top is None else top
        bottom = y + 1
    return (0, 0, 0, 0) if left is None else (left, top, right, bottom)


def index_png(path, frames):
    with open(path, "rb") as f:
        data = f.read()
    header, idat, others = None, b"", []
    for kind, payload in _chunks(data):
        if kind == b"IHDR":
            header = payload
        elif kind == b"IDAT":
            idat += payload
        elif kind not in (b"IEND", INDEX_CHUNK):
            others.append((kind, payload))
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", header)
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace != 0:
        raise ValueError("only 8-bit RGB or RGBA, not interlaced")
    if frames < 1 or height % frames:
        raise ValueError("%d rows do not split into %d frames" % (height, frames))
    stride = width * channels
    filtered = zlib.decompress(idat)
    rows, kinds = _unfilter(filtered, height, stride, channels)
    frame_rows = height // frames

    compressor = zlib.compressobj(9, zlib.DEFLATED, 15, 9)
    stream = bytearray()
    entries, written = [], []
    for k in range(frames):
        first = k * frame_rows
        lines = []
        for y in range(first, first + frame_rows):
            if y == first and kinds[y] in (2, 3, 4):
                lines.append(_sub_filtered(rows[y], channels))
            else:
                lines.append(filtered[y * (stride + 1):(y + 1) * (stride + 1)])
        written += lines
        chunk = compressor.compress(b"".join(lines))
        # The zlib header comes with the first output: frame 0 starts after it.
        offset = 2 if k == 0 else len(stream)
        stream += chunk
        stream += compressor.flush(zlib.Z_FULL_FLUSH if k + 1 < frames else zlib.Z_FINISH)
        entries.append((offset,) + _drawn(rows[first:first + frame_rows], channels))
    if zlib.decompress(bytes(stream)) != b"".join(written):
        raise ValueError("the rewritten stream does not inflate to its rows")

    index = struct.pack(">I", frames) + b"".join(struct.pack(">IHHHH", *e) for e in entries)
    out = SIGNATURE + _chunk(b"IHDR", header) + _chunk(INDEX_CHUNK, index)
    for kind, payload in others:
        out += _chunk(kind, payload)
    out += _chunk(b"IDAT", bytes(stream)) + _chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(out)


def main(args):
    if not args or len(args) % 2:
        raise SystemExit("usage: frame_index.py FRAMES FILE [FRAMES FILE ...]")
    for frames, path in zip(args[::2], args[1::2]):
        try:
            index_png(path, int(frames))
        except (OSError, ValueError, struct.error, zlib.error) as e:
            raise SystemExit("frame_index.py: %s: %s" % (path, e))
        print(path)


if __name__ == "__main__":
    main(sys.argv[1:])
