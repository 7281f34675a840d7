#!/usr/bin/env python3
"""Turns the raw results of scripts/run-benchmarks.sh into the figures it prints.

    summarize.py startup NAME=GOAL[,...] ROUND.json...  hyperfine exports, one per round;
                                                   Remedor's ratio to each named baseline
    summarize.py startup-wine GOAL ROUND.json... the same, for the static build (named "static")
                                                 against the shared one ("shared") under Wine
    summarize.py memory GOAL REMEDOR.txt BARE.txt  one peak RSS in KiB per line
    summarize.py registry GOAL_MS GB.json          Google Benchmark JSON output
    summarize.py cli GOAL_MS WALL.txt RUN.txt...   remedor-cli runs: wall times in
                                                   microseconds, one a line, and each run's output
    summarize.py wine-cli GOAL TIMES.txt OUT...    remove --all under Wine: "ROUND NAME
                                                   MICROSECONDS" lines, and each round's
                                                   remove-all-ROUND.out and dry-run-ROUND.out
    summarize.py profiles GOAL TIMES.txt           remove --all --all-users over profiles that are
                                                   not signed in: "ROUND KIND PROFILES
                                                   MICROSECONDS" lines, KIND real or dry, 0
                                                   profiles the run's cost without any
"""
import os
import json
import re
import statistics
import sys


def verdict(value, goal):
    return "met" if value <= goal else "NOT met"


def startup(goals, files, measured="remedor"):
    ratios = {baseline: [] for baseline in goals}
    for round_number, name in enumerate(files, 1):
        with open(name) as f:
            results = {r["command"]: r for r in json.load(f)["results"]}
        remedor = results[measured]
        line = (f"  round {round_number}: {measured} {remedor['mean'] * 1e3:7.2f} ms "
                f"± {remedor['stddev'] * 1e3:5.2f} (median {remedor['median'] * 1e3:6.2f})")
        for baseline in goals:
            other = results[baseline]
            ratio = remedor["mean"] / other["mean"]
            ratios[baseline].append(ratio)
            line += (f", {baseline} {other['mean'] * 1e3:7.2f} ms ± {other['stddev'] * 1e3:5.2f} "
                     f"(median {other['median'] * 1e3:6.2f}): ratio {ratio:.3f}")
        print(line + f"; {len(remedor['times'])} runs each")
    for baseline, goal in goals.items():
        mean_ratio = statistics.mean(ratios[baseline])
        print(f"  start-up ratio to {baseline} (mean of {len(ratios[baseline])} rounds): "
              f"{mean_ratio:.3f}  goal <= {goal:.2f}: {verdict(mean_ratio, goal)}")


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


def check_output(name, text):
    """Each timed run did what the figure claims: two installers, fourteen products skipped."""
    kind = os.path.basename(name).rsplit("-", 1)[0]
    if kind == "remove-all":
        wanted = [("installer succeeded (exit code 0) in", 2),
                  ("not installed: removing leftover keys", 14),
                  ("Finished with exit code 0:", 1)]
    else:
        wanted = [(": would run msiexec.exe /X", 2), ("not installed: would remove leftover keys", 14)]
    for line, count in wanted:
        if text.count(line) != count:
            sys.exit(f"{name}: {text.count(line)} lines with '{line}', expected {count}")


def wine_cli(goal, times_file, outputs, floor_goal=None):
    rounds = {}
    with open(times_file) as f:
        for line in f:
            number, name, microseconds = line.split()
            rounds.setdefault(int(number), {})[name] = int(microseconds) / 1e6
    for name in outputs:
        with open(name, encoding="utf-8") as f:
            text = f.read()
        check_output(name, text)
        if os.path.basename(name).startswith("remove-all-"):
            number = int(re.search(r"-(\d+)\.out$", name).group(1))
            times = [float(t) for t in re.findall(r" in (\d+\.\d{3}) s$", text, re.M)]
            rounds[number]["installers"] = sum(times)
    for number, r in sorted(rounds.items()):
        print(f"  round {number}: remove --all {r['remove-all']:.3f} s (its two installers "
              f"{r['installers']:.3f} s), the two calls {r['needed']:.3f} s, sixteen calls "
              f"{r['sixteen']:.3f} s: ratio {r['remove-all'] / r['needed']:.3f}")

    def pick(key, choose):
        return choose([r[key] for r in rounds.values()])
    commands = [("empty", "cmd.exe with an empty batch file"),
                ("version", "remedor-cli --version"),
                ("c-floor", "a bare console program"),
                ("qt-floor", "a bare static Qt Core program"),
                ("dry-run", "remedor-cli remove --all --dry-run"),
                ("remove-all", "remedor-cli remove --all"),
                ("installers", "  its two installers, as it times them"),
                ("needed", "the two msiexec /X calls it needs"),
                ("sixteen", "sixteen msiexec /X calls, one per package")]
    print(f"  {'ms, ' + str(len(rounds)) + ' rounds':<48} {'median':>7} {'fastest':>8}")
    commands = [(key, text) for key, text in commands if all(key in r for r in rounds.values())]
    for key, text in commands:
        print(f"  {text:<48} {pick(key, statistics.median) * 1e3:7.0f} {pick(key, min) * 1e3:8.0f}")

    ratios = sorted(r["remove-all"] / r["needed"] for r in rounds.values())
    ratio = statistics.median(ratios)
    fastest = pick("remove-all", min) / pick("needed", min)
    print(f"  remove --all / the two calls: {ratio:.3f} (median of the rounds' ratios, range "
          f"{ratios[0]:.3f} to {ratios[-1]:.3f}); fastest against fastest {fastest:.3f}  "
          f"goal <= {goal:.2f}: {verdict(ratio, goal)}")
    sixteen = pick("sixteen", statistics.median) / pick("needed", statistics.median)
    print(f"  today's figure, sixteen calls: {sixteen:.2f} x the two calls (medians); "
          f"remove --all takes {statistics.median(r['remove-all'] / r['sixteen'] for r in rounds.values()):.0%} "
          f"of their time")
    for name, choose in (("medians", statistics.median), ("fastest", min)):
        shell, version, dry_run = pick("empty", choose), pick("version", choose), pick("dry-run", choose)
        own = pick("remove-all", choose) - pick("installers", choose) - shell
        print(f"  remove --all beyond cmd.exe and its installers ({name}): {own * 1e3:.0f} ms, of which "
              f"start and exit {(version - shell) * 1e3:.0f} ms (--version), reading the machine "
              f"{(dry_run - version) * 1e3:.0f} ms (--dry-run beyond --version)")
    if floor_goal is None or not all("qt-floor" in r for r in rounds.values()):
        return
    # Its own time: beyond the two calls it needs; the floors beyond cmd.exe, each per round.
    own = [r["remove-all"] - r["needed"] for r in rounds.values()]
    print(f"  remove --all beyond the two calls: {statistics.median(own) * 1e3:.0f} ms (median), "
          f"--version beyond cmd.exe {pick('version', statistics.median) * 1e3 - pick('empty', statistics.median) * 1e3:.0f} ms")
    for key, text in (("qt-floor", "the bare Qt Core program"), ("c-floor", "the bare console program")):
        ratios = sorted((r["remove-all"] - r["needed"]) / (r[key] - r["empty"]) for r in rounds.values())
        floor = statistics.median(r[key] - r["empty"] for r in rounds.values())
        line = (f"  ... against {text} ({floor * 1e3:.0f} ms beyond cmd.exe): "
                f"{statistics.median(ratios):.2f} x (median of the rounds' ratios)")
        if key == "qt-floor":
            line += f"  goal <= {floor_goal:.2f}: {verdict(statistics.median(ratios), floor_goal)}"
        print(line)


def profiles(goal, times_file):
    times = {}
    with open(times_file) as f:
        for line in f:
            round_number, kind, count, microseconds = line.split()
            times.setdefault((kind, int(count)), {})[round_number] = int(microseconds)
    counts = sorted({count for _, count in times if count > 0})
    per_profile = {}
    for kind in ("real", "dry"):
        for count in counts:
            # Beyond the same run without profiles, measured in the same round.
            costs = [(us - times[(kind, 0)][r]) / count / 1000
                     for r, us in times[(kind, count)].items()]
            per_profile[(kind, count)] = statistics.median(costs)
            whole = statistics.median(times[(kind, count)].values()) / 1000
            print(f"  {kind:4} run, {count:5} profiles: {whole:8.1f} ms in all (median of "
                  f"{len(costs)}), {per_profile[(kind, count)]:.3f} ms per profile beyond the "
                  f"run without profiles ({statistics.median(times[(kind, 0)].values()) / 1000:.1f} ms)")
    for kind in ("real", "dry"):
        ratio = per_profile[(kind, counts[-1])] / per_profile[(kind, counts[0])]
        print(f"  {kind} run: per profile at {counts[-1]} against {counts[0]}: ratio {ratio:.3f}"
              f" (goal <= {goal:.2f}: {verdict(ratio, goal)})")
    for count in counts:
        ratio = per_profile[("dry", count)] / per_profile[("real", count)]
        print(f"  dry run against real run per profile at {count}: ratio {ratio:.3f}")


def main():
    kind, goal, *files = sys.argv[1:]
    if kind == "startup":
        goals = dict(item.split("=") for item in goal.split(","))
        startup({name: float(value) for name, value in goals.items()}, files)
        return
    if kind == "startup-wine":
        startup({"shared": float(goal)}, files, "static")
        return
    goal, _, floor_goal = goal.partition(":")
    goal, floor_goal = float(goal), float(floor_goal) if floor_goal else None
    if kind == "memory":
        memory(goal, *files)
    elif kind == "registry":
        registry(goal, files[0])
    elif kind == "cli":
        cli(goal, files[0], files[1:])
    elif kind == "wine-cli":
        wine_cli(goal, files[0], files[1:], floor_goal)
    elif kind == "profiles":
        profiles(goal, files[0])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
