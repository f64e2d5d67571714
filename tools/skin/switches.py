"""Switch filmstrips: the EQ curve selector, the VU reference readout and the slide switches.

The editor picks a switch position from the horizontal zone that was clicked, so every switch shows
its state left to right: the rotary points left/up/right, the sliders sit over their zone.
"""

import math

import cairo

import geometry
from paint import (SANS_CONDENSED, circle, fill_rounded, filmstrip, linear, radial, rgb, rounded_rect,
                   set_font, soft_shadow, text_centred)


def draw_selector(ctx, angle):
    """A bar knob on a round chrome washer, pointing at angle (screen radians)."""
    c = 20.0
    soft_shadow(ctx, c, c, 15.5, 0.45, 3.0, 0.8, 1.6)
    ctx.set_source(linear(4, 4, 36, 36, [(0, rgb(238, 238, 234)), (0.5, rgb(170, 170, 168)),
                                         (1, rgb(96, 96, 96))]))
    circle(ctx, c, c, 16)
    ctx.fill()
    ctx.set_source(linear(4, 4, 36, 36, [(0, rgb(110, 110, 110)), (1, rgb(225, 225, 222))]))
    circle(ctx, c, c, 13.5)
    ctx.fill()
    ctx.set_source(radial(c, c, 2, c, c, 13, [(0, rgb(205, 205, 202)), (1, rgb(160, 160, 158))]))
    circle(ctx, c, c, 12.5)
    ctx.fill()

    ctx.save()
    ctx.translate(c, c)
    ctx.rotate(angle)

    def bar_path():
        # Pointed toward +x, rounded tail toward -x.
        ctx.new_path()
        ctx.move_to(18.5, 0)
        ctx.line_to(7.0, -5.5)
        ctx.arc_negative(-7.0, 0, 5.5, -math.pi / 2, math.pi / 2)
        ctx.line_to(7.0, 5.5)
        ctx.close_path()

    ctx.save()
    ctx.rotate(-angle)
    ctx.translate(1.2, 2.0)
    ctx.rotate(angle)
    bar_path()
    ctx.set_source_rgba(0, 0, 0, 0.45)
    ctx.fill()
    ctx.restore()

    # Light stays upper left while the bar turns: express the gradient in the bar's own axes.
    ca, sa = math.cos(-angle), math.sin(-angle)
    x0, y0 = -12 * ca + 12 * sa, -12 * sa - 12 * ca
    bar_path()
    ctx.set_source(linear(x0, y0, -x0, -y0, [(0, rgb(96, 96, 100)), (0.5, rgb(32, 32, 34)),
                                             (1, rgb(10, 10, 11))]))
    ctx.fill_preserve()
    ctx.set_line_width(0.8)
    ctx.set_source_rgba(0, 0, 0, 0.8)
    ctx.stroke()

    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_width(1.8)
    ctx.set_source_rgba(*rgb(246, 243, 232))
    ctx.move_to(3.0, 0)
    ctx.line_to(15.0, 0)
    ctx.stroke()
    ctx.restore()


def selector_strip():
    angles = (math.pi, -math.pi / 2, 0.0)
    return filmstrip(40, 40, 3, lambda ctx, k: draw_selector(ctx, angles[k]))


# The drum shows the reference levels without their minus sign.
VU_REF_READINGS = tuple(level.lstrip("\u2212") for level in geometry.legends("vu_ref"))


def draw_readout(ctx, position):
    """A drum counter behind a small window, with a lamp row marking the selected zone."""
    fill_rounded(ctx, (0, 0, 0, 0.35), 1.5, 1.8, 38, 27.5, 3)
    fill_rounded(ctx, linear(0, 1, 0, 29, [(0, rgb(70, 70, 72)), (1, rgb(18, 18, 19))]),
                 1, 1, 38, 27, 3)
    # Drum window: a cylinder, brightest across its middle.
    ctx.set_source(linear(0, 4, 0, 20, [(0, rgb(14, 14, 14)), (0.45, rgb(52, 52, 50)),
                                        (0.55, rgb(48, 48, 46)), (1, rgb(10, 10, 10))]))
    rounded_rect(ctx, 8, 4, 24, 16, 1.5)
    ctx.fill()
    set_font(ctx, 12.5, SANS_CONDENSED, bold=True)
    text_centred(ctx, 20.0, 12.2, VU_REF_READINGS[position], colour=rgb(244, 238, 218))
    ctx.set_source(linear(0, 4, 0, 20, [(0, (0, 0, 0, 0.55)), (0.3, (0, 0, 0, 0)),
                                        (0.7, (0, 0, 0, 0)), (1, (0, 0, 0, 0.6))]))
    rounded_rect(ctx, 8, 4, 24, 16, 1.5)
    ctx.fill()
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(1, 1, 1, 0.18)
    rounded_rect(ctx, 7.5, 3.5, 25, 17, 2)
    ctx.stroke()
    for i in range(4):
        x = 5 + 10 * i
        lit = i == position
        if lit:
            ctx.set_source(radial(x, 24.5, 0, x, 24.5, 4.5, [(0, rgb(255, 190, 90, 0.9)),
                                                             (1, rgb(255, 140, 30, 0))]))
            circle(ctx, x, 24.5, 4.5)
            ctx.fill()
        ctx.set_source_rgba(*(rgb(255, 214, 120) if lit else rgb(70, 58, 40)))
        rounded_rect(ctx, x - 3, 23.2, 6, 2.6, 1.0)
        ctx.fill()


def vu_ref_strip():
    return filmstrip(40, 30, 4, draw_readout)


def draw_slider(ctx, centre_x, cap_width):
    """A chrome-framed slot with a ribbed black slide cap over it."""
    fill_rounded(ctx, (0, 0, 0, 0.3), 1.5, 9.5, 38, 12, 3)
    fill_rounded(ctx, linear(0, 9, 0, 21, [(0, rgb(120, 120, 118)), (1, rgb(236, 236, 232))]),
                 1, 9, 38, 12, 3)
    fill_rounded(ctx, linear(0, 11, 0, 19, [(0, rgb(6, 6, 6)), (1, rgb(40, 40, 40))]), 3, 11, 34, 8, 2)

    x0 = centre_x - cap_width / 2.0
    fill_rounded(ctx, (0, 0, 0, 0.5), x0 + 1.0, 4.6, cap_width, 22, 2.5)
    ctx.set_source(linear(x0, 3, x0 + cap_width, 25, [(0, rgb(96, 96, 98)), (0.5, rgb(38, 38, 40)),
                                                      (1, rgb(14, 14, 15))]))
    rounded_rect(ctx, x0, 3.5, cap_width, 22, 2.5)
    ctx.fill()
    ctx.set_line_width(1.0)
    ctx.set_source(linear(x0, 3, x0 + cap_width, 25, [(0, (1, 1, 1, 0.45)), (1, (0, 0, 0, 0.6))]))
    rounded_rect(ctx, x0 + 0.5, 4, cap_width - 1, 21, 2)
    ctx.stroke()
    # Grip ribs across the cap, then a white index line on its centre.
    for i in range(5):
        y = 7.5 + 3.5 * i
        ctx.set_source_rgba(1, 1, 1, 0.16)
        ctx.move_to(x0 + 2.5, y + 0.5)
        ctx.line_to(x0 + cap_width - 2.5, y + 0.5)
        ctx.stroke()
        ctx.set_source_rgba(0, 0, 0, 0.7)
        ctx.move_to(x0 + 2.5, y - 0.5)
        ctx.line_to(x0 + cap_width - 2.5, y - 0.5)
        ctx.stroke()
    ctx.set_line_width(1.6)
    ctx.set_source_rgba(*rgb(246, 243, 232))
    ctx.move_to(centre_x, 5.5)
    ctx.line_to(centre_x, 23.5)
    ctx.stroke()


def slider_strip(positions):
    # Slide caps stop over the middle of the zone that selects their position.
    zone = 40.0 / positions
    cap = 16.0 if positions == 2 else 13.0
    centres = [max(2 + cap / 2, min(38 - cap / 2, zone * (i + 0.5))) for i in range(positions)]
    return filmstrip(40, 30, positions, lambda ctx, k: draw_slider(ctx, centres[k], cap))
