#!/usr/bin/python3
"""Regenerates the ten editor skin images into resources/skin/ (see README.md)."""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import runtime  # noqa: E402

runtime.require_cairo()

import geometry  # noqa: E402
import knobs  # noqa: E402
import meter  # noqa: E402
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
}


def main():
    for rid, (name, width, frame_height, frames) in sorted(geometry.IMAGES.items()):
        surface = BUILDERS[rid]()
        if (surface.get_width(), surface.get_height()) != (width, frame_height * frames):
            raise SystemExit("%s: drew %dx%d, expected %dx%d" % (name, surface.get_width(),
                             surface.get_height(), width, frame_height * frames))
        save_png(surface, os.path.join(runtime.SKIN_DIR, name))
        print(os.path.join("resources", "skin", name))


if __name__ == "__main__":
    main()
