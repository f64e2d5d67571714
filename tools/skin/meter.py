"""The VU meter: its printed face (part of the background), both needle strips and the peak LED."""

import math

import cairo

import geometry as g
from paint import (INK, INK_RED, SANS, SANS_CONDENSED, SERIF, circle, filmstrip, linear, radial,
                   rgb, set_font, text_centred)

FACE_LIGHT = rgb(250, 240, 206)
FACE_DARK = rgb(226, 206, 156)
APRON_TOP = 79.0


def _arc(ctx, radius, f0, f1):
    a0 = g.vu_angle(f0) - math.pi / 2
    a1 = g.vu_angle(f1) - math.pi / 2
    ctx.new_sub_path()
    ctx.arc(g.VU_PIVOT[0], g.VU_PIVOT[1], radius, a0, a1)


def draw_face(ctx):
    """The meter face in the meter's own 190 x 90 coordinates: warm backlit card and scale."""
    w, h = 190, 90
    ctx.set_source(radial(95, 70, 10, 95, 60, 130, [(0, FACE_LIGHT), (1, FACE_DARK)]))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()

    # Scale: a thin arc up to 0 VU, a red band beyond it, radial ticks at every mark.
    ctx.set_line_width(1.0)
    ctx.set_source_rgb(*INK)
    _arc(ctx, g.VU_TICK_INNER - 0.5, 0, g.VU_ZERO_FRAME)
    ctx.stroke()
    ctx.set_line_width(4.0)
    ctx.set_source_rgb(*INK_RED)
    _arc(ctx, g.VU_TICK_INNER - 2.0, g.VU_ZERO_FRAME, g.VU_STOP_FRAME)
    ctx.stroke()

    for label, frame in g.VU_MARKS:
        red = frame >= g.VU_ZERO_FRAME
        colour = INK_RED if red else INK
        major = label in ("20", "10", "7", "5", "3", "0") or red
        x0, y0 = g.vu_point(frame, g.VU_TICK_INNER)
        x1, y1 = g.vu_point(frame, g.VU_TICK_OUTER if major else g.VU_TICK_OUTER - 3)
        ctx.set_line_width(2.0 if major else 1.6)
        ctx.set_source_rgb(*colour)
        ctx.move_to(x0, y0)
        ctx.line_to(x1, y1)
        ctx.stroke()
        set_font(ctx, 8.0 if major else 7.0, SANS_CONDENSED, bold=True)
        lx, ly = g.vu_point(frame, g.VU_LABEL_RADIUS)
        text_centred(ctx, lx, ly, label, colour=colour)

    set_font(ctx, 12, SANS, bold=True)
    # Beyond both stops, where the needle never covers them.
    for frame, sign, colour in ((-9, "\u2212", INK), (g.VU_STOP_FRAME + 9, "+", INK_RED)):
        x, y = g.vu_point(frame, g.VU_TICK_INNER + 6)
        text_centred(ctx, x, y, sign, colour=colour)
    set_font(ctx, 17, SERIF, bold=True)
    text_centred(ctx, 95, 64, "VU", colour=INK)

    # Peak lamp legend below the LED, which sits on the face's upper right corner.
    set_font(ctx, 6.5, SANS_CONDENSED, bold=True)
    led_x = (g.LED_RECT[0] + g.LED_RECT[2]) / 2.0 - g.VU_RECT[0]
    text_centred(ctx, led_x, g.LED_RECT[3] - g.VU_RECT[1] + 7, "PEAK", colour=INK_RED)

    # Soft vignette: the card is lit from behind, dimmer at the window's edges.
    ctx.set_source(linear(0, 0, 0, h, [(0, (0, 0, 0, 0.12)), (0.15, (0, 0, 0, 0)),
                                       (0.85, (0, 0, 0, 0)), (1, (0, 0, 0, 0.1))]))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    ctx.set_source(linear(0, 0, w, 0, [(0, (0, 0, 0, 0.12)), (0.12, (0, 0, 0, 0)),
                                       (0.88, (0, 0, 0, 0)), (1, (0, 0, 0, 0.12))]))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()


def _needle(ctx, frame, colour, width, shadow):
    a = g.vu_angle(frame)
    dx, dy = math.sin(a), -math.cos(a)
    px, py = g.VU_PIVOT
    base = 30.0
    tip = g.VU_NEEDLE_TIP
    if shadow:
        ctx.set_line_cap(cairo.LINE_CAP_BUTT)
        ctx.set_line_width(width + 0.6)
        ctx.set_source_rgba(0, 0, 0, 0.16)
        ctx.move_to(px + dx * base + 2.0, py + dy * base + 2.5)
        ctx.line_to(px + dx * (tip - 2) + 2.0, py + dy * (tip - 2) + 2.5)
        ctx.stroke()
    # A tapering blade: full width at the pivot end, a sharp point at the tip.
    nx, ny = -dy, dx
    half = width / 2.0
    ctx.set_source_rgba(*colour)
    ctx.move_to(px + dx * base + nx * half, py + dy * base + ny * half)
    ctx.line_to(px + dx * (tip - 8) + nx * half * 0.7, py + dy * (tip - 8) + ny * half * 0.7)
    ctx.line_to(px + dx * tip, py + dy * tip)
    ctx.line_to(px + dx * (tip - 8) - nx * half * 0.7, py + dy * (tip - 8) - ny * half * 0.7)
    ctx.line_to(px + dx * base - nx * half, py + dy * base - ny * half)
    ctx.close_path()
    ctx.fill()


def draw_apron(ctx):
    """The moulded cover hiding the needle's pivot along the bottom of the window."""
    px, py = g.VU_PIVOT
    r = py - APRON_TOP
    ctx.save()
    ctx.rectangle(0, 0, 190, 90)
    ctx.clip()
    ctx.set_source(radial(px, py - 1.5, r, px, py - 1.5, r + 5, [(0, (0, 0, 0, 0.3)), (1, (0, 0, 0, 0))]))
    circle(ctx, px, py - 1.5, r + 5)
    ctx.fill()
    ctx.set_source(linear(0, APRON_TOP, 0, 90, [(0, rgb(70, 68, 64)), (0.25, rgb(36, 35, 33)),
                                                 (1, rgb(20, 20, 19))]))
    circle(ctx, px, py, r)
    ctx.fill()
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(1, 1, 1, 0.25)
    ctx.arc(px, py, r - 0.6, math.pi * 1.1, math.pi * 1.9)
    ctx.stroke()
    ctx.restore()


def _draw_needle_frame(ctx, k, hold):
    if hold:
        _needle(ctx, k, rgb(200, 24, 16), 1.4, shadow=False)
    else:
        _needle(ctx, k, rgb(18, 18, 18), 2.0, shadow=True)
        draw_apron(ctx)


def needle_strip(hold):
    return filmstrip(190, 90, g.VU_FRAMES, lambda ctx, k: _draw_needle_frame(ctx, k, hold))


def draw_led(ctx, lit):
    c, r = 14.0, 8.0
    if lit:
        ctx.set_source(radial(c, c, 2, c, c, 14, [(0, rgb(255, 80, 40, 0.85)), (0.6, rgb(255, 40, 20, 0.35)),
                                                  (1, rgb(255, 30, 10, 0))]))
        ctx.rectangle(0, 0, 28, 28)
        ctx.fill()
    # Chrome bezel.
    ctx.set_source_rgba(0, 0, 0, 0.4)
    circle(ctx, c + 0.6, c + 1.0, r + 2.6)
    ctx.fill()
    ctx.set_source(linear(c - r, c - r, c + r, c + r, [(0, rgb(244, 244, 240)), (0.5, rgb(150, 150, 148)),
                                                       (1, rgb(70, 70, 70))]))
    circle(ctx, c, c, r + 2.2)
    ctx.fill()
    ctx.set_source(linear(c - r, c - r, c + r, c + r, [(0, rgb(60, 60, 60)), (1, rgb(220, 220, 216))]))
    circle(ctx, c, c, r + 0.6)
    ctx.fill()
    # Lens.
    if lit:
        stops = [(0, rgb(255, 236, 200)), (0.35, rgb(255, 90, 50)), (1, rgb(200, 20, 10))]
    else:
        stops = [(0, rgb(150, 50, 42)), (0.5, rgb(92, 16, 12)), (1, rgb(44, 6, 5))]
    ctx.set_source(radial(c - 1.5, c - 1.5, 0.5, c, c, r, stops))
    circle(ctx, c, c, r)
    ctx.fill()
    ctx.set_source(radial(c - 3, c - 3.5, 0, c - 3, c - 3.5, 4.2, [(0, (1, 1, 1, 0.75)), (1, (1, 1, 1, 0))]))
    circle(ctx, c, c, r)
    ctx.fill()


def led_strip():
    return filmstrip(28, 28, 2, lambda ctx, k: draw_led(ctx, k == 1))
