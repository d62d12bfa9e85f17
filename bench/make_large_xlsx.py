#!/usr/bin/env python3
"""Writes a large synthetic lump workbook for the read benchmarks (standard library only).

make_large_xlsx.py [--rows N] [--cols C] [--seed S] [--inline] OUT.xlsx|OUT.ods|OUT.csv

Row 1 holds texts (shared strings in xlsx); rows 2 to N+1 hold the lump number in column A and
C-1 numbers with two or three decimals, as lump data look. The format follows OUT's extension.
--inline writes the xlsx as XlsxWriter's constant-memory mode does: texts as inline strings, no
shared strings part, rows with spans and a styles part.
"""
import argparse
import random
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"


def col_name(c):
    s = ""
    while c:
        c, r = divmod(c - 1, 26)
        s = chr(65 + r) + s
    return s


def values(rows, cols, seed):
    rnd = random.Random(seed)
    for r in range(1, rows + 1):
        yield [str(r)] + ["%.*f" % (rnd.choice((2, 3)), rnd.uniform(0, 500)) for _ in range(cols - 1)]


def headers(cols):
    return ["№", "Масса"] + ["Содержание %d" % k for k in range(1, cols - 1)]


def write_xlsx(path, rows, cols, seed, inline=False):
    names = [col_name(c) for c in range(1, cols + 1)]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        z.writestr("[Content_Types].xml",
                   '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                   '<Default Extension="xml" ContentType="application/xml"/></Types>')
        z.writestr("_rels/.rels", '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/officeDocument" '
                   'Target="xl/workbook.xml"/></Relationships>' % (PKG, REL))
        z.writestr("xl/workbook.xml", '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="Проба" sheetId="1" '
                   'r:id="rId1"/></sheets></workbook>' % (MAIN, REL))
        second = ("styles", "styles.xml") if inline else ("sharedStrings", "sharedStrings.xml")
        z.writestr("xl/_rels/workbook.xml.rels",
                   '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/>'
                   '<Relationship Id="rId2" Type="%s/%s" Target="%s"/></Relationships>'
                   % ((PKG, REL, REL) + second))
        heads = headers(cols)
        if inline:
            write_inline_sheet(z, names, heads, rows, cols, seed)
            return
        z.writestr("xl/sharedStrings.xml", '<sst xmlns="%s" count="%d" uniqueCount="%d">%s</sst>'
                   % (MAIN, cols, cols, "".join("<si><t>%s</t></si>" % h for h in heads)))
        with z.open("xl/worksheets/sheet1.xml", "w", force_zip64=True) as f:
            f.write(('<?xml version="1.0" encoding="UTF-8" standalone="yes"?><worksheet xmlns="%s">'
                     '<dimension ref="A1:%s%d"/><sheetData>' % (MAIN, names[-1], rows + 1)).encode())
            f.write(('<row r="1">' + "".join('<c r="%s1" t="s"><v>%d</v></c>' % (n, i) for i, n in enumerate(names))
                     + "</row>").encode())
            buf = []
            for r, vals in enumerate(values(rows, cols, seed), start=2):
                buf.append('<row r="%d">%s</row>' % (r, "".join('<c r="%s%d"><v>%s</v></c>' % (n, r, v)
                                                              for n, v in zip(names, vals))))
                if len(buf) == 10000:
                    f.write("".join(buf).encode())
                    buf = []
            f.write(("".join(buf) + "</sheetData></worksheet>").encode())


def write_inline_sheet(z, names, heads, rows, cols, seed):
    z.writestr("xl/styles.xml", '<styleSheet xmlns="%s"><fonts count="1"><font><sz val="11"/></font></fonts>'
               '<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>'
               '</styleSheet>' % MAIN)
    spans = ' spans="1:%d"' % cols
    with z.open("xl/worksheets/sheet1.xml", "w", force_zip64=True) as f:
        f.write(('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<worksheet xmlns="%s" '
                 'xmlns:r="%s"><dimension ref="A1:%s%d"/><sheetViews><sheetView tabSelected="1" '
                 'workbookViewId="0"/></sheetViews><sheetFormatPr defaultRowHeight="15"/><sheetData>'
                 % (MAIN, REL, names[-1], rows + 1)).encode())
        f.write(('<row r="1"%s>' % spans + "".join('<c r="%s1" t="inlineStr"><is><t>%s</t></is></c>' % (n, h)
                                                  for n, h in zip(names, heads)) + "</row>").encode())
        buf = []
        for r, vals in enumerate(values(rows, cols, seed), start=2):
            buf.append('<row r="%d"%s>%s</row>' % (r, spans, "".join('<c r="%s%d"><v>%s</v></c>' % (n, r, v)
                                                                   for n, v in zip(names, vals))))
            if len(buf) == 10000:
                f.write("".join(buf).encode())
                buf = []
        f.write(("".join(buf) + '</sheetData><pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" '
                 'header="0.3" footer="0.3"/></worksheet>').encode())


def write_ods(path, rows, cols, seed):
    ns = ('xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
          'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
          'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"')
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.spreadsheet",
                   compress_type=zipfile.ZIP_STORED)
        with z.open("content.xml", "w", force_zip64=True) as f:
            f.write(('<office:document-content %s><office:body><office:spreadsheet><table:table table:name="Проба">'
                     % ns).encode())
            f.write(("<table:table-row>" + "".join(
                '<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>' % h
                for h in headers(cols)) + "</table:table-row>").encode())
            buf = []
            for vals in values(rows, cols, seed):
                buf.append("<table:table-row>" + "".join(
                    '<table:table-cell office:value-type="float" office:value="%s"><text:p>%s</text:p>'
                    '</table:table-cell>' % (v, v.replace(".", ",")) for v in vals) + "</table:table-row>")
                if len(buf) == 10000:
                    f.write("".join(buf).encode())
                    buf = []
            f.write(("".join(buf) + "</table:table></office:spreadsheet></office:body>"
                     "</office:document-content>").encode())


def write_csv(path, rows, cols, seed):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(";".join(headers(cols)) + "\n")
        for vals in values(rows, cols, seed):
            f.write(";".join(v.replace(".", ",") for v in vals) + "\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--rows", type=int, default=1000000)
    ap.add_argument("--cols", type=int, default=5)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--inline", action="store_true")
    ap.add_argument("out")
    a = ap.parse_args()
    ext = a.out.rsplit(".", 1)[-1].lower()
    if ext == "xlsx":
        write_xlsx(a.out, a.rows, a.cols, a.seed, a.inline)
    else:
        {"ods": write_ods, "csv": write_csv}[ext](a.out, a.rows, a.cols, a.seed)


if __name__ == "__main__":
    main()
