#!/usr/bin/env python3
"""summarize.py TIMES_TSV: the table of the install benchmark from run.sh's times (variant,
round, seconds): the median and range per variant, and the median's ratio to xcopy's and to
each NSIS variant's (above 1: slower than that one), as Markdown."""
import statistics
import sys


def main():
    times = {}
    with open(sys.argv[1]) as f:
        next(f)
        for line in f:
            variant, _, seconds = line.split("\t")
            times.setdefault(variant, []).append(float(seconds))
    medians = {v: statistics.median(s) for v, s in times.items()}
    baselines = [v for v in ("xcopy", "nsis-store", "nsis-zlib", "nsis-lzma") if v in medians]
    print("| variant | runs | median s | min-max s | " +
          " | ".join(f"/ {b}" for b in baselines) + " |")
    print("|---" * (4 + len(baselines)) + "|")
    for variant, seconds in times.items():
        ratios = " | ".join(f"{medians[variant] / medians[b]:.2f}" for b in baselines)
        print(f"| {variant} | {len(seconds)} | {medians[variant]:.2f} | "
              f"{min(seconds):.2f}-{max(seconds):.2f} | {ratios} |")


if __name__ == "__main__":
    main()
