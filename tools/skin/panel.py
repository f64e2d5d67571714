"""The 520 x 440 background: brushed aluminium front panel with every scale and legend printed on it."""

import math
import random

import cairo

import geometry as g
import meter
from paint import (INK, INK_RED, SANS, SANS_CONDENSED, SERIF, circle, fill_rounded, linear, new_surface,
                   radial, rgb, rounded_rect, screw, set_font, text_at, text_centred)

BRUSH_SEED = 5805


def brushed_metal(ctx, x, y, w, h, base, seed, strength=1.0):
    """Horizontal grain: many faint streaks of random length and brightness (fixed seed)."""
    ctx.set_source(linear(x, y, x, y + h, [(0, tuple(min(1.0, c * 1.06) for c in base[:3]) + (1,)),
                                           (1, tuple(c * 0.93 for c in base[:3]) + (1,))]))
    ctx.rectangle(x, y, w, h)
    ctx.fill()
    rng = random.Random(seed)
    ctx.set_line_width(0.7)
    for _ in range(int(w * h / 14)):
        sy = y + rng.random() * h
        sx = x + rng.random() * w - 20
        length = 15 + rng.random() * 90
        if rng.random() < 0.5:
            ctx.set_source_rgba(1, 1, 1, (0.03 + rng.random() * 0.07) * strength)
        else:
            ctx.set_source_rgba(0, 0, 0, (0.02 + rng.random() * 0.05) * strength)
        ctx.move_to(sx, sy)
        ctx.line_to(sx + length, sy)
        ctx.stroke()


def panel_base(ctx):
    w, h = g.PANEL_SIZE
    brushed_metal(ctx, 0, 0, w, h, rgb(206, 205, 200), BRUSH_SEED, strength=0.7)
    # A broad soft sheen from the upper left across the plate.
    ctx.set_source(radial(120, 40, 10, 160, 80, 520, [(0, (1, 1, 1, 0.16)), (1, (0, 0, 0, 0.08))]))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    # Bevelled plate edge.
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(1, 1, 1, 0.7)
    ctx.move_to(0.5, h - 1)
    ctx.line_to(0.5, 0.5)
    ctx.line_to(w - 1, 0.5)
    ctx.stroke()
    ctx.set_source_rgba(0, 0, 0, 0.45)
    ctx.move_to(w - 0.5, 1)
    ctx.line_to(w - 0.5, h - 0.5)
    ctx.line_to(1, h - 0.5)
    ctx.stroke()
    for (x, y), a in zip(((10, 10), (510, 10), (10, 430), (510, 430)), (0.3, 1.1, 0.7, 0.15)):
        screw(ctx, x, y, 4.2, a)


def engraved_line(ctx, x0, y0, x1, y1):
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(1, 1, 1, 0.6)
    ctx.move_to(x0 + 0.5, y0 + 1.0)
    ctx.line_to(x1 + 0.5, y1 + 1.0)
    ctx.stroke()
    ctx.set_source_rgba(0, 0, 0, 0.45)
    ctx.move_to(x0, y0)
    ctx.line_to(x1, y1)
    ctx.stroke()


def section_header(ctx, x0, x1, y, text):
    """A legend centred between x0 and x1 with an engraved rule broken around it."""
    set_font(ctx, 8.5, SANS, bold=True)
    box = text_centred(ctx, (x0 + x1) / 2.0, y, text, colour=INK, engraved=True, spacing=1.2)
    engraved_line(ctx, x0, y, box[0] - 5, y)
    engraved_line(ctx, box[2] + 5, y, x1, y)
    for x in (x0, x1):
        engraved_line(ctx, x, y, x, y + 5)


def legend(ctx, x, y, text, size=9.0, colour=INK, family=SANS, spacing=0.6):
    set_font(ctx, size, family, bold=True)
    return text_centred(ctx, x, y, text, colour=colour, engraved=True, spacing=spacing)


# Knob scales: (control, ticks as (fraction, major), labels as (fraction, text)).
def _ticks(count, major_every):
    return [(i / (count - 1.0), i % major_every == 0) for i in range(count)]


def _signed(v):
    return "0" if v == 0 else ("+%d" % v if v > 0 else "\u2212%d" % -v)


def _level(parameter, value):
    """A scale label: a whole number, signed when a level in dB, bare when a frequency."""
    whole = int(round(value))
    assert abs(value - whole) < 1e-6, (parameter["name"], value)
    return "%d" % whole if parameter["unit"] == "Hz" else _signed(whole)


def _labels(name, count=2):
    """count labels spread evenly over the knob's range in its unit, from its record."""
    p = g.parameter(g.SYMBOLS[name])
    return [(i / (count - 1.0), _level(p, p["low"] + (p["high"] - p["low"]) * i / (count - 1.0)))
            for i in range(count)]


SCALES = {
    "trim": (_ticks(17, 2), _labels("trim", 5)),
    "gain": (_ticks(17, 2), _labels("gain", 5)),
    "rec_lo": (_ticks(11, 5), _labels("rec_lo")),
    "rec_hi": (_ticks(15, 7), _labels("rec_hi")),
    "rep_lo": (_ticks(11, 5), _labels("rep_lo")),
    "rep_hi": (_ticks(15, 7), _labels("rep_hi")),
    "head": (_ticks(9, 4), _labels("head")),
    # The bump's gain also follows Head and HB Att: its scale is the range at their defaults (65 Hz,
    # -2 dB), where the editor opens; the read-out gives the gain for any setting.
    "bump": (_ticks(11, 5), _labels("bump")),
    "hiss": (_ticks(11, 5), _labels("hiss")),
}


def knob_scale(ctx, name):
    rect = g.control(name)[3]
    cx, cy = g.centre(rect)
    r = (rect[2] - rect[0]) / 2.0
    large = r > 35
    inner = r + (2.5 if large else 2.0)
    outer_major = inner + (6.0 if large else 5.0)
    outer_minor = inner + (3.5 if large else 3.0)
    ticks, labels = SCALES[name]

    # A faint engraved well under the knob keeps it seated on the plate.
    ctx.set_source(radial(cx, cy, r * 0.9, cx, cy, r + 2, [(0, (0, 0, 0, 0.0)), (1, (0, 0, 0, 0.12))]))
    circle(ctx, cx, cy, r + 1.5)
    ctx.fill()

    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for frac, major in ticks:
        a = g.knob_angle(frac)
        dx, dy = math.cos(a), math.sin(a)
        outer = outer_major if major else outer_minor
        ctx.set_line_width(1.4 if major else 1.0)
        ctx.set_source_rgba(1, 1, 1, 0.5)
        ctx.move_to(cx + dx * inner + 0.5, cy + dy * inner + 0.7)
        ctx.line_to(cx + dx * outer + 0.5, cy + dy * outer + 0.7)
        ctx.stroke()
        ctx.set_source_rgb(*INK)
        ctx.move_to(cx + dx * inner, cy + dy * inner)
        ctx.line_to(cx + dx * outer, cy + dy * outer)
        ctx.stroke()
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)

    set_font(ctx, 8.0 if large else 7.5, SANS_CONDENSED, bold=True)
    for frac, text in labels:
        a = g.knob_angle(frac)
        ext = ctx.text_extents(text)
        if large:
            # Push the label out until its box clears the tick ring in the label's direction.
            rad = outer_major + 2.5 + abs(math.cos(a)) * ext.width / 2 + abs(math.sin(a)) * ext.height / 2
            x, y = cx + math.cos(a) * rad, cy + math.sin(a) * rad
        else:
            # End labels of the small knobs sit beside the end ticks, leaving the space below free.
            ex, ey = cx + math.cos(a) * outer_major, cy + math.sin(a) * outer_major
            side = 1.0 if math.cos(a) > 0 else -1.0
            x, y = ex + side * (ext.x_advance / 2.0 + 1.5), ey - 1.0
        text_centred(ctx, x, y, text, colour=INK, engraved=True)


def vu_window(ctx):
    left, top, right, bottom = g.VU_RECT
    # Black bezel with a chamfer catching light on its upper edge.
    w, h = right - left, bottom - top
    fill_rounded(ctx, (0, 0, 0, 0.3), left - 4, top - 3, w + 10, h + 10, 5)
    fill_rounded(ctx, linear(0, top - 5, 0, bottom + 5, [(0, rgb(84, 84, 84)), (1, rgb(22, 22, 22))]),
                 left - 5, top - 5, w + 10, h + 10, 5)
    fill_rounded(ctx, linear(0, top - 2, 0, bottom + 2, [(0, rgb(10, 10, 10)), (1, rgb(60, 60, 58))]),
                 left - 2, top - 2, w + 4, h + 4, 2)
    ctx.save()
    ctx.translate(left, top)
    ctx.rectangle(0, 0, right - left, bottom - top)
    ctx.clip()
    meter.draw_face(ctx)
    ctx.restore()


def switch_legends(ctx):
    # Top row: position legends right under each switch, the name under them. The four levels of VU REF
    # are wider than its switch: spread evenly under it, in the order of its lamps.
    for name, title, pitch, size in (("vu_ref", "VU REF (dB)", 16.0, 6.5), ("vu_hold", "VU HOLD", None, 7.0),
                                     ("vu_path", "VU PATH", None, 7.0)):
        positions = g.legends(name)
        rect = g.control(name)[3]
        cx = g.centre(rect)[0]
        zone = pitch or (rect[2] - rect[0]) / float(len(positions))
        left = cx - zone * len(positions) / 2.0
        set_font(ctx, size, SANS_CONDENSED, bold=True)
        for i, text in enumerate(positions):
            text_centred(ctx, left + zone * (i + 0.5), 40.5, text, colour=INK, engraved=True)
        legend(ctx, cx, 50.5, title, size=7.5)

    # Bottom row: the name to the left of the slider, the positions under it (above it they would read
    # as the scale of the knob over it), each under the place its slide cap stops.
    for name, title in (("hb_att", "HB ATT (dB)"), ("noise", "NOISE")):
        positions = g.legends(name)
        rect = g.control(name)[3]
        n = len(positions)
        cap = 16.0 if n == 2 else 13.0
        zone = (rect[2] - rect[0]) / float(n)
        set_font(ctx, 7.0, SANS_CONDENSED, bold=True)
        for i, text in enumerate(positions):
            x = rect[0] + max(2 + cap / 2, min(38 - cap / 2, zone * (i + 0.5)))
            text_centred(ctx, x, 432.5, text, colour=INK, engraved=True)
        set_font(ctx, 7.5, SANS, bold=True)
        ext = ctx.text_extents(title)
        text_at(ctx, rect[0] - 6 - ext.x_advance, 419, title, colour=INK, engraved=True)


def eq_curve_legends(ctx):
    rect = g.control("eq_curve")[3]
    cx, cy = g.centre(rect)
    legend(ctx, cx, 205.5, "EQ CURVE", size=8.5, spacing=1.0)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for dx, dy in ((-1, 0), (0, -1), (1, 0)):
        engraved_line(ctx, cx + dx * 21, cy + dy * 21, cx + dx * 24.5, cy + dy * 24.5)
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)
    set_font(ctx, 8.0, SANS, bold=True)
    nab, iec, aes = g.legends("eq_curve")
    text_centred(ctx, cx, 221, iec, colour=INK, engraved=True)
    text_centred(ctx, cx - 38, cy, nab, colour=INK, engraved=True)
    text_centred(ctx, cx + 38, cy, aes, colour=INK, engraved=True)


def nameplate(ctx):
    x, y, w, h = 232, 312, 160, 112
    fill_rounded(ctx, (0, 0, 0, 0.35), x + 1, y + 2, w, h, 4)
    fill_rounded(ctx, linear(x, y, x, y + h, [(0, rgb(214, 214, 210)), (1, rgb(120, 120, 118))]),
                 x, y, w, h, 4)
    ctx.save()
    rounded_rect(ctx, x + 2, y + 2, w - 4, h - 4, 3)
    ctx.clip()
    brushed_metal(ctx, x + 2, y + 2, w - 4, h - 4, rgb(30, 30, 32), BRUSH_SEED + 1, strength=0.8)
    ctx.set_source(linear(x, y, x + w, y + h, [(0, (1, 1, 1, 0.10)), (0.5, (1, 1, 1, 0.0)),
                                               (1, (0, 0, 0, 0.2))]))
    ctx.rectangle(x, y, w, h)
    ctx.fill()
    ctx.restore()
    for sx, sy in ((x + 8, y + 8), (x + w - 8, y + 8), (x + 8, y + h - 8), (x + w - 8, y + h - 8)):
        screw(ctx, sx, sy, 2.6, 0.6 + sx * 0.01)

    silver = rgb(226, 224, 216)
    set_font(ctx, 15, SERIF, bold=True, italic=True)
    text_centred(ctx, x + w / 2.0, y + 22, "Quorvane", colour=silver)
    ctx.set_source_rgba(*INK_RED, 1.0)
    ctx.rectangle(x + 22, y + 36, w - 44, 1.5)
    ctx.fill()
    set_font(ctx, 27, SANS, bold=True)
    text_centred(ctx, x + w / 2.0, y + 58, "VR58-G", colour=silver, spacing=1.0)
    set_font(ctx, 9.5, SANS, bold=True)
    text_centred(ctx, x + w / 2.0, y + 84, "TAPE RECORDER", colour=silver, spacing=2.2)
    ctx.set_source_rgba(*INK_RED, 1.0)
    ctx.rectangle(x + 22, y + 95, w - 44, 1.5)
    ctx.fill()


def background():
    w, h = g.PANEL_SIZE
    surface, ctx = new_surface(w, h, opaque=True)
    panel_base(ctx)

    section_header(ctx, 28, 112, 22, "INPUT")
    section_header(ctx, 408, 492, 22, "OUTPUT")
    section_header(ctx, 26, 204, 190, "RECORD EQ (dB)")
    section_header(ctx, 316, 494, 190, "REPRO EQ (dB)")
    engraved_line(ctx, 20, 301, 500, 301)

    for name in SCALES:
        knob_scale(ctx, name)

    legend(ctx, 70, 161, "TRIM (dB)", size=10, spacing=1.2)
    legend(ctx, 450, 161, "GAIN (dB)", size=10, spacing=1.2)
    for name, text in (("rec_lo", "LO"), ("rec_hi", "HI"), ("rep_lo", "LO"), ("rep_hi", "HI")):
        legend(ctx, g.centre(g.control(name)[3])[0], 205.5, text, size=8.5)
    for name, text in (("head", "HEAD (Hz)"), ("bump", "BUMP (dB)"), ("hiss", "HISS (dB)")):
        legend(ctx, g.centre(g.control(name)[3])[0], 317, text, size=8.5)

    eq_curve_legends(ctx)
    switch_legends(ctx)
    vu_window(ctx)
    nameplate(ctx)
    return surface
