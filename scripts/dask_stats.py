#!/usr/bin/python3
"""Reaction statistics over many price files, spread over a Dask cluster.

Each task runs `tavimo-cli stats --format csv` over one group of files; the
counts of every ratio (hits, legs, resumed, decided) are sums, so adding the
groups' rows gives exactly what one run over all the files gives, and the
shares are formed again from the sums with tavimo-cli's rounding.

    scripts/dask_stats.py --cli build/release/src/cli/tavimo-cli [--workers 2]
                          [--scheduler tcp://host:8786] [--group-size 50]
                          [--change P] [--tolerance T] [--ratios TEXT] FILE...

Without --scheduler a LocalCluster of --workers processes runs on this
machine; with it, the tasks go to that cluster's workers, which must see the
files and the tool at the same paths (a shared file system, or the tool
installed from the package on every worker).
"""

import argparse
import csv
import io
import subprocess
import sys

COUNTS = ("hits", "legs", "resumed", "decided")
HEADER = ("ratio", "hits", "legs", "share", "resumed", "decided", "resumed_share")


def run_group(cli, options, files):
    """One tavimo-cli stats run: its exit status, its rows and its stderr."""
    command = [cli, "stats", "--format", "csv", *options]
    for name in files:
        command += ["--input", name]
    done = subprocess.run(command, capture_output=True, check=False)
    rows = list(csv.DictReader(io.StringIO(done.stdout.decode("utf-8"), newline="")))
    return done.returncode, rows, done.stderr.decode("utf-8", "replace")


def share_text(part, whole):
    """100 x part / whole with one decimal, half away from zero, or '-'."""
    if whole == 0:
        return "-"
    tenths, rest = divmod(1000 * part, whole)
    if 2 * rest >= whole:
        tenths += 1
    return f"{tenths // 10}.{tenths % 10}"


def merge(groups):
    """The rows of all groups added up, ratio by ratio, in the list's order."""
    merged = None
    for rows in groups:
        if not rows:  # a group whose files could not be read; its messages say why
            continue
        if merged is None:
            merged = [dict(row, **{key: 0 for key in COUNTS}) for row in rows]
        if [row["ratio"] for row in rows] != [row["ratio"] for row in merged]:
            raise SystemExit("dask_stats: the groups' ratio lists differ")
        for total, row in zip(merged, rows):
            for key in COUNTS:
                total[key] += int(row[key])
    return merged or []


def write_csv(rows, out):
    writer = csv.writer(out, lineterminator="\r\n")
    writer.writerow(HEADER)
    for row in rows:
        writer.writerow([row["ratio"], row["hits"], row["legs"], share_text(row["hits"], row["legs"]),
                         row["resumed"], row["decided"], share_text(row["resumed"], row["decided"])])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cli", required=True, help="path of tavimo-cli, the same on every worker")
    parser.add_argument("--scheduler", help="address of a running Dask scheduler")
    parser.add_argument("--workers", type=int, default=2, help="processes of the local cluster")
    parser.add_argument("--group-size", type=int, default=50, help="files per task")
    parser.add_argument("--change")
    parser.add_argument("--tolerance")
    parser.add_argument("--ratios")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()

    options = []
    for name in ("change", "tolerance", "ratios"):
        value = getattr(args, name)
        if value is not None:
            options += [f"--{name}", value]
    size = max(1, args.group_size)
    groups = [args.files[i:i + size] for i in range(0, len(args.files), size)]

    from dask.distributed import Client, LocalCluster

    if args.scheduler:
        client = Client(args.scheduler)
        cluster = None
    else:
        cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True,
                               dashboard_address=None)
        client = Client(cluster)
    try:
        futures = client.map(run_group, [args.cli] * len(groups), [options] * len(groups), groups, pure=False)
        results = client.gather(futures)
    finally:
        client.close()
        if cluster is not None:
            cluster.close()

    status = 0
    for code, _, errors in results:
        sys.stderr.write(errors)
        if code == 2:
            raise SystemExit(2)
        status = max(status, code)
    write_csv(merge(rows for _, rows, _ in results), sys.stdout)
    return status


if __name__ == "__main__":
    sys.exit(main())
