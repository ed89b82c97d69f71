#!/usr/bin/env python3
"""Compares the two result files of the oracle and reports the agreement rate and every
disagreement (case, Windows' answer, ours)."""
import sys

cases, windows, ours = (open(p, encoding="utf-8").read().splitlines() for p in sys.argv[1:4])
if not (len(cases) == len(windows) == len(ours)):
    sys.exit(f"line counts differ: cases {len(cases)}, windows {len(windows)}, ours {len(ours)}")


def same(w, o):
    # Errors agree whatever their numbers (HRESULTs there, run-time error numbers here).
    return w == o or (w.startswith("ERR\t") and o.startswith("ERR\t"))


disagreements = [(c, w, o) for c, w, o in zip(cases, windows, ours) if not same(w, o)]
total = len(cases)
print(f"agreement: {total - len(disagreements)} of {total} ({100.0 * (total - len(disagreements)) / total:.2f}%)")
for c, w, o in disagreements:
    kind, value, pattern = c.split("\t", 2)
    print(f"{kind} {value!r} {pattern!r}: windows {w!r} ours {o!r}")
