#!/usr/bin/python3
"""Reading a download price file with pandas: the comparison baseline of
bench/price_file_compare.sh. Debian's python3-pandas belongs to
/usr/bin/python3, hence the interpreter named above.

Prints the row count and the type the Date column was read as: pandas keeps
the dates as text when any of them lies beyond what its nanosecond time
stamps hold (1677-09-21 to 2262-04-11).
"""
import sys

import pandas as pd


def main():
    frame = pd.read_csv(sys.argv[1], parse_dates=["Date"])
    print(len(frame), frame["Date"].dtype)


if __name__ == "__main__":
    main()
