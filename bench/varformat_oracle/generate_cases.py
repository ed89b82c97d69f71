#!/usr/bin/env python3
"""Generates the oracle's cases: "kind<TAB>value<TAB>pattern" lines, deterministic (seeded)."""
import random
import sys

rng = random.Random(int(sys.argv[1]) if len(sys.argv) > 1 else 20261207)
out = []


def add(kind, value, pattern):
    out.append(f"{kind}\t{value}\t{pattern}")


DOUBLES = [0.0, 1.0, -1.0, 0.5, -0.5, 1.5, 2.5, -2.5, 0.125, 0.005, 1.005, 2.675, 0.075, 3.0,
           1234.5, -1234.5, 0.0049, 9.9999999, 0.17, 47.11, 1.73245, 1e-5, 1e15, 1.234e16,
           5.6789e-12, 5.6789e-11, 123456789.0, 100000.0, 499999.0, 600000.0, 1234567.0,
           0.56789, 1.0 / 81, 999999999999999.0, -0.001, 0.001, -0.4, 45000.0, 12.0,
           1234.567890123456789]
for _ in range(60):
    DOUBLES.append(round(rng.uniform(-1e6, 1e6), rng.randint(0, 6)))
    DOUBLES.append(rng.uniform(-10, 10) * 10 ** rng.randint(-8, 12))
INTS = [0, 1, -1, 17, 23, 100, 1234, -1234, 100000, 1234567, 100000000, 2147483647, -2147483648]
CURRENCIES = [0, 15000, -15000, 26750, 9, 12345000, 9223372036854775807, -123456789]

NUMERIC_PATTERNS = ["#,##0.00", "0.0", "0", "#", "#.#", "00", "0.00%", "$#.##", "$#,##0;;\\Z\\e\\r\\o",
                    "$#,##0;($#,##0)", "##0,,", "#,###,###,###", "0,000,000,000", "#,#.#", "#3",
                    "1#####0000", "#.00", ".#", "#.##", "#0.000000", "0.0000E-000", "0.0000E+000",
                    ".0000E+0", "0.00E+00", "0.00E-00", "#,##0", "$0.00", "#,##0,", "\"pos\";\"neg\"",
                    "\"pos\";\"neg\";\"zero\"", "#;-#", "0.00;-0.00;0.00;\"n/a\"", "#00##00#0", "000###",
                    "#000", "0#.0#0#0#0#0", "#0.#0#0#0#0#", "##abcdefghijklmnopqrstuvwxyz", "00\\c\\o\\p\\y",
                    "##00.0000e-0", "0.0000e+0", "0%", "#,##0.00 \"EUR\"", "(0.00)", "0/0", "0:00",
                    "Standard", "Fixed", "Percent", "Scientific", "General Number", "Yes/No",
                    "True/False", "On/Off", "Currency", ""]
PIECES = ["0", "#", ",", ".", "%", "E+", "e-", "0", "#", "00", "##", "-", " ", "\"x\"", "\\a", "(", ")", "$"]


def random_numeric():
    return "".join(rng.choice(PIECES) for _ in range(rng.randint(1, 8)))


DATE_PATTERNS = ["dd.mm.yyyy", "dd/mm/yyyy", "m/d/yy", "d-mmmm-yy", "dddd, mmm d yyyy", "hh:mm AM/PM",
                 "h:mm:ss a/p", "m/d/yy h:mm", "mm :ss:mm", "dd :mm:nn", "yyy", "hh:nn:ss A/P", "w", "ww",
                 "dddd", "mmmm", "ddd mmm", "YYYY-MM-DD", "mm:ss", "ddddd", "dddddd", "ttttt", "c",
                 "q y yy", "h:m:s", "hh:mm:ss am/pm", "hh:mm :ss:mm", "hh:dd :mm", "d.m.yy hh:nn",
                 "\"Tag\" d", "AMPM", "General Date", "Long Date", "Medium Date", "Short Date",
                 "Long Time", "Medium Time", "Short Time", "mmm", "ddd", "yyyy", "h", "n", "s", "0"]
DATE_PIECES = ["d", "dd", "ddd", "dddd", "m", "mm", "mmm", "mmmm", "yy", "yyyy", "h", "hh", "n", "nn",
               "s", "ss", "w", "ww", "q", "y", ".", "/", ":", " ", "-", "AM/PM", "a/p"]


def random_date():
    return "".join(rng.choice(DATE_PIECES) for _ in range(rng.randint(1, 6)))


DATES = [0.0, 0.5, 0.25, 46363.0, 46363.604224537, 1.0, -1.0, -49192.24, 21435.8684606481, 36891.0,
         35822.0, 45000.0, 12.0, 2.0, 367.0, 46037.0, 46024.0, 46025.0, 2958465.0, -657434.0]
for _ in range(40):
    DATES.append(round(rng.uniform(-10000, 60000), rng.choice([0, 0, 3, 8])))

TEXTS = ["testing", "HELLO", "This is it", "", "6,90", "1234.5", "abc", "12-11", "39697.11", "2026-12-07",
         "07.12.2026", "1.234,50", "-12", "12:30", "3 Dez 2026"]
TEXT_PATTERNS = ["@", "@@@@@@@@", "\\x@\\x@", "&&&&&&&&", ">&&", "<&>&", "<", ">", "@;\"(leer)\"", "!@@@@@@@@@@",
                 "###,##0.00", "#,##0.00", "0.00", "dd-mm", "mm-dd-yy", "dd.mm.yyyy", "hh:mm", "0"]

for v in DOUBLES:
    for p in NUMERIC_PATTERNS:
        add("R8", repr(v), p)
    for _ in range(4):
        add("R8", repr(v), random_numeric())
for v in INTS:
    for p in NUMERIC_PATTERNS:
        add("I4", v, p)
for v in CURRENCIES:
    for p in NUMERIC_PATTERNS:
        add("CY", v, p)
for v in DATES:
    for p in DATE_PATTERNS:
        add("DATE", repr(v), p)
    for _ in range(6):
        add("DATE", repr(v), random_date())
for v in TEXTS:
    for p in TEXT_PATTERNS:
        add("BSTR", v, p)
for p in ["", "0", "0.00", "@", "0.00;-0.00;0.00;\"n/a\"", "@;\"(leer)\"", "dd.mm.yyyy"]:
    add("NULL", "", p)
for b in ["0", "1"]:
    for p in ["", "0", "True/False", "Yes/No", "@", "dd.mm.yyyy"]:
        add("BOOL", b, p)
for v in DOUBLES[:40]:
    add("R8", repr(v), "")
for v in DATES[:20]:
    add("DATE", repr(v), "")
for v in CURRENCIES:
    add("CY", v, "")

sys.stdout.write("\n".join(out) + "\n")
