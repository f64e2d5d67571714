#!/usr/bin/env python3
"""Measures the built plug-in with `vr58 measure` and draws the response plots of the README.

Every curve comes from the CSV files that `vr58 measure` writes for one setting of the real plug-in
binary; nothing here evaluates the filter formulas. Run from the source tree after a Linux build:

    python3 tools/plots/plot_measurements.py [--vr58 PATH] [--plugin PATH] [--out docs] [--csv DIR]
"""
import argparse
import csv
import subprocess
import sys
import tempfile
from pathlib import Path

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
from matplotlib.ticker import FuncFormatter  # noqa: E402

CURVES = {"NAB": 0.0, "IEC": 0.5, "AES": 1.0}
COLOURS = ["#1f5fa8", "#c0392b", "#2e8b57", "#8e44ad"]
FREQUENCY_TICKS = [10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--vr58", default="build/linux/tools/vr58/vr58")
    parser.add_argument("--plugin", default="build/linux/plugins/VR58G_x64.so")
    parser.add_argument("--out", default="docs", help="folder for the PNG files")
    parser.add_argument("--csv", help="keep the measured CSV files in this folder")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as scratch:
        bench = Bench(args.vr58, args.plugin, Path(args.csv or scratch))
        out = Path(args.out)
        out.mkdir(parents=True, exist_ok=True)
        for plot in (plot_eq_curves, plot_shelves, plot_head_bump, plot_saturation):
            path = out / (plot.__name__.removeprefix("plot_").replace("_", "-") + ".png")
            figure = plot(bench)
            figure.savefig(path, dpi=100, metadata={"Software": None})
            plt.close(figure)
            print(f"Wrote {path}")


class Bench:
    """Runs vr58 measure once per distinct setting and reads its CSV files."""

    def __init__(self, vr58, plugin, folder):
        self.vr58, self.plugin, self.folder = vr58, plugin, folder
        self.runs = {}

    def measure(self, **settings):
        key = tuple(sorted(settings.items()))
        if key not in self.runs:
            folder = self.folder / f"run{len(self.runs):02d}"
            command = [self.vr58, "measure", self.plugin, str(folder)]
            for name, value in settings.items():
                command += ["--set-normalised", f"{name.replace('_', ' ')}={value}"]
            result = subprocess.run(command, capture_output=True, text=True)
            if result.returncode != 0:
                sys.exit(result.stderr.strip() or f"{' '.join(command)} failed")
            self.runs[key] = folder
        return self.runs[key]

    def response(self, **settings):
        return read_columns(self.measure(**settings) / "response.csv")

    def levels(self, **settings):
        return read_columns(self.measure(**settings) / "levels.csv")


def read_columns(path):
    with open(path, newline="") as file:
        rows = list(csv.DictReader(file))
    return {name: [float(row[name]) for row in rows] for name in rows[0]}


def frequency_axes(axes, low=10, high=22000):
    axes.set_xscale("log")
    axes.set_xlim(low, high)
    ticks = [f for f in FREQUENCY_TICKS if low <= f <= high]
    axes.set_xticks(ticks)
    axes.xaxis.set_major_formatter(FuncFormatter(lambda f, _: f"{f / 1000:g}k" if f >= 1000 else f"{f:g}"))
    axes.xaxis.set_minor_formatter(FuncFormatter(lambda *_: ""))
    axes.set_xlabel("frequency (Hz)")
    axes.set_ylabel("gain (dB)")
    axes.grid(True, which="both", alpha=0.3)


def draw_response(axes, data, **style):
    axes.plot(data["frequency_hz"], data["gain_db"], **style)


def plot_eq_curves(bench):
    figure, axes = plt.subplots(figsize=(8, 4.5))
    for curve, value in CURVES.items():
        draw_response(axes, bench.response(EQ_Curve=value), color="0.55", linewidth=3, alpha=0.5,
                      label="all three curves, shelves at 0 dB" if curve == "NAB" else None)
    for colour, (curve, value) in zip(COLOURS, CURVES.items()):
        draw_response(axes, bench.response(EQ_Curve=value, EQ_RecHi=1), color=colour,
                      label=f"{curve}, EQ RecHi +14 dB")
        draw_response(axes, bench.response(EQ_Curve=value, EQ_RecHi=0), color=colour, linestyle="--",
                      label=f"{curve}, EQ RecHi -14 dB")
    frequency_axes(axes)
    axes.set_title("EQ Curve: where the high shelves turn (other controls at their defaults)")
    axes.legend(fontsize=8, ncol=2, loc="upper left")
    figure.tight_layout()
    return figure


def plot_shelves(bench):
    figure, panels = plt.subplots(1, 2, figsize=(10, 4.5), sharey=True)
    for axes, (stage, low, high) in zip(panels, [("Record", "EQ_RecLo", "EQ_RecHi"),
                                                 ("Repro", "EQ_RepLo", "EQ_RepHi")]):
        draw_response(axes, bench.response(EQ_Curve=0), color="0.55", linewidth=3, alpha=0.5,
                      label="all shelves at 0 dB")
        for colour, (name, value, text) in zip(COLOURS, [(low, 1, "Lo +10 dB"), (low, 0, "Lo -10 dB"),
                                                         (high, 1, "Hi +14 dB"), (high, 0, "Hi -14 dB")]):
            draw_response(axes, bench.response(EQ_Curve=0, **{name: value}), color=colour, label=text)
        frequency_axes(axes)
        axes.set_title(f"{stage} shelves at their extremes (NAB)")
        axes.legend(fontsize=8, loc="upper center")
    panels[1].set_ylabel("")
    figure.tight_layout()
    return figure


def plot_head_bump(bench):
    figure, panels = plt.subplots(1, 2, figsize=(10, 4.5), sharey=True)
    for axes, (att, text) in zip(panels, [(0, "HB Att 0 dB"), (1, "HB Att -2 dB (default)")]):
        for colour, (head, hertz) in zip(COLOURS, [(0, "65 Hz"), (0.5, "85 Hz"), (1, "105 Hz")]):
            for bump, style in [(0, "--"), (1, "-")]:
                draw_response(axes, bench.response(Head=head, Bump=bump, HB_Att=att), color=colour,
                              linestyle=style, label=f"Head {head:g} ({hertz}), Bump {bump:g}")
        frequency_axes(axes, 10, 2000)
        axes.set_title(f"Head bump, {text}")
        axes.legend(fontsize=8, loc="lower right")
    panels[1].set_ylabel("")
    figure.tight_layout()
    return figure


def plot_saturation(bench):
    figure, (level, thd) = plt.subplots(1, 2, figsize=(10, 4.5))
    for colour, (trim, text) in zip(COLOURS, [(0.25, "Trim -12 dB"), (0.5, "Trim 0 dB"), (0.75, "Trim +12 dB")]):
        data = bench.levels(Trim=trim)
        level.plot(data["input_dbfs"], data["output_dbfs"], color=colour, label=text)
        thd.plot(data["input_dbfs"], data["thd_percent"], color=colour, label=text)
    level.plot([-40, 12], [-40, 12], color="0.6", linestyle=":", label="output = input")
    level.set_xlabel("1 kHz sine in (dBFS peak)")
    level.set_ylabel("1 kHz fundamental out (dBFS peak)")
    level.set_title("Saturation: level in to level out")
    thd.set_yscale("log")
    thd.set_xlabel("1 kHz sine in (dBFS peak)")
    thd.set_ylabel("THD, harmonics 2 to 9 (%)")
    thd.set_title("Distortion against level")
    for axes in (level, thd):
        axes.set_xlim(-40, 12)
        axes.grid(True, which="both", alpha=0.3)
        axes.legend(fontsize=8, loc="upper left")
    figure.tight_layout()
    return figure


if __name__ == "__main__":
    main()
