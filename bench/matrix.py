#!/usr/bin/env python3
"""The benchmark matrix: sorvel against GNU sort over many kinds of work.

Called by bench/matrix.sh, which builds the Release tree first. Each case
sorts one generated data set (bench/gen_matrix.py, fixed seed) with sorvel
and with GNU sort (LC_ALL=C, -s, default threads, the equivalent keys),
checks that both outputs are byte for byte the same, then times sorvel,
GNU sort and cp of the input alternately and prints medians.
"""
import argparse
import os
import statistics
import subprocess
import sys

from bench import GNU_ENV, SEP, peak_kb, remove, same_file, timed

# name, data kind, records (quick, full), sorvel command, GNU key options.
# None for the records of the quick mode: the case runs in the full mode only.
R = "RECORD(100)"
CASES = [
    ("CHA 10 A, in memory", "rand", (100_000, 100_000), "S(1,10,C,A) " + R, ["-k1.1,1.10"]),
    ("CHA 10 A", "rand", (500_000, 1_000_000), "S(1,10,C,A) " + R, ["-k1.1,1.10"]),
    ("CHA 10 D", "rand", (500_000, 1_000_000), "S(1,10,C,D) " + R, ["-k1.1,1.10r"]),
    ("CHA 10 A CORE(0)", "rand", (500_000, 1_000_000), "S(1,10,C,A) CORE(0) " + R,
     ["-k1.1,1.10"]),
    ("CHA 10 A CORE(2000)", "rand", (500_000, 1_000_000), "S(1,10,C,A) CORE(2000) " + R,
     ["-k1.1,1.10"]),
    ("few: CHA 3, 8 values", "few", (500_000, 1_000_000), "S(1,3,C,A) " + R, ["-k1.1,1.3"]),
    ("few: 2 keys, 2nd D", "few", (500_000, 1_000_000), "S(1,3,C,A,4,6,C,D) " + R,
     ["-k1.1,1.3", "-k1.4,1.9r"]),
    ("4 keys C,C D,ZD,C D", "multi", (500_000, 1_000_000),
     "S(1,3,C,A,11,2,C,D,14,5,ZD,A,20,8,C,D) " + R,
     ["-k1.1,1.3", "-k1.11,1.12r", "-k1.14,1.18n", "-k1.20,1.27r"]),
    ("shared prefix CHA 30", "prefix", (500_000, 1_000_000), "S(1,30,C,A) " + R, ["-k1.1,1.30"]),
    ("presorted", "sorted", (500_000, 1_000_000), "S(1,10,C,A) " + R, ["-k1.1,1.10"]),
    ("reverse sorted", "reverse", (500_000, 1_000_000), "S(1,10,C,A) " + R, ["-k1.1,1.10"]),
    ("ALP 12", "alpha", (500_000, 1_000_000), "S(1,12,ALP,A) " + R, ["-k1.1,1.12f"]),
    ("ALT 12, ALTSEQ", "alpha", (100_000, 1_000_000), "S(1,12,ALT,A) ALTSEQ(UPPER.ALT) " + R,
     ["-k1.1,1.12f"]),
    ("NUM 12 (-n)", "num", (500_000, 1_000_000), "S(1,12,NUM,A) " + R, ["-k1.1,1.12n"]),
    ("ZD 9 D (-n)", "zd", (500_000, 1_000_000), "S(1,9,ZD,D) " + R, ["-k1.1,1.9nr"]),
    ("INT 4 (-n on text)", "int", (500_000, 1_000_000), "S(1,4,INT,A) " + R, ["-k1.5,1.16n"]),
    ("PD 5 (-n on text)", "pd", (500_000, 1_000_000), "S(1,5,PD,A) " + R, ["-k1.6,1.17n"]),
    ("FL 8 (-g on text)", "fl", (500_000, 1_000_000), "S(1,8,FL,A) " + R, ["-k1.9,1.33g"]),
    ("FIX 16 bytes", "fix16", (1_000_000, 1_000_000), "S(1,6,C,A) RECORD(16)", ["-k1.1,1.6"]),
    ("FIX 4096 bytes", "fix4096", (12_500, 25_000), "S(1,10,C,A) RECORD(4096)", ["-k1.1,1.10"]),
    ("TXT lines CR LF", "txt", (500_000, 1_000_000), "S(1,10,C,A)", ["-k1.1,1.10"]),
    ("GP lines LF", "gp", (500_000, 1_000_000), "S(1,10,C,A) FILE(GP,(10),())", ["-k1.1,1.10"]),
    ("CHA 10 A, 5M", "rand", (None, 5_000_000), "S(1,10,C,A) " + R, ["-k1.1,1.10"]),
    ("few: 2 keys, 5M", "few", (None, 5_000_000), "S(1,3,C,A,4,6,C,D) " + R,
     ["-k1.1,1.3", "-k1.4,1.9r"]),
    ("FIX 16 bytes, 20M", "fix16", (None, 20_000_000), "S(1,6,C,A) RECORD(16)", ["-k1.1,1.6"]),
]
TARGET = 0.7


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--sorvel", required=True)
    parser.add_argument("--work", required=True, help="directory for data and outputs")
    parser.add_argument("--full", action="store_true", help="1M-record cases and the 5M/20M ones")
    parser.add_argument("--runs", type=int, default=0, help="alternating runs (3 quick, 5 full)")
    parser.add_argument("--only", default="", help="cases whose name contains this text")
    args = parser.parse_args()
    runs = args.runs or (5 if args.full else 3)
    sorvel = [os.path.abspath(args.sorvel), "-q"]
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    os.chdir(work)
    subprocess.run([sys.executable, os.path.join(here, "gen_data.py"), "altseq", "UPPER.ALT"],
                   check=True)
    print("machine: %s, %d cores; %d alternating runs; medians of wall time; %s mode" % (
        os.uname().machine, os.cpu_count(), runs, "full" if args.full else "quick"))
    print("%-22s %9s %8s %8s %7s %6s %6s %8s %5s" % (
        "case", "records", "sorvel", "GNU", "cp", "ratio", "sv/cp", "RSS sv", "load"))
    missed = []
    for name, kind, counts, command, keys in CASES:
        count = counts[1] if args.full else counts[0]
        if count is None or args.only not in name:
            continue
        data = "%s-%d.dat" % (kind, count)
        subprocess.run([sys.executable, os.path.join(here, "gen_matrix.py"), kind, str(count),
                        data], check=True)
        programs = [
            ("sorvel", sorvel + [data, "sv.out", command], None, "sv.out"),
            ("GNU", ["sort", "-s", "-t", SEP] + keys + ["-T", work, data, "-o", "gnu.out"],
             GNU_ENV, "gnu.out"),
            ("cp", ["cp", data, "cp.out"], None, "cp.out"),
        ]
        for _, argv, env, out in programs:  # warm-up and the check
            remove(out)
            timed(argv, env)
        if not same_file("sv.out", "gnu.out"):
            sys.exit("%s: sorvel and GNU sort outputs differ" % name)
        times = {label: [] for label, _, _, _ in programs}
        for _ in range(runs):
            for label, argv, env, out in programs:
                remove(out)
                times[label].append(timed(argv, env))
        remove("sv.out")
        rss = peak_kb(programs[0][1])
        m = {k: statistics.median(v) for k, v in times.items()}
        ratio = m["sorvel"] / m["GNU"]
        if ratio > TARGET:
            missed.append((name, ratio))
        print("%-22s %9d %7.3fs %7.3fs %6.3fs %6.2f %6.1f %6.1fMB %5.2f" % (
            name, count, m["sorvel"], m["GNU"], m["cp"], ratio, m["sorvel"] / m["cp"],
            rss / 1024, os.getloadavg()[0]), flush=True)
        for out in ("sv.out", "gnu.out", "cp.out"):
            remove(out)
    print()
    if missed:
        for name, ratio in missed:
            print("%-22s sorvel/GNU %.2f, target <= %.1f: NOT met" % (name, ratio, TARGET))
        return 1
    print("every case: sorvel/GNU <= %.1f" % TARGET)
    return 0


if __name__ == "__main__":
    sys.exit(main())
