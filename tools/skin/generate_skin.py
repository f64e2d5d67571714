#!/usr/bin/python3
"""Regenerates the ten editor skin images into resources/skin/ (see README.md)."""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import runtime  # noqa: E402

runtime.require_cairo()

import font  # noqa: E402
import frame_index  # noqa: E402
import geometry  # noqa: E402
import knobs  # noqa: E402
import meter  # noqa: E402
import paint  # noqa: E402
import panel  # noqa: E402
import switches  # noqa: E402
from paint import save_png  # noqa: E402

BUILDERS = {
    101: panel.background,
    102: lambda: knobs.knob_strip(80, 97),
    103: lambda: knobs.knob_strip(60, 97),
    104: switches.selector_strip,
    105: lambda: meter.needle_strip(hold=False),
    106: lambda: meter.needle_strip(hold=True),
    107: meter.led_strip,
    108: switches.vu_ref_strip,
    109: lambda: switches.slider_strip(2),
    110: lambda: switches.slider_strip(3),
    111: font.atlas,
}

# The 2x images carry the 1x id plus this, and the 1x file name with "-2x".
SECOND_SCALE_OFFSET = 100


def write_images(scale, only=None):
    paint.SCALE = scale
    _, _, cell, height, _, _ = font.layout()
    images = dict(geometry.IMAGES)
    images[111] = ("111-text-font.png", cell, height, font.LAST - font.FIRST + 1 + len(font.EXTRA))
    for rid, (name, width, frame_height, frames) in sorted(images.items()):
        if only is not None and rid not in only:
            continue
        surface = BUILDERS[rid]()
        expected = (width * scale, frame_height * frames * scale)
        if (surface.get_width(), surface.get_height()) != expected:
            raise SystemExit("%s: drew %dx%d, expected %dx%d" % (name, surface.get_width(),
                             surface.get_height(), expected[0], expected[1]))
        if scale != 1:
            rid += SECOND_SCALE_OFFSET
            name = "%d-%s-2x.png" % (rid, name.split("-", 1)[1][:-4])
        path = os.path.join(runtime.SKIN_DIR, name)
        save_png(surface, path)
        # The editor decodes a frame when it first draws it.
        frame_index.index_png(path, frames)
        print(os.path.join("resources", "skin", name))


def main():
    # The committed 1x face is what every read-back test compares against; font builds differ in a few
    # edge pixels of its lettering, so "--2x" redraws the 2x images and the text face and leaves it be.
    write_images(1, only={111} if "--2x" in sys.argv[1:] else None)
    write_images(2)
    paint.SCALE = 1
    font.write_metrics(os.path.join(runtime.ROOT, "editor", "skin_font.h"))
    print(os.path.join("editor", "skin_font.h"))


if __name__ == "__main__":
    main()
