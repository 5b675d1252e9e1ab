#!/usr/bin/env python3
"""Compares the chart part of a window screenshot with the chart image and
layout tavimo-cli gives for the same command and size.

Usage: check_chart.py SHOT.rgb CLI.rgb LAYOUT.json WIDTH HEIGHT [RATIO]
The .rgb files are raw 8-bit RGB (ImageMagick: convert x.png -depth 8 rgb:x.rgb),
WIDTH and HEIGHT their device pixels and RATIO the screen's pixel ratio (1).
Exit status 0 when they agree, 1 with a reason on stderr otherwise.
"""
import json
import math
import sys

# Controls that lie over the chart in the window (left, top, width, height),
# in logical pixels.
COVERED = [
    (8, 0, 345, 57),      # the group box with the price boxes
    (363, 20, 60, 25), (439, 20, 50, 25), (504, 20, 70, 25),
    (6, 463, 70, 25), (106, 463, 70, 25), (206, 463, 70, 25), (305, 463, 70, 25),
    (405, 463, 70, 25), (505, 463, 70, 25),
    (16, 128, 40, 300),   # the caption label, sized by its text
]

AQUA = (0, 255, 255)


def covered_at(ratio):
    """The covered areas in device pixels, with every pixel they touch."""
    areas = [(math.floor(l * ratio), math.floor(t * ratio), math.ceil((l + w) * ratio), math.ceil((t + h) * ratio))
             for l, t, w, h in COVERED]
    return lambda x, y: any(l <= x < r and t <= y < b for l, t, r, b in areas)


def main():
    shot_path, cli_path, layout_path, width, height = sys.argv[1:6]
    width, height = int(width), int(height)
    ratio = float(sys.argv[6]) if len(sys.argv) > 6 else 1.0
    covered = covered_at(ratio)
    frame = max(1, int(ratio + 0.5))  # a mark's frame: one pixel at the ratio
    shot = open(shot_path, "rb").read()
    cli = open(cli_path, "rb").read()
    if len(shot) != width * height * 3 or len(cli) != width * height * 3:
        print(f"image sizes differ from {width}x{height}", file=sys.stderr)
        return 1

    def pixel(data, x, y):
        i = (y * width + x) * 3
        return tuple(data[i:i + 3])

    different = 0
    first = None
    compared = 0
    for y in range(height):
        for x in range(width):
            if covered(x, y):
                continue
            compared += 1
            if pixel(shot, x, y) != pixel(cli, x, y):
                different += 1
                if first is None:
                    first = (x, y, pixel(shot, x, y), pixel(cli, x, y))
    if different:
        print(f"{different} of {compared} chart pixels differ; first at {first}", file=sys.stderr)
        return 1

    layout = json.load(open(layout_path))
    bars = layout["bars"]
    marks = 0
    for bar in bars:
        mark = bar.get("mark")
        if mark:
            box = mark["box"]
            inside = (box[0] + frame, box[1] + frame)
            if not covered(*inside):
                got = pixel(shot, *inside)
                if got != AQUA:
                    print(f"mark of bar {bar['index']} at {inside}: {got}, not aqua", file=sys.stderr)
                    return 1
                marks += 1
    if any(bar.get("mark") for bar in bars) and marks == 0:
        print("no mark could be probed", file=sys.stderr)
        return 1
    print(f"chart matches: {compared} pixels, {len(bars)} bars, {marks} marks probed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
