#!/usr/bin/python3
"""The Dask recipe against one run: scripts/dask_stats.py on a LocalCluster of
two worker processes, over groups of generated price files, must print
byte for byte what one `tavimo-cli stats --format csv` over all the files
prints. Exits 77 (skipped) where Debian's python3-distributed is missing."""

import random
import subprocess
import sys
import tempfile
from pathlib import Path


def write_file(path, seed, bars):
    rng = random.Random(seed)
    price = 50.0 + seed
    lines = ["Date,Open,High,Low,Close,Volume"]
    for day in range(bars):
        close = price * (1 + rng.gauss(0, 0.03))
        high = max(price, close) * (1 + abs(rng.gauss(0, 0.01)))
        low = min(price, close) * (1 - abs(rng.gauss(0, 0.01)))
        year, rest = divmod(day, 336)
        lines.append(f"{2000 + year:04d}-{rest // 28 + 1:02d}-{rest % 28 + 1:02d},"
                     f"{price:.2f},{high:.2f},{low:.2f},{close:.2f},{rng.randint(1, 999)}")
        price = close
    path.write_text("\n".join(lines) + "\n")


def main():
    cli, recipe = sys.argv[1], sys.argv[2]
    try:
        import distributed  # noqa: F401
    except ImportError:
        print("python3-distributed is not installed", file=sys.stderr)
        return 77
    with tempfile.TemporaryDirectory() as work:
        files = []
        for seed in range(7):
            path = Path(work) / f"instrument{seed}.csv"
            write_file(path, seed, 400 + 50 * seed)
            files.append(str(path))
        options = ["--change", "4", "--tolerance", "0.05"]
        single = subprocess.run([cli, "stats", "--format", "csv", *options, *sum((["--input", f] for f in files), [])],
                                capture_output=True, check=True).stdout
        spread = subprocess.run([sys.executable, recipe, "--cli", cli, "--workers", "2", "--group-size", "2",
                                 *options, *files], capture_output=True, check=True).stdout
        legs = int(single.split(b"\r\n")[1].split(b",")[2])
        if legs < 50:
            print(f"too few legs to compare ({legs})", file=sys.stderr)
            return 1
        if single != spread:
            print("one run:\n" + single.decode() + "\nspread:\n" + spread.decode(), file=sys.stderr)
            return 1
        print(f"{len(files)} files, {legs} legs: the spread run equals the single run")
    return 0


if __name__ == "__main__":
    sys.exit(main())
