#!/usr/bin/env python3
"""Turns the raw results of scripts/run-benchmarks.sh into the figures it prints.

    summarize.py startup GOAL ROUND.json...      hyperfine exports, one per round
    summarize.py startup-wine GOAL ROUND.json... the same, for the static build (named "static")
                                                 against the shared one ("shared") under Wine
    summarize.py memory GOAL REMEDOR.txt BARE.txt  one peak RSS in KiB per line
    summarize.py registry GOAL_MS GB.json          Google Benchmark JSON output
    summarize.py cli GOAL_MS WALL.txt RUN.txt...   remedor-cli runs: wall times in
                                                   microseconds, one a line, and each run's output
"""
import json
import re
import statistics
import sys


def verdict(value, goal):
    return "met" if value <= goal else "NOT met"


def startup(goal, files, measured="remedor", baseline="bare"):
    ratios = []
    for round_number, name in enumerate(files, 1):
        with open(name) as f:
            results = {r["command"]: r for r in json.load(f)["results"]}
        remedor, bare = results[measured], results[baseline]
        ratio = remedor["mean"] / bare["mean"]
        ratios.append(ratio)
        print(f"  round {round_number}: {measured} {remedor['mean'] * 1e3:7.2f} ms "
              f"± {remedor['stddev'] * 1e3:5.2f} (median {remedor['median'] * 1e3:6.2f}), "
              f"{baseline} {bare['mean'] * 1e3:7.2f} ms ± {bare['stddev'] * 1e3:5.2f} "
              f"(median {bare['median'] * 1e3:6.2f}), {len(remedor['times'])} runs each: "
              f"ratio of means {ratio:.3f}")
    mean_ratio = statistics.mean(ratios)
    print(f"  start-up ratio (mean of {len(ratios)} rounds): {mean_ratio:.3f}  "
          f"goal <= {goal:.2f}: {verdict(mean_ratio, goal)}")


def memory(goal, remedor_file, bare_file):
    def read(name):
        with open(name) as f:
            return [int(line) for line in f if line.strip()]
    remedor, bare = read(remedor_file), read(bare_file)
    r, b = statistics.median(remedor), statistics.median(bare)
    ratio = r / b
    print(f"  remedor {r / 1024:6.1f} MiB (range {min(remedor) / 1024:.1f}-{max(remedor) / 1024:.1f}), "
          f"bare {b / 1024:6.1f} MiB (range {min(bare) / 1024:.1f}-{max(bare) / 1024:.1f}), "
          f"median of {len(remedor)} runs each")
    print(f"  peak RSS ratio: {ratio:.3f} (+{(r - b) / 1024:.1f} MiB)  "
          f"goal <= {goal:.2f}: {verdict(ratio, goal)}")


OPERATIONS = ["bootstrapper_read", "remove_machine_settings", "remove_user_settings",
              "remove_uninstall_entry", "remove_installer_product", "edition"]
SHORT = {"bootstrapper_read": "boot.read", "remove_machine_settings": "HKLM set.",
         "remove_user_settings": "HKCU set.", "remove_uninstall_entry": "uninst.",
         "remove_installer_product": "inst.prod", "edition": "EDITION"}


def registry(goal_ms, name):
    with open(name) as f:
        data = json.load(f)
    table = {}
    sizes = {}
    hives = []
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration" or b.get("error_occurred"):
            continue
        operation, hive = b["run_name"].split("/")[:2]
        if hive not in hives:
            hives.append(hive)
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
        table[(hive, operation)] = (b["real_time"] * scale, b["iterations"])
        sizes[hive] = b["MiB"]
    header = f"  {'hive':>8} {'MiB':>7} " + " ".join(f"{SHORT[o]:>10}" for o in OPERATIONS) \
        + f" {'ed. ms/MiB':>11} {'op ms/MiB':>10}"
    print(header)
    for hive in hives:
        cells = []
        for operation in OPERATIONS:
            time_ms, _ = table.get((hive, operation), (float("nan"), 0))
            cells.append(f"{time_ms:10.3f}")
        edition = table.get((hive, "edition"), (float("nan"), 0))[0]
        removal = statistics.mean(table[(hive, o)][0] for o in OPERATIONS[1:5] if (hive, o) in table)
        print(f"  {hive:>8} {sizes[hive]:7.2f} " + " ".join(cells)
              + f" {edition / sizes[hive]:11.2f} {removal / sizes[hive]:10.2f}")
    print("  (times in ms per call; 'op ms/MiB' is one key removal's time per MiB of file)")
    large = [h for h in hives if sizes[h] >= 0.5]
    if len(large) >= 2:
        per_mib = [table[(h, "edition")][0] / sizes[h] for h in large]
        spread = max(per_mib) / min(per_mib)
        print(f"  edition cost per MiB over {', '.join(large)}: {min(per_mib):.1f} to "
              f"{max(per_mib):.1f} ms/MiB (max/min {spread:.2f}; linear when close to 1)")
    if "sample" in hives:
        sample = table[("sample", "edition")][0]
        print(f"  sample machine: {sample:.2f} ms per edition  goal <= {goal_ms:g} ms: "
              f"{verdict(sample, goal_ms)}")


def cli(goal_ms, wall_file, outputs):
    with open(wall_file) as f:
        walls = [float(line) / 1000 for line in f if line.strip()]
    runs = []
    for wall, name in zip(walls, outputs):
        with open(name, encoding="utf-8") as f:
            text = f.read()
        times = [float(t) * 1000 for t in re.findall(r" in (\d+\.\d{3}) s$", text, re.M)]
        if len(times) != 16 or "Finished with exit code 0:" not in text:
            sys.exit(f"{name}: not a whole successful run of sixteen installers")
        runs.append((wall, sum(times), wall - sum(times)))
    wall = statistics.median(r[0] for r in runs)
    installers = statistics.median(r[1] for r in runs)
    added = sorted(r[2] for r in runs)
    median = statistics.median(added)
    print(f"  {len(runs)} runs: command {wall:.1f} ms, its sixteen installers {installers:.1f} ms "
          f"({installers / 16:.1f} ms each) (medians)")
    print(f"  added by the run: median {median:.1f} ms, mean {statistics.mean(added):.1f}, "
          f"range {added[0]:.1f} to {added[-1]:.1f}  goal <= {goal_ms:g} ms: {verdict(median, goal_ms)}")


def main():
    kind, goal, *files = sys.argv[1:]
    goal = float(goal)
    if kind == "startup":
        startup(goal, files)
    elif kind == "startup-wine":
        startup(goal, files, "static", "shared")
    elif kind == "memory":
        memory(goal, *files)
    elif kind == "registry":
        registry(goal, files[0])
    elif kind == "cli":
        cli(goal, files[0], files[1:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
