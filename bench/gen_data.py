#!/usr/bin/env python3
"""Generates the benchmark data sets, the same bytes for the same seed.

  gen_data.py fixed COUNT OUT    COUNT records of 100 bytes: a 10-byte key of
                                 printable bytes (blanks included) at 1,
                                 filler, CR LF at 99-100
  gen_data.py films COUNT OUT    a catalogue master file of COUNT 649-byte
                                 film records: realistic titles with
                                 duplicates, mixed formats, some deleted
  gen_data.py altseq OUT         a collating table file for ALTSEQ(...)

The seed is fixed (SEED below); a file is rewritten only when it is missing
or its length is not what COUNT asks for.
"""
import os
import random
import sys

SEED = 20240610
PRINTABLE = bytes(range(0x20, 0x7F))  # 95 bytes, blank included


def printable_table():
    # Maps every byte value onto a printable byte (a slight bias is harmless).
    return bytes(PRINTABLE[b % len(PRINTABLE)] for b in range(256))


def write_fixed(count, path):
    rng = random.Random(SEED)
    table = printable_table()
    filler_pool = rng.randbytes(4096).translate(table)
    chunk = 100_000
    with open(path + ".tmp", "wb") as out:
        done = 0
        while done < count:
            n = min(chunk, count - done)
            keys = rng.randbytes(10 * n).translate(table)
            parts = []
            for i in range(n):
                f = (done + i) * 37 % 4000
                parts.append(keys[10 * i:10 * i + 10] + filler_pool[f:f + 88] + b"\r\n")
            out.write(b"".join(parts))
            done += n
    os.replace(path + ".tmp", path)


WORDS = (
    "Love Night Day Man Woman City Dark Last Lost Blue Red Black White Star War "
    "Girl Boy King Queen Dead Return Blood Fire Ice Time Heart Dream Death Life "
    "Secret House River Road Moon Sun Island Shadow Storm Silent Wild Golden Big "
    "Little Great Deadly Midnight Summer Winter Angel Devil Ghost Hunter Killer "
    "Stranger Kiss Rain Sea Wind Sky Home Street Journey Legend Empire Escape "
    "Promise Memory Edge Point Game Money Power Glory Honor Justice Paradise "
    "Hell Heaven Train Ship Castle Garden Mountain Desert Forest Valley Town "
    "Music Dance Song Mask Mirror Window Door Key Letter Diary Story Tale"
).split()
ARTICLES = ["The ", "The ", "The ", "A ", "An ", "", "", "", "", "", "", ""]
CONNECTORS = [" of the ", " and the ", " in the ", " at ", " of ", " and ", " on ", " to "]
SUFFIXES = ["", "", "", "", "", " II", " 2", " Part 2", " III", ": The Beginning",
            " (1968)", " Returns", ": Director's Cut"]
ODD_STARTS = ["'", "...", "10 ", "2001: ", "#", "(", "007 ", "1900 ", "42nd ", "8 1/2"]
FORMATS = b"DDDDLLLVVVVV "  # DVD, laser disc, VHS, none
PEOPLE = ("Smith Jones Brown Miller Davis Wilson Moore Taylor Anderson Thomas Jackson "
          "Martin Lee Walker Hall Allen Young King Wright Scott Green Baker Adams").split()
FIRST = "John Mary James Anna Robert Grace Peter Linda Paul Helen Frank Joan".split()


def make_title(rng):
    t = rng.choice(ARTICLES)
    t += rng.choice(WORDS)
    r = rng.random()
    if r < 0.55:
        t += rng.choice(CONNECTORS) + rng.choice(WORDS)
    elif r < 0.75:
        t += " " + rng.choice(WORDS)
    t += rng.choice(SUFFIXES)
    r = rng.random()
    if r < 0.03:
        t = rng.choice(ODD_STARTS) + t
    elif r < 0.05:
        t = t.lower()
    elif r < 0.06:
        t = t.upper()
    return t


def field(text, width):
    b = text.encode("latin-1")[:width]
    return b + b" " * (width - len(b))


WIDTHS = [40, 30, 30, 30, 30, 30, 30, 30, 15, 1, 1, 2, 3, 4, 5, 1, 3, 6, 30, 30, 50, 30,
          30, 30, 30, 15, 60, 5, 15, 8, 8, 15]


def person(rng):
    return rng.choice(FIRST) + " " + rng.choice(PEOPLE)


def write_films(count, path):
    rng = random.Random(SEED + 1)
    assert sum(WIDTHS) == 647
    titles = []
    blank = b" " * 647 + b"\r\n"
    with open(path + ".tmp", "wb") as out:
        parts = []
        for n in range(count):
            if rng.random() < 0.01:
                parts.append(blank)  # a deleted film
                continue
            # Duplicates: the same film in another format, or a remake.
            if titles and rng.random() < 0.25:
                title = rng.choice(titles)
            else:
                title = make_title(rng)
                titles.append(title)
            fmt = chr(rng.choice(FORMATS))
            year = str(rng.randint(1920, 2005))
            values = [title, person(rng)] + [person(rng) for _ in range(6)] + [
                rng.choice(["Columbia", "MGM/UA", "Criterion", "Warner", "Image"]), fmt,
                str(rng.randint(1, 3)), rng.choice(["DR", "CO", "WE", "MU", "HO", "SF", "  "]),
                str(rng.randint(70, 220)), year, str(n % 99999 + 1),
                rng.choice("WPT "), rng.choice(["CAV", "CLV", "   "]),
                rng.choice(["Color", "B & W"]), person(rng), person(rng),
                person(rng) + ", " + person(rng), person(rng), person(rng), person(rng),
                person(rng), rng.choice(["THX", "Dolby AC-3", "Mono", "Stereo"]),
                rng.choice(["", "Academy Award nominee", "Best Picture"]),
                rng.choice(["G", "PG", "PG-13", "R", "NR"]), "Keep case",
                "%02d/%02d/%02d" % (rng.randint(1, 12), rng.randint(1, 28), rng.randint(85, 99)),
                "%.2f" % (rng.randint(500, 9999) / 100), rng.choice(["****", "***", "**"])]
            parts.append(b"".join(field(v, w) for v, w in zip(values, WIDTHS)) + b"\r\n")
            if len(parts) >= 10000:
                out.write(b"".join(parts))
                parts = []
        out.write(b"".join(parts))
    os.replace(path + ".tmp", path)


def write_altseq(path):
    # First byte 172, 8 unused bytes, 256 weights: upper case folds lower case.
    weights = bytes((b - 32) if 0x61 <= b <= 0x7A else b for b in range(256))
    with open(path, "wb") as out:
        out.write(bytes([172]) + bytes(8) + weights)


def main():
    kind = sys.argv[1]
    if kind == "altseq":
        write_altseq(sys.argv[2])
        return
    count, path = int(sys.argv[2]), sys.argv[3]
    size = count * (100 if kind == "fixed" else 649)
    if os.path.exists(path) and os.path.getsize(path) == size:
        return
    (write_fixed if kind == "fixed" else write_films)(count, path)


if __name__ == "__main__":
    main()
