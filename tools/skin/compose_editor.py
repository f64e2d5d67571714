#!/usr/bin/python3
"""Composes the editor from the committed skin images, as the editor draws it, into docs/editor-alt.png:
controls away from their defaults, a needle near 0 VU with the hold needle above it and the peak LED lit.
A check of the skin's parts together without building anything; the editor's own pictures in docs/ are
drawn by the plug-in itself (vr58 editor-preview).
"""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import runtime  # noqa: E402

runtime.require_cairo()

import cairo  # noqa: E402
import geometry as g  # noqa: E402


ALT_VALUES = {"trim": 0.8, "gain": 0.3, "rec_lo": 0.0, "rec_hi": 1.0, "rep_lo": 0.25, "rep_hi": 0.7,
              "head": 0.6, "bump": 1.0, "hiss": 0.15, "eq_curve": 0.0, "hb_att": 0.5, "noise": 0.0,
              "vu_ref": 0.0, "vu_hold": 1.0, "vu_path": 0.0}


def load(rid):
    return cairo.ImageSurface.create_from_png(os.path.join(runtime.SKIN_DIR, g.IMAGES[rid][0]))


def blit(ctx, image, rect, frame, frame_height):
    ctx.save()
    ctx.rectangle(rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1])
    ctx.clip()
    ctx.set_source_surface(image, rect[0], rect[1] - frame * frame_height)
    ctx.paint()
    ctx.restore()


def compose(values, needle_frame, hold_frame, led_lit, path):
    images = {rid: load(rid) for rid in g.IMAGES}
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, *g.PANEL_SIZE)
    ctx = cairo.Context(surface)
    ctx.set_source_surface(images[101], 0, 0)
    ctx.paint()
    for name, _param, kind, rect, rid, default in g.CONTROLS:
        value = values.get(name, default)
        frames, height = g.IMAGES[rid][3], g.IMAGES[rid][2]
        frame = g.knob_frame(value, frames) if kind == g.KNOB else g.switch_frame(value, frames)
        blit(ctx, images[rid], rect, frame, height)
    if hold_frame is not None:
        blit(ctx, images[106], g.VU_RECT, hold_frame, 90)
    blit(ctx, images[105], g.VU_RECT, needle_frame, 90)
    blit(ctx, images[107], g.LED_RECT, 1 if led_lit else 0, 28)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    surface.write_to_png(path)
    print(os.path.relpath(path, runtime.ROOT))


def main():
    compose(ALT_VALUES, 84, 109, True, os.path.join(runtime.DOCS_DIR, "editor-alt.png"))


if __name__ == "__main__":
    main()
