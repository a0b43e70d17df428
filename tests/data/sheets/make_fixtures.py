#!/usr/bin/python3
"""Writes the spreadsheet fixtures of test_sheet_import with openpyxl (Debian: python3-openpyxl),
as an office program would save them. Run from this folder; the files are committed."""
import datetime
import io
import zipfile

import openpyxl
from openpyxl.styles import numbers

# Cases: headings, a merged look (cells left empty below a value, and really merged), case
# numbers formatted "000", a date, a range in a cell.
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "案件"
ws.append(["年度", "部署", "案件番号"])
ws.append([2024, "営業部", 1])
ws.append([None, None, 2])
ws.append([None, "総務部", 3])
ws.append([2025, "営業部", "案件[010-011]"])
ws.append([datetime.date(2025, 4, 1), "経理部"])
for row in ws.iter_rows(min_row=2, min_col=3, max_col=3):
    row[0].number_format = "000"
ws.merge_cells("A2:A4")
other = wb.create_sheet("予備")
other.append(["別", "シート"])
wb.save("cases.xlsx")

# A formula whose value was never saved (openpyxl writes none), and the same with one.
wb = openpyxl.Workbook()
ws = wb.active
ws.append(["a", "=1+1"])
wb.save("formula.xlsx")
with zipfile.ZipFile("formula.xlsx") as z:
    parts = {n: z.read(n) for n in z.namelist()}
sheet = parts["xl/worksheets/sheet1.xml"].decode()
sheet = sheet.replace("<f>1+1</f><v></v>", "<f>1+1</f><v>2</v>").replace(
    "<f>1+1</f></c>", "<f>1+1</f><v>2</v></c>")
parts["xl/worksheets/sheet1.xml"] = sheet.encode()
with zipfile.ZipFile("formula-cached.xlsx", "w", zipfile.ZIP_DEFLATED) as z:
    for n, b in parts.items():
        z.writestr(n, b)

# Cut in the middle: the zip's directory is gone.
with open("cases.xlsx", "rb") as f:
    whole = f.read()
with open("damaged.xlsx", "wb") as f:
    f.write(whole[: len(whole) // 2])

# A bomb: a sheet that inflates to 300 MiB of blanks from a few hundred kilobytes.
with zipfile.ZipFile("cases.xlsx") as z:
    parts = {n: z.read(n) for n in z.namelist()}
with zipfile.ZipFile("bomb.xlsx", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for n, b in parts.items():
        if n == "xl/worksheets/sheet1.xml":
            z.writestr(n, b"<worksheet>" + b" " * (300 << 20) + b"</worksheet>")
        else:
            z.writestr(n, b)

# A password-protected workbook is a compound file, not a zip.
with open("encrypted.xlsx", "wb") as f:
    f.write(b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(504))

# CSV as Japanese Excel saves it: code page 932, CR LF, a quoted field with a comma and one
# with a line break.
rows = ['年度,部署,案件番号', '2024,"営業部, 東",001', ',,002', '2025,"総務\r\n部",003']
with open("cases-cp932.csv", "wb") as f:
    f.write(("\r\n".join(rows) + "\r\n").encode("cp932"))

# As Excel itself saves strings: once, in the shared table, with a phonetic guide (furigana)
# that is no part of the text.
import re

with zipfile.ZipFile("cases.xlsx") as z:
    parts = {n: z.read(n) for n in z.namelist()}
sheet = parts["xl/worksheets/sheet1.xml"].decode()
strings = []


def shared(match):
    strings.append(match.group(2))
    return '<c r="%s" t="s"><v>%d</v></c>' % (match.group(1), len(strings) - 1)


sheet = re.sub(r'<c r="([A-Z]+[0-9]+)"(?: s="[0-9]+")? t="inlineStr"><is><t>(.*?)</t></is></c>',
               shared, sheet)
items = "".join(
    "<si><t>%s</t>%s</si>" % (s, '<rPh sb="0" eb="2"><t>えいぎょうぶ</t></rPh>'
                              if s == "&#21942;&#26989;&#37096;" else "")
    for s in strings)
parts["xl/worksheets/sheet1.xml"] = sheet.encode()
parts["xl/sharedStrings.xml"] = (
    '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="%d" '
    'uniqueCount="%d">%s</sst>' % (len(strings), len(strings), items)).encode()
with zipfile.ZipFile("cases-shared.xlsx", "w", zipfile.ZIP_DEFLATED) as z:
    for n, b in parts.items():
        z.writestr(n, b)
