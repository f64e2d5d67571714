"""Editor layout and image geometry shared by every part of the skin generator.

All coordinates are pixels; rectangles are (left, top, right, bottom) in editor coordinates.
"""

import json
import math
import os

# The parameters as the plug-in specifies them (written by the vr58_parameter_data program): each one's
# index and default, a knob's range in its unit and the legends of a switch's positions.
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "parameters.json"), encoding="utf-8") as _f:
    PARAMETERS = {p["symbol"]: p for p in json.load(_f)["parameters"]}


def parameter(symbol):
    return PARAMETERS[symbol]


PANEL_SIZE = (520, 440)

# Resource id -> (file name, width, frame height, frame count).
IMAGES = {
    101: ("101-background.png", 520, 440, 1),
    102: ("102-knob-large.png", 80, 80, 97),
    103: ("103-knob-small.png", 60, 60, 97),
    104: ("104-eq-curve-selector.png", 40, 40, 3),
    105: ("105-vu-needle.png", 190, 90, 130),
    106: ("106-vu-hold-needle.png", 190, 90, 130),
    107: ("107-peak-led.png", 28, 28, 2),
    108: ("108-vu-ref-switch.png", 40, 30, 4),
    109: ("109-two-position-slider.png", 40, 30, 2),
    110: ("110-three-position-slider.png", 40, 30, 3),
}

# Every control the editor places: (name, parameter, kind, rect, bitmap id, default value); the parameter's
# index and default come from its record.
KNOB, SWITCH = "knob", "switch"
_PLACES = [
    ("trim", "trim", KNOB, (30, 67, 110, 147), 102),
    ("gain", "gain", KNOB, (410, 67, 490, 147), 102),
    ("rec_lo", "eq_reclo", KNOB, (30, 220, 90, 280), 103),
    ("rec_hi", "eq_rechi", KNOB, (140, 220, 200, 280), 103),
    ("rep_lo", "eq_replo", KNOB, (320, 220, 380, 280), 103),
    ("rep_hi", "eq_rephi", KNOB, (430, 220, 490, 280), 103),
    ("head", "head", KNOB, (30, 330, 90, 390), 103),
    ("bump", "bump", KNOB, (140, 330, 200, 390), 103),
    ("hiss", "hiss", KNOB, (430, 330, 490, 390), 103),
    ("eq_curve", "eq_curve", SWITCH, (240, 230, 280, 270), 104),
    ("hb_att", "hb_att", SWITCH, (150, 401, 190, 431), 110),
    ("noise", "noise", SWITCH, (440, 401, 480, 431), 109),
    ("vu_ref", "h_room", SWITCH, (160, 5, 200, 35), 108),
    ("vu_hold", "vu_hold", SWITCH, (240, 0, 280, 30), 109),
    ("vu_path", "vu_path", SWITCH, (320, 0, 360, 30), 109),
]
CONTROLS = [(name, PARAMETERS[symbol]["editorIndex"], kind, rect, bitmap, PARAMETERS[symbol]["default"])
            for name, symbol, kind, rect, bitmap in _PLACES]
SYMBOLS = {name: symbol for name, symbol, _kind, _rect, _bitmap in _PLACES}


def legends(name):
    """The words or levels printed under a control's switch positions, as the face prints them."""
    return [text.replace("-", "\u2212") if text[:1] in "-0123456789" else text.upper()
            for text in PARAMETERS[SYMBOLS[name]]["legends"]]


VU_RECT = (165, 62, 355, 152)
LED_RECT = (328, 71, 356, 99)


def control(name):
    for entry in CONTROLS:
        if entry[0] == name:
            return entry
    raise KeyError(name)


def centre(rect):
    return ((rect[0] + rect[2]) / 2.0, (rect[1] + rect[3]) / 2.0)


# Knobs: the pointer sweeps 270 degrees clockwise, from 225 degrees (lower left) to -45 degrees
# (lower right), angles counter-clockwise from the positive x axis with y pointing up.
KNOB_START_DEG = 225.0
KNOB_SWEEP_DEG = 270.0


def knob_angle(fraction):
    """Screen angle in radians (y down) of a knob pointer at fraction 0..1 of its travel."""
    return -math.radians(KNOB_START_DEG - KNOB_SWEEP_DEG * fraction)


def knob_frame(value, frames):
    return int(value * (frames - 1))


def switch_frame(value, positions):
    return int((positions - 1) * value + 0.5)


# VU meter, in the meter's own 190 x 90 coordinates. The pivot sits below the window, hidden
# like on a real panel meter; the needle swings linearly in frame number between the stops.
VU_PIVOT = (95.0, 122.0)
VU_HALF_SWEEP_DEG = 40.0
VU_FRAMES = 130
VU_TICK_INNER = 80.0
VU_TICK_OUTER = 92.0
VU_NEEDLE_TIP = 88.0
VU_LABEL_RADIUS = 101.0
VU_MARKS = [
    ("20", 4), ("10", 21), ("7", 32), ("5", 42), ("3", 56), ("2", 65), ("1", 74),
    ("0", 84), ("1", 97), ("2", 109), ("3", 123),
]
VU_ZERO_FRAME = 84
VU_STOP_FRAME = 129


def vu_angle(frame):
    """Needle angle in radians, clockwise from straight up."""
    return math.radians(-VU_HALF_SWEEP_DEG + 2.0 * VU_HALF_SWEEP_DEG * frame / (VU_FRAMES - 1))


def vu_point(frame, radius):
    a = vu_angle(frame)
    return (VU_PIVOT[0] + radius * math.sin(a), VU_PIVOT[1] - radius * math.cos(a))
