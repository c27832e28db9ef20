#!/usr/bin/env python3
"""Data sets of the benchmark matrix, the same bytes for the same seed.

  gen_matrix.py KIND COUNT OUT

Every record ends with CR LF (GP data: LF alone), so that GNU sort sees one
line per record. Binary key fields (INT, PD, FL) never hold a line feed; each
carries its value as decimal text too, which is the key GNU sort is given.
A file is rewritten only when it is missing.

Kinds (record length in bytes):
  rand      100: 10 printable bytes at 1 (blanks included), filler
  sorted    as rand, in key order;  reverse: in descending key order
  few       100: one of 8 codes at 1-3, 6 random bytes at 4-9, filler
  multi     100: 8 codes at 1-3, 10 at 11-12, 5 digits at 14-18, 8 bytes at 20-27
  prefix    100: a 22-byte constant, then 8 random digits (key 1-30)
  alpha     100: 12 letters of mixed case at 1
  num       100: a signed decimal number right-aligned in 1-12
  zd        100: 9 zero-padded digits at 1
  int       100: INT (4 bytes, little-endian) at 1, its value as text at 5-16
  pd        100: PD (5 bytes) at 1, its value as text at 6-17
  fl        100: FL (8-byte double, little-endian) at 1, its value at 9-33
  fix16     16:  6 printable bytes at 1
  fix4096   4096: 10 printable bytes at 1
  txt       20 to 160: lines of printable bytes ending CR LF, key 1-10
  gp        as txt, ending LF
"""
import os
import random
import struct
import sys

SEED = 20261209
PRINTABLE = bytes(range(0x20, 0x7F))
LETTERS = b"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
CODES = [b"ALB", b"BRA", b"CAN", b"DEN", b"EGY", b"FIN", b"GER", b"HUN"]


def table(alphabet):
    return bytes(alphabet[b % len(alphabet)] for b in range(256))


class Gen:
    def __init__(self, kind):
        self.rng = random.Random(SEED + sum(kind.encode()))
        self.printable = table(PRINTABLE)
        self.letters = table(LETTERS)
        self.digits = table(b"0123456789")
        self.pool = self.rng.randbytes(8192).translate(self.printable)
        self.at = 0

    def text(self, n, alphabet=None):
        return self.rng.randbytes(n).translate(alphabet or self.printable)

    def filler(self, n):
        self.at = (self.at + 37) % 4000
        return self.pool[self.at:self.at + n]


def no_newline(value_bytes):
    return b"\n" not in value_bytes


def packed(value, width=5):
    digits = "%0*d" % (2 * width - 1, abs(value))
    nibbles = [int(d) for d in digits] + [0xD if value < 0 else 0xC]
    return bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, len(nibbles), 2))


def records(kind, count):
    g = Gen(kind)
    r = g.rng
    crlf = b"\r\n"
    if kind in ("rand", "sorted", "reverse"):
        for _ in range(count):
            yield g.text(10) + g.filler(88) + crlf
    elif kind == "few":
        for _ in range(count):
            yield r.choice(CODES) + g.text(6) + g.filler(89) + crlf
    elif kind == "multi":
        for _ in range(count):
            yield (r.choice(CODES) + g.filler(7) + b"%02d" % r.randrange(10) + b" " +
                   b"%05d" % r.randrange(100000) + b" " + g.text(8) + g.filler(71) + crlf)
    elif kind == "prefix":
        for _ in range(count):
            yield b"ACCOUNT/2026/REGION-00" + g.text(8, g.digits) + g.filler(68) + crlf
    elif kind == "alpha":
        for _ in range(count):
            yield g.text(12, g.letters) + g.filler(86) + crlf
    elif kind == "num":
        for _ in range(count):
            yield b"%12.2f" % (r.randrange(-10**9, 10**9) / 100) + g.filler(86) + crlf
    elif kind == "zd":
        for _ in range(count):
            yield g.text(9, g.digits) + g.filler(89) + crlf
    elif kind == "int":
        while count:
            v = r.randrange(-2**31, 2**31)
            b = struct.pack("<i", v)
            if no_newline(b):
                count -= 1
                yield b + b"%12d" % v + g.filler(82) + crlf
    elif kind == "pd":
        for _ in range(count):
            v = r.randrange(-10**9 + 1, 10**9)
            if v == 0:
                v = 1
            yield packed(v) + b"%12d" % v + g.filler(81) + crlf
    elif kind == "fl":
        while count:
            v = r.uniform(-1e6, 1e6) * 10 ** r.randrange(-6, 6)
            b = struct.pack("<d", v)
            if no_newline(b):
                count -= 1
                yield b + (b"%.17g" % v).rjust(25) + g.filler(65) + crlf
    elif kind == "fix16":
        for _ in range(count):
            yield g.text(6) + g.filler(8) + crlf
    elif kind == "fix4096":
        for _ in range(count):
            yield g.text(10) + g.filler(4000) + g.filler(84) + crlf
    elif kind in ("txt", "gp"):
        end = crlf if kind == "txt" else b"\n"
        for _ in range(count):
            yield g.text(10) + g.filler(r.randrange(8, 148)) + end
    else:
        sys.exit("unknown kind " + kind)


def main():
    kind, count, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    if os.path.exists(path):
        return
    recs = records(kind, count)
    if kind in ("sorted", "reverse"):
        recs = sorted(recs, key=lambda rec: rec[:10], reverse=(kind == "reverse"))
    with open(path + ".tmp", "wb") as out:
        batch = []
        for rec in recs:
            batch.append(rec)
            if len(batch) == 50000:
                out.write(b"".join(batch))
                batch = []
        out.write(b"".join(batch))
    os.replace(path + ".tmp", path)


if __name__ == "__main__":
    main()
