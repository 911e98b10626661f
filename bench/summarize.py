"""Prints the tables of bench/run from its results file, one for each kind of set.

Each line of the file is "set,cache,round,program,value,cpu": a wall time and a
processor time (user + system) in seconds; for the cache "rss" the peak resident
memory of precheck in kilobytes, and for the cache "images" the number of files of
the set. Processor time is shown per image, in microseconds: the median of precheck's
(without and with the survey) and of the floor's, and the ratio of precheck's to the
floor's, which on shared machines moves much less between machines than wall time
does. A ratio is taken within each round, between runs made back to back, and the
table shows its median over the rounds with the lowest and highest value. A column
with no value in any row of its table (baseline / precheck without BASELINE) is left
out.
"""
import collections
import csv
import statistics
import sys

# (numerator, denominator, column title)
AGAINST_READERS = [
    ("exiftool", "precheck", "exiftool / precheck"),
    ("exiv2", "precheck", "exiv2 / precheck"),
    ("baseline", "precheck", "baseline / precheck"),
]
AGAINST_FLOOR = [
    ("precheck", "floor", "precheck / floor"),
    ("exiftool", "floor", "exiftool / floor"),
    ("exiv2", "floor", "exiv2 / floor"),
]

# What a run that writes the survey costs: over the same build without it, and over the
# baseline's run of the checks alone.
SURVEY = [
    ("survey", "precheck", "survey / precheck"),
    ("survey", "baseline", "survey / baseline"),
]

# (sets, title, programs whose median time is shown, ratios)
TABLES = [
    (("A", "B", "C"), "Drone surveys", ["floor"], AGAINST_FLOOR + AGAINST_READERS + SURVEY),
    (("S", "T"), "Stripped of metadata", ["floor", "cat"],
     [("precheck", "floor", "precheck / floor"), ("precheck", "cat", "precheck / cat")]
     + AGAINST_READERS),
    (("N",), "On a share", ["floor"], AGAINST_FLOOR + AGAINST_READERS + SURVEY),
]

def spread(values):
    if not values:
        return "-"
    if len(values) == 1:
        return f"{values[0]:.2f} (1 round)"
    return f"{statistics.median(values):.2f} ({min(values):.2f}-{max(values):.2f})"


def cpu_columns(rounds, count):
    """Median processor time per image of precheck (without and with the survey) and of
    the floor, and the ratio of precheck's to the floor's."""
    if not count:
        return ["-", "-", "-", "-"]
    cells = []
    for program in ("precheck", "survey", "floor"):
        seconds = [r[program] for r in rounds if program in r]
        cells.append(f"{statistics.median(seconds) / count * 1e6:.1f} µs" if seconds else "-")
    both = [r["precheck"] / r["floor"] for r in rounds
            if "precheck" in r and "floor" in r and r["floor"] > 0]
    cells.append(spread(both))
    return cells


def print_table(title, header, rows):
    used = [i for i in range(len(header)) if any(row[i] != "-" for row in rows)]
    header = [header[i] for i in used]
    rows = [[row[i] for i in used] for row in rows]
    widths = [max(len(line[i]) for line in [header] + rows) for i in range(len(header))]
    print(title)
    print()
    for line in [header, ["-" * w for w in widths]] + rows:
        print("| " + " | ".join(cell.ljust(w) for cell, w in zip(line, widths)) + " |")
    print()


def main(path):
    runs = collections.defaultdict(dict)  # (set, cache, round) -> program -> value
    cpu = collections.defaultdict(dict)  # (set, cache, round) -> program -> seconds
    images = {}
    order = []
    for set_name, cache, round_, program, value, processor in csv.reader(open(path)):
        if cache == "images":
            images[set_name] = int(value)
            continue
        key = (set_name, cache)
        if key not in order:
            order.append(key)
        runs[(set_name, cache, round_)][program] = float(value)
        cpu[(set_name, cache, round_)][program] = float(processor)

    rss = {}
    for sets, title, medians, ratios in TABLES:
        header = ["set", "cache"] + [f"{program}, median" for program in medians]
        header += [column for _, _, column in ratios]
        header += ["precheck CPU/image", "survey CPU/image", "floor CPU/image",
                   "CPU precheck / floor"]
        rows = []
        for set_name, cache in order:
            if set_name not in sets:
                continue
            rounds = [p for (s, c, _), p in runs.items() if (s, c) == (set_name, cache)]
            if cache == "rss":
                rss[set_name] = rounds[0]["precheck"]
                continue
            row = [set_name, cache]
            for program in medians:
                times = [r[program] for r in rounds if program in r]
                row.append(f"{statistics.median(times) * 1000:.0f} ms" if times else "-")
            for top, bottom, _ in ratios:
                row.append(spread([r[top] / r[bottom] for r in rounds if top in r and bottom in r]))
            row += cpu_columns(
                [p for (s, c, _), p in cpu.items() if (s, c) == (set_name, cache)],
                images.get(set_name))
            rows.append(row)
        if rows:
            print_table(title, header, rows)

    for set_name, kilobytes in rss.items():
        print(f"Peak RSS of precheck on set {set_name}: {kilobytes / 1024:.1f} MB")


if __name__ == "__main__":
    main(sys.argv[1])
