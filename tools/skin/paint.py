"""Small drawing helpers shared by the skin parts: surfaces, text, gradients, saving."""

import math
import os

import cairo

SANS = "DejaVu Sans"
SANS_CONDENSED = "DejaVu Sans Condensed"
SERIF = "Liberation Serif"

# Ink and metal colours of the whole skin, lit from the upper left.
INK = (0.11, 0.11, 0.12)
INK_RED = (0.72, 0.10, 0.08)
ENGRAVE_LIGHT = (1.0, 1.0, 1.0, 0.55)

# Pixels per layout unit of the images being drawn: 1 for the face as the editor's 520 x 440 layout
# gives it, 2 for the same vector drawing at twice the resolution (set by generate_skin.py --scale).
SCALE = 1


def rgb(r, g, b, a=1.0):
    return (r / 255.0, g / 255.0, b / 255.0, a)


def new_surface(width, height, opaque=False):
    """A surface of width x height layout units, drawn in layout units at the current SCALE."""
    fmt = cairo.FORMAT_RGB24 if opaque else cairo.FORMAT_ARGB32
    surface = cairo.ImageSurface(fmt, width * SCALE, height * SCALE)
    ctx = cairo.Context(surface)
    if SCALE != 1:
        ctx.scale(SCALE, SCALE)
    options = cairo.FontOptions()
    # No hinting: glyph shapes must not depend on the build machine's font configuration.
    options.set_hint_style(cairo.HINT_STYLE_NONE)
    options.set_hint_metrics(cairo.HINT_METRICS_OFF)
    options.set_antialias(cairo.ANTIALIAS_GRAY)
    ctx.set_font_options(options)
    return surface, ctx


def save_png(surface, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    surface.flush()
    # cairo writes no time or text chunks, so equal pixels give equal bytes.
    surface.write_to_png(path)


def set_font(ctx, size, family=SANS_CONDENSED, bold=True, italic=False):
    ctx.select_font_face(family,
                         cairo.FONT_SLANT_ITALIC if italic else cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)


def text_extent(ctx, text):
    return ctx.text_extents(text)


def text_centred(ctx, x, y, text, colour=INK, engraved=False, spacing=0.0):
    """Draws text whose ink box is centred on (x, y)."""
    ext = ctx.text_extents(text)
    width = ext.x_advance + spacing * (len(text) - 1)
    left = x - width / 2.0
    baseline = y - ext.y_bearing - ext.height / 2.0
    _draw_text(ctx, left, baseline, text, colour, engraved, spacing)
    return (left, baseline - ext.height, left + width, baseline)


def text_at(ctx, left, baseline, text, colour=INK, engraved=False, spacing=0.0):
    _draw_text(ctx, left, baseline, text, colour, engraved, spacing)


def _draw_text(ctx, left, baseline, text, colour, engraved, spacing):
    passes = []
    if engraved:
        # The lower lip of an engraving catches the light from the upper left.
        passes.append((0.6, 0.7, ENGRAVE_LIGHT))
    passes.append((0.0, 0.0, colour if len(colour) == 4 else tuple(colour) + (1.0,)))
    for dx, dy, col in passes:
        ctx.set_source_rgba(*col)
        x = left + dx
        for ch in text:
            ctx.move_to(x, baseline + dy)
            ctx.show_text(ch)
            x += ctx.text_extents(ch).x_advance + spacing
    ctx.new_path()


def circle(ctx, x, y, r):
    ctx.new_sub_path()
    ctx.arc(x, y, r, 0, 2 * math.pi)


def rounded_rect(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 1.5 * math.pi)
    ctx.close_path()


def fill_rounded(ctx, source, x, y, w, h, r):
    """Fills a rounded rectangle with a pattern or an RGBA tuple."""
    if isinstance(source, cairo.Pattern):
        ctx.set_source(source)
    else:
        ctx.set_source_rgba(*source)
    rounded_rect(ctx, x, y, w, h, r)
    ctx.fill()


def filmstrip(width, height, frames, draw_frame):
    """Stacks frames vertically; draw_frame(ctx, k) paints frame k clipped to its own cell."""
    surface, ctx = new_surface(width, height * frames)
    for k in range(frames):
        ctx.save()
        ctx.translate(0, k * height)
        ctx.rectangle(0, 0, width, height)
        ctx.clip()
        draw_frame(ctx, k)
        ctx.restore()
    return surface


def linear(x0, y0, x1, y1, stops):
    pattern = cairo.LinearGradient(x0, y0, x1, y1)
    for offset, colour in stops:
        pattern.add_color_stop_rgba(offset, *colour)
    return pattern


def radial(cx0, cy0, r0, cx1, cy1, r1, stops):
    pattern = cairo.RadialGradient(cx0, cy0, r0, cx1, cy1, r1)
    for offset, colour in stops:
        pattern.add_color_stop_rgba(offset, *colour)
    return pattern


def soft_shadow(ctx, x, y, r, strength=0.45, spread=4.0, dx=1.5, dy=2.5):
    """A round contact shadow falling to the lower right."""
    ctx.set_source(radial(x + dx, y + dy, r * 0.8, x + dx, y + dy, r + spread,
                          [(0, (0, 0, 0, strength)), (1, (0, 0, 0, 0))]))
    circle(ctx, x + dx, y + dy, r + spread)
    ctx.fill()


def screw(ctx, x, y, r, slot_angle):
    soft_shadow(ctx, x, y, r, 0.35, 2.0, 0.8, 1.2)
    ctx.set_source(radial(x - r * 0.4, y - r * 0.4, 0.5, x, y, r,
                          [(0, rgb(240, 240, 236)), (0.6, rgb(176, 176, 172)), (1, rgb(110, 110, 108))]))
    circle(ctx, x, y, r)
    ctx.fill()
    ctx.set_line_width(0.6)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    circle(ctx, x, y, r)
    ctx.stroke()
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for a in (slot_angle, slot_angle + math.pi / 2):
        dx, dy = math.cos(a) * r * 0.62, math.sin(a) * r * 0.62
        ctx.set_source_rgba(1, 1, 1, 0.5)
        ctx.set_line_width(1.2)
        ctx.move_to(x - dx + 0.4, y - dy + 0.5)
        ctx.line_to(x + dx + 0.4, y + dy + 0.5)
        ctx.stroke()
        ctx.set_source_rgba(0.15, 0.15, 0.15, 0.9)
        ctx.move_to(x - dx, y - dy)
        ctx.line_to(x + dx, y + dy)
        ctx.stroke()
