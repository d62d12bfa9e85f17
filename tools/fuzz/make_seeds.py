#!/usr/bin/env python3
"""Seed corpora for the fuzz targets, from the test workbooks (standard library only).

make_seeds.py OUTDIR   writes OUTDIR/<target>/ for every target in tools/fuzz.
"""
import glob
import os
import sys
import zipfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", ".."))
DATA = os.path.join(ROOT, "tests", "data")
NUMBERS = ["0", "12,5", "-3,75", " 7,25 ", "1,5E-3", "1e308", "2,5E20", "0,333333333333333",
           "99999999999999999999", "-2147483648", "2147483647", "+1", "1.5", "abc", "", "1,2,3",
           "4,94065645841247E-324", "1E-6", "  -0  "]


def workbooks(*exts):
    out = []
    for pattern in ("workbooks/*", "workbooks/corrupt/*", "hostile/*"):
        out += [p for p in glob.glob(os.path.join(DATA, pattern))
                if os.path.isfile(p) and p.lower().endswith(exts)]
    return sorted(out)


def member(z, name):
    try:
        return z.read(name)
    except KeyError:
        return b""


def main():
    out = sys.argv[1]
    seeds = {t: [] for t in ("xlsx", "xlsx_parts", "ods", "xls", "csv", "delimited", "number")}
    for p in workbooks(".xlsx", ".ods"):
        data = open(p, "rb").read()
        if len(data) <= 1 << 20:
            seeds["xlsx"].append(data)
        if not zipfile.is_zipfile(p):
            continue
        with zipfile.ZipFile(p) as z:
            names = z.namelist()
            if "content.xml" in names:
                seeds["ods"].append(member(z, "content.xml") + b"\0" + member(z, "META-INF/manifest.xml"))
            sheets = [n for n in names if n.startswith("xl/worksheets/") and n.endswith(".xml")]
            for s in sheets[:2]:
                sheet = member(z, s)
                if len(sheet) <= 1 << 20:
                    seeds["xlsx_parts"].append(b"\0".join([sheet, member(z, "xl/sharedStrings.xml"),
                                                           member(z, "xl/styles.xml")]))
    for p in workbooks(".xls"):
        seeds["xls"].append(open(p, "rb").read())
    for p in workbooks(".csv", ".txt"):
        seeds["csv"].append(open(p, "rb").read())
        seeds["delimited"] += [bytes([k]) + seeds["csv"][-1] for k in (0, 13)]
    seeds["number"] = [n.encode() for n in NUMBERS]
    for target, items in seeds.items():
        d = os.path.join(out, target)
        os.makedirs(d, exist_ok=True)
        for i, data in enumerate(items):
            with open(os.path.join(d, "seed-%03d" % i), "wb") as f:
                f.write(data)
        print("%-11s %3d seeds" % (target, len(items)))


if __name__ == "__main__":
    main()
