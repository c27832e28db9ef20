#!/usr/bin/env python3
"""Runs sorvel and GNU sort side by side and prints a table of medians.

Called by bench/run.sh, which builds the Release tree first. Every benchmark
warms up once (which also fills the page cache), then runs the programs
alternately, checks that the outputs hold the same records in the same
order, and measures peak resident memory in one more run of each.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

GNU_ENV = dict(os.environ, LC_ALL="C")
SEP = "\x01"  # the -t character: no record holds it, so blanks stay in the key

TITLE_PREFIX = 'S(1,40,C,A) ALTSEQ(UPPER.ALT) OUTREC(1,40,Arrn,CRLF ) '
INDEXES = [  # name, command, selection for the check
    ("B3 titles", TITLE_PREFIX + 'Include(1,40,C,GT,"000000") Record(649)',
     lambda rec: rec[:40] > b"000000"),
    ("B3 DVD", TITLE_PREFIX + 'Include(266,1,C,EQ,"D") Record(649) ', lambda rec: rec[265:266] == b"D"),
    ("B3 laser", TITLE_PREFIX + 'Include(266,1,C,EQ,"L") Record(649) ',
     lambda rec: rec[265:266] == b"L"),
    ("B3 VHS", TITLE_PREFIX + 'Include(266,1,C,EQ,"V") Record(649) ', lambda rec: rec[265:266] == b"V"),
]


def timed(argv, env=None):
    """Wall time of one run; fails loudly when the program fails.

    Every run starts with nothing left unwritten: the runs alternate, and
    sorvel flushes its output to disk before putting it in place, so without
    the sync it would also wait for the data the program before it (GNU sort,
    cp) left in the page cache. That was up to 20 ms of a 30 ms B1 run. Each
    program still pays in full for writing, and sorvel for flushing, its own
    output."""
    os.sync()
    start = time.perf_counter()
    proc = subprocess.run(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if proc.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(argv), proc.stderr.decode(errors="replace")))
    return elapsed


def peak_kb(argv, env=None):
    """Peak resident set of one run in KiB: /usr/bin/time when present,
    otherwise the child's rusage."""
    if os.path.exists("/usr/bin/time"):
        proc = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        return int(proc.stderr.decode().strip().splitlines()[-1])
    pid = os.posix_spawnp(argv[0], argv, env if env is not None else os.environ)
    _, _, usage = os.wait4(pid, 0)
    return usage.ru_maxrss


def remove(path):
    if os.path.exists(path):
        os.unlink(path)


class Bench:
    def __init__(self, args):
        self.args = args
        self.rows = []

    def measure(self, name, programs, check):
        """programs: list of (label, argv, env, output file)."""
        runs = self.args.runs
        for _, argv, env, out in programs:  # warm-up
            remove(out)
            timed(argv, env)
        check()
        times = {label: [] for label, _, _, _ in programs}
        for _ in range(runs):
            for label, argv, env, out in programs:
                remove(out)
                times[label].append(timed(argv, env))
        memory = {}
        for label, argv, env, out in programs:
            if label in ("sorvel", "GNU sort"):
                remove(out)
                memory[label] = peak_kb(argv, env)
        load = os.getloadavg()[0]
        row = {"name": name, "median": {k: statistics.median(v) for k, v in times.items()},
               "memory": memory, "load": load}
        self.rows.append(row)
        self.print_row(row)

    def print_header(self):
        print("%-10s %9s %9s %9s %9s %7s %7s %9s %9s %5s" % (
            "bench", "sorvel", "GNU", "GNU -p1", "cp", "ratio", "r(p1)", "RSS sv", "RSS GNU", "load"))

    def print_row(self, row):
        m = row["median"]
        ratio = m["sorvel"] / m["GNU sort"]
        ratio1 = m["sorvel"] / m["GNU --parallel=1"]
        print("%-10s %8.3fs %8.3fs %8.3fs %8.3fs %7.2f %7.2f %7.1fMB %7.1fMB %5.2f" % (
            row["name"], m["sorvel"], m["GNU sort"], m["GNU --parallel=1"], m["cp"], ratio,
            ratio1, row["memory"]["sorvel"] / 1024, row["memory"]["GNU sort"] / 1024,
            row["load"]), flush=True)


def same_file(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        while True:
            x, y = fa.read(1 << 20), fb.read(1 << 20)
            if x != y:
                return False
            if not x:
                return True


def check_fixed(name, sorvel_out, gnu_out):
    # Both read the same 100-byte records (lines) and sort stably on the same
    # key: the outputs must be byte for byte the same.
    def check():
        if not same_file(sorvel_out, gnu_out):
            sys.exit("%s: sorvel and GNU sort outputs differ" % name)
    return check


def check_index(name, master, sorvel_out, gnu_out, selected):
    # sorvel writes 49-byte entries (title, record number, CR LF) for the
    # selected records; GNU sort writes every master record. Keeping the GNU
    # lines that the index selects, entry k must name the master record that
    # GNU sort put k-th among them.
    def check():
        with open(master, "rb") as f:
            records = f.read()
        size = 649
        with open(gnu_out, "rb") as f:
            gnu = f.read()
        gnu_lines = [gnu[i:i + size] for i in range(0, len(gnu), size)]
        kept = [line for line in gnu_lines if selected(line)]
        with open(sorvel_out, "rb") as f:
            index = f.read()
        entries = [index[i:i + 49] for i in range(0, len(index), 49)]
        if len(entries) != len(kept):
            sys.exit("%s: %d entries, GNU sort selects %d" % (name, len(entries), len(kept)))
        for k, (entry, line) in enumerate(zip(entries, kept)):
            number = int(entry[40:47])
            if entry[:40] != line[:40] or records[(number - 1) * size:number * size] != line:
                sys.exit("%s: entry %d differs from GNU sort's order" % (name, k + 1))
    return check


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sorvel", required=True)
    parser.add_argument("--work", required=True, help="directory for data and outputs")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--quick", action="store_true", help="B2 with 1,000,000 records")
    parser.add_argument("--only", default="", help="comma list of B1,B2,B3")
    args = parser.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))
    gen = [sys.executable, os.path.join(here, "gen_data.py")]
    work = os.path.abspath(args.work)
    args.sorvel = os.path.abspath(args.sorvel)
    os.makedirs(work, exist_ok=True)
    os.chdir(work)  # the work files and UPPER.ALT live here
    b2_count = 1_000_000 if args.quick else 5_000_000
    subprocess.run(gen + ["fixed", "120000", "b1.dat"], check=True)
    subprocess.run(gen + ["fixed", str(b2_count), "b2-%d.dat" % b2_count], check=True)
    subprocess.run(gen + ["films", "100000", "Tavlen.Dat"], check=True)
    subprocess.run(gen + ["altseq", "UPPER.ALT"], check=True)
    only = set(x.strip().upper() for x in args.only.split(",") if x.strip())

    sorvel = [os.path.abspath(args.sorvel), "-q"]
    bench = Bench(args)
    print("machine: %s, %d cores; %d alternating runs each; medians of wall time" % (
        os.uname().machine, os.cpu_count(), args.runs))
    bench.print_header()

    def fixed(name, data, command, gnu_extra):
        gnu = ["sort", "-s", "-t", SEP, "-k1.1,1.10"] + gnu_extra
        programs = [
            ("sorvel", sorvel + [data, "sv.out", command], None, "sv.out"),
            ("GNU sort", gnu + [data, "-o", "gnu.out"], GNU_ENV, "gnu.out"),
            ("GNU --parallel=1", gnu + ["--parallel=1", data, "-o", "gnu1.out"], GNU_ENV, "gnu1.out"),
            ("cp", ["cp", data, "cp.out"], None, "cp.out"),
        ]
        bench.measure(name, programs, check_fixed(name, "sv.out", "gnu.out"))

    if not only or "B1" in only:
        fixed("B1", "b1.dat", "SORT(1,10,C,A) RECORD(100) CORE(0)", [])
    if not only or "B2" in only:
        fixed("B2" + ("q" if args.quick else ""), "b2-%d.dat" % b2_count,
              "SORT(1,10,C,A) RECORD(100) CORE(0)", ["-S", "60M", "-T", work])
    if not only or "B3" in only:
        gnu = ["sort", "-s", "-t", SEP, "-k1.1,1.40"]
        for name, command, selected in INDEXES:
            programs = [
                ("sorvel", sorvel + ["Tavlen.Dat", "sv.out", command], None, "sv.out"),
                ("GNU sort", gnu + ["Tavlen.Dat", "-o", "gnu.out"], GNU_ENV, "gnu.out"),
                ("GNU --parallel=1", gnu + ["--parallel=1", "Tavlen.Dat", "-o", "gnu1.out"],
                 GNU_ENV, "gnu1.out"),
                ("cp", ["cp", "Tavlen.Dat", "cp.out"], None, "cp.out"),
            ]
            bench.measure(name, programs,
                          check_index(name, "Tavlen.Dat", "sv.out", "gnu.out", selected))

    targets = {"B1": 0.25, "B2": 0.4, "B3": 1.0}
    cp_targets = {"B2": 6.0}  # sorvel / cp
    print()
    met_all = True
    for row in bench.rows:
        limit = targets[row["name"][:2]]
        ratio = row["median"]["sorvel"] / row["median"]["GNU sort"]
        met = ratio <= limit
        met_all &= met
        print("%-10s sorvel/GNU %.2f, target <= %.2f: %s" % (row["name"], ratio, limit,
                                                            "met" if met else "NOT met"))
        cp_limit = cp_targets.get(row["name"][:2])
        if cp_limit is not None:
            to_cp = row["median"]["sorvel"] / row["median"]["cp"]
            met = to_cp <= cp_limit
            met_all &= met
            print("%-10s sorvel/cp  %.1f, target <= %.1f: %s" % (row["name"], to_cp, cp_limit,
                                                              "met" if met else "NOT met"))
    for out in ("sv.out", "gnu.out", "gnu1.out", "cp.out"):
        remove(out)
    return 0 if met_all else 1


if __name__ == "__main__":
    sys.exit(main())
