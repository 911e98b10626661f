"""Prints the table of bench/run from its results file.

Each line of the file is "set,cache,round,program,value": a time in seconds, or for
the cache "rss" the peak resident memory of precheck in kilobytes. A ratio is taken
within each round, between runs made back to back, and the table shows its median
over the rounds with the lowest and highest value.
"""
import collections
import csv
import statistics
import sys

# (numerator, denominator, column title)
RATIOS = [
    ("precheck", "floor", "precheck / floor"),
    ("exiftool", "floor", "exiftool / floor"),
    ("exiv2", "floor", "exiv2 / floor"),
    ("exiftool", "precheck", "exiftool / precheck"),
    ("exiv2", "precheck", "exiv2 / precheck"),
]


def spread(values):
    if not values:
        return "-"
    if len(values) == 1:
        return f"{values[0]:.2f} (1 round)"
    return f"{statistics.median(values):.2f} ({min(values):.2f}-{max(values):.2f})"


def main(path):
    runs = collections.defaultdict(dict)  # (set, cache, round) -> program -> value
    order = []
    for set_name, cache, round_, program, value in csv.reader(open(path)):
        key = (set_name, cache)
        if key not in order:
            order.append(key)
        runs[(set_name, cache, round_)][program] = float(value)

    header = ["set", "cache", "floor, median"] + [title for _, _, title in RATIOS]
    rows = []
    rss = {}
    for set_name, cache in order:
        rounds = [p for (s, c, _), p in runs.items() if (s, c) == (set_name, cache)]
        if cache == "rss":
            rss[set_name] = rounds[0]["precheck"]
            continue
        floor = statistics.median(r["floor"] for r in rounds)
        row = [set_name, cache, f"{floor * 1000:.0f} ms"]
        for top, bottom, _ in RATIOS:
            row.append(spread([r[top] / r[bottom] for r in rounds if top in r and bottom in r]))
        rows.append(row)

    widths = [max(len(line[i]) for line in [header] + rows) for i in range(len(header))]
    for line in [header, ["-" * w for w in widths]] + rows:
        print("| " + " | ".join(cell.ljust(w) for cell, w in zip(line, widths)) + " |")
    print()
    for set_name, kilobytes in rss.items():
        print(f"Peak RSS of precheck on set {set_name}: {kilobytes / 1024:.1f} MB")


if __name__ == "__main__":
    main(sys.argv[1])
