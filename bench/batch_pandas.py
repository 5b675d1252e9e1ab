#!/usr/bin/python3
"""Batch levels as a straightforward pandas script: the comparison baseline
of the batch benchmark (bench/batch_compare.sh). Debian's python3-pandas
belongs to /usr/bin/python3, hence the interpreter named above.

Reads the benchmark's CSV (columns low and high) on stdin and writes the same
CSV as the calculator's batch on stdout: the input row, then mode, ratio,
level and text for the four window modes and the sixteen default ratios. The
arithmetic uses numpy's long double, which on x86-64 is the same extended
format the calculator computes in, so the levels agree to the bit.
"""
import sys

import numpy as np
import pandas as pd

RATIOS = "0.191,0.236,1/3,0.382,0.5,0.618,2/3,0.809,1,1.191,1.236,1.382,1.5,1.618,1.809,2".split(",")
MODES = ["rise", "decline", "resistance", "support"]
CHUNK_ROWS = 10_000  # 640,000 output rows per chunk


def ratio_value(text):
    if "/" in text:
        numerator, denominator = text.split("/")
        return int(numerator) / int(denominator)
    return float(text)


def level_column(mode, ratio, low, high):
    r = np.longdouble(ratio)
    low = low.astype(np.longdouble)
    high = high.astype(np.longdouble)
    if mode == "rise":
        return ((r + 1) * low).astype(np.float64) if r < 1 else np.zeros(len(low))
    if mode == "decline":
        return ((1 - r) * high).astype(np.float64) if r < 1 else np.zeros(len(low))
    if mode == "resistance":
        return (low + r * (high - low)).astype(np.float64)
    return (high - r * (high - low)).astype(np.float64)


def shortest(value):
    text = repr(value)
    return text[:-2] if text.endswith(".0") else text


def mark(value):
    text = f"{value:,.3f}".rstrip("0").rstrip(".")
    return "0" if text == "-0" else text


def main():
    ratio_values = [ratio_value(text) for text in RATIOS]
    per_row = len(MODES) * len(RATIOS)
    first = True
    for chunk in pd.read_csv(sys.stdin, dtype=str, chunksize=CHUNK_ROWS, keep_default_na=False):
        columns = {name.strip().lower(): name for name in chunk.columns}
        low = chunk[columns["low"]].astype(float).to_numpy()
        high = chunk[columns["high"]].astype(float).to_numpy()
        levels = np.column_stack([level_column(mode, r, low, high) for mode in MODES for r in ratio_values])
        flat = levels.ravel().tolist()  # row by row, then mode, then ratio
        out = chunk.loc[chunk.index.repeat(per_row)].reset_index(drop=True)
        out["mode"] = np.tile(np.repeat(MODES, len(RATIOS)), len(chunk))
        out["ratio"] = np.tile(RATIOS * len(MODES), len(chunk))
        out["level"] = [shortest(v) for v in flat]
        out["text"] = [mark(v) for v in flat]
        out.to_csv(sys.stdout, index=False, header=first, lineterminator="\r\n")
        first = False


if __name__ == "__main__":
    main()
