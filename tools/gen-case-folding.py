#!/usr/bin/env python3
"""Writes src/base/CaseFoldTable.inc: the letters whose case the program's
case-blind comparisons fold, as runs of (first, last, step, delta).

A letter folds to its upper case where that is one code point, as the
system's ordinal comparison that ignores case does (so final sigma meets
sigma and capital sigma). Letters whose upper case is ASCII while they are
not (dotless i, long s) are left alone: texts in ASCII compare as they
always did. Run from the repository's root:  tools/gen-case-folding.py
"""
import sys
import unicodedata

pairs = []
for code in range(0x80, 0x20000):
    ch = chr(code)
    if unicodedata.category(ch) == "Cn":
        continue
    upper = ch.upper()
    if len(upper) != 1 or upper == ch or ord(upper) < 0x80:
        continue
    pairs.append((code, ord(upper) - code))

runs = []  # [first, last, step, delta]
for code, delta in pairs:
    if runs:
        first, last, step, d = runs[-1]
        if d == delta and (code - last == step or (first == last and code - last in (1, 2))):
            runs[-1] = [first, code, code - last if first == last else step, d]
            continue
    runs.append([code, code, 1, delta])

out = ["// Made by tools/gen-case-folding.py from Python %s's Unicode %s data: do not edit."
       % (sys.version.split()[0], unicodedata.unidata_version),
       "// {first, last, step, delta}: from first to last in steps of step, a letter",
       "// folds to itself + delta."]
for first, last, step, delta in runs:
    out.append("{0x%04X, 0x%04X, %d, %d}," % (first, last, step, delta))
open("src/base/CaseFoldTable.inc", "w").write("\n".join(out) + "\n")
print("%d letters in %d runs" % (len(pairs), len(runs)))
