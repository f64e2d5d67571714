"""Filmstrip knobs: a black knurled skirt and a satin cap with a white pointer line.

The body is lit from the upper left and does not turn its highlights with the pointer; only the
knurling and the pointer rotate, as on a real knob under fixed studio light.
"""

import math

import cairo

import geometry
from paint import circle, filmstrip, linear, radial, rgb, soft_shadow

POINTER = rgb(246, 243, 232)


def draw_knob(ctx, size, angle):
    c = size / 2.0
    r = size * 0.43
    cap = r * 0.74

    soft_shadow(ctx, c, c, r, strength=0.55, spread=size * 0.05, dx=size * 0.02, dy=size * 0.035)

    # Skirt: black plastic with a soft sheen, darker towards the lower right.
    ctx.set_source(linear(c - r, c - r, c + r, c + r,
                          [(0, rgb(78, 78, 80)), (0.45, rgb(34, 34, 36)), (1, rgb(12, 12, 13))]))
    circle(ctx, c, c, r)
    ctx.fill()

    ribs = 40 if size > 70 else 32
    ctx.set_line_width(max(0.9, size / 80.0))
    for i in range(ribs):
        a = angle + 2 * math.pi * i / ribs
        light = 0.5 + 0.5 * math.cos(a + math.pi * 0.75)
        ctx.set_source_rgba(1, 1, 1, 0.05 + 0.16 * light)
        ctx.move_to(c + math.cos(a) * cap * 1.04, c + math.sin(a) * cap * 1.04)
        ctx.line_to(c + math.cos(a) * r * 0.985, c + math.sin(a) * r * 0.985)
        ctx.stroke()
        a2 = a + math.pi / ribs
        ctx.set_source_rgba(0, 0, 0, 0.55)
        ctx.move_to(c + math.cos(a2) * cap * 1.04, c + math.sin(a2) * cap * 1.04)
        ctx.line_to(c + math.cos(a2) * r * 0.985, c + math.sin(a2) * r * 0.985)
        ctx.stroke()

    # Rim: a light edge towards the light, a dark one away from it.
    ctx.set_line_width(1.0)
    ctx.set_source(linear(c - r, c - r, c + r, c + r,
                          [(0, (1, 1, 1, 0.35)), (0.5, (1, 1, 1, 0.04)), (1, (0, 0, 0, 0.6))]))
    circle(ctx, c, c, r - 0.5)
    ctx.stroke()

    # Cap: a shallow dome of satin black with a bevelled edge.
    ctx.set_source(linear(c - cap, c - cap, c + cap, c + cap,
                          [(0, rgb(120, 120, 124)), (0.5, rgb(40, 40, 42)), (1, rgb(8, 8, 9))]))
    circle(ctx, c, c, cap)
    ctx.fill()
    ctx.set_source(radial(c - cap * 0.35, c - cap * 0.45, cap * 0.05, c, c, cap * 0.92,
                          [(0, rgb(96, 96, 100)), (0.55, rgb(42, 42, 45)), (1, rgb(20, 20, 22))]))
    circle(ctx, c, c, cap * 0.9)
    ctx.fill()
    ctx.set_source(radial(c - cap * 0.4, c - cap * 0.5, 0, c - cap * 0.4, c - cap * 0.5, cap * 0.55,
                          [(0, (1, 1, 1, 0.22)), (1, (1, 1, 1, 0))]))
    circle(ctx, c, c, cap * 0.9)
    ctx.fill()

    # Pointer: an inlaid white line from near the centre out across the skirt's edge.
    dx, dy = math.cos(angle), math.sin(angle)
    width = max(2.4, size * 0.045)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_width(width + 1.2)
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.move_to(c + dx * cap * 0.30 + 0.5, c + dy * cap * 0.30 + 0.7)
    ctx.line_to(c + dx * r * 0.90 + 0.5, c + dy * r * 0.90 + 0.7)
    ctx.stroke()
    ctx.set_line_width(width)
    ctx.set_source_rgba(*POINTER)
    ctx.move_to(c + dx * cap * 0.30, c + dy * cap * 0.30)
    ctx.line_to(c + dx * r * 0.90, c + dy * r * 0.90)
    ctx.stroke()
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)


def knob_strip(size, frames):
    return filmstrip(size, size, frames,
                     lambda ctx, k: draw_knob(ctx, size, geometry.knob_angle(k / (frames - 1.0))))
