"""Writes the .xlsx workbooks the import tests read.

usage: make_xlsx_workbooks.py OUTPUT_FOLDER

main.xlsx and mac.xlsx come from python3-openpyxl. openpyxl stores formulas
without a computed result, so the cached results Excel would store are put
into the sheet's XML afterwards (see CACHED). hand.xlsx is written part by
part to reach what openpyxl never writes: inline strings, cells without a
reference or out of order, rich text with phonetic runs, _xHHHH_ escapes,
ISO date cells. The broken ones are made from these.
"""
import datetime
import os
import re
import sys
import zipfile

import openpyxl
from openpyxl.utils.datetime import CALENDAR_MAC_1904

out = sys.argv[1]
os.makedirs(out, exist_ok=True)

# cell -> the <v> Excel stores for it (and its t attribute)
CACHED = {'J2': ('n', '3'), 'J3': ('str', 'twenty'), 'J4': ('e', '#DIV/0!'), 'J5': ('b', '1')}


def main_workbook(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = 'Sheet1'
    ws.append(['Name', 'Amount', 'Born', 'Stamp', 'Active', 'Mixed', None, 'Name', 'Clock',
               'Formula', 'Custom', 'Count'])
    rows = [
        ['Zoë', 1.5, datetime.date(2003, 7, 15), datetime.datetime(2003, 7, 15, 14, 35, 59),
         True, 'abc', None, 'x', datetime.time(14, 35, 59), '=1+2', 37817, 7],
        ['Bob', 42, datetime.date(1900, 1, 1), datetime.datetime(1999, 12, 31, 23, 59, 59),
         False, 3, None, 'y', datetime.time(0, 0, 1), '="twenty"', 1, -3],
        [None, None, None, None, None, None, None, None, None, '=1/0', None, None],
        ['Last', 0.1, datetime.date(2024, 2, 29), datetime.datetime(2024, 2, 29, 0, 0, 0), True,
         True, None, None, None, '=TRUE()', 45351, 0],
    ]
    for row in rows:
        ws.append(row)
    for r in range(2, 6):
        ws.cell(r, 11).number_format = 'dd/mm/yyyy;@'
    ws['Z20'].number_format = '0.00'  # a style alone: outside the used range
    second = wb.create_sheet('Données')
    second.append(['Ville', 'Code'])
    second.append(['Zürich', 8001])
    second.append(['Genève', 1201])
    hidden = wb.create_sheet('Secret')
    hidden.sheet_state = 'hidden'
    hidden.append(['Key'])
    hidden.append(['hidden value'])
    wb.create_sheet('Empty')
    wb.save(path)
    patch_cached(path)


def patch_cached(path):
    with zipfile.ZipFile(path) as z:
        parts = {name: z.read(name) for name in z.namelist()}
    sheet = parts['xl/worksheets/sheet1.xml'].decode()
    for ref, (kind, value) in CACHED.items():
        pattern = re.compile(r'<c r="%s"([^>]*)><f>(.*?)</f><v>\s*</v></c>' % ref)
        match = pattern.search(sheet)
        assert match, ref
        attrs = re.sub(r' t="[^"]*"', '', match.group(1))
        type_attr = '' if kind == 'n' else ' t="%s"' % kind
        sheet = sheet[:match.start()] + '<c r="%s"%s%s><f>%s</f><v>%s</v></c>' % (
            ref, attrs, type_attr, match.group(2), value) + sheet[match.end():]
    parts['xl/worksheets/sheet1.xml'] = sheet.encode()
    write_parts(path, parts)


def write_parts(path, parts, method=zipfile.ZIP_DEFLATED):
    with zipfile.ZipFile(path, 'w', method) as z:
        for name, data in parts.items():
            z.writestr(name, data)


def mac_workbook(path):
    wb = openpyxl.Workbook()
    wb.epoch = CALENDAR_MAC_1904
    ws = wb.active
    ws.append(['When'])
    ws.append([datetime.date(2003, 7, 15)])
    ws.append([datetime.date(1904, 1, 2)])
    wb.save(path)


CONTENT_TYPES = b'''<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
</Types>'''
ROOT_RELS = b'''<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="/book/main.xml"/>
</Relationships>'''
BOOK = b'''<?xml version="1.0" encoding="UTF-8"?>
<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<x:sheets><x:sheet name="Hand" sheetId="1" r:id="rA"/><x:sheet name="Chart" sheetId="2" r:id="rC"/><x:sheet name="Veiled" sheetId="3" state="veryHidden" r:id="rB"/></x:sheets>
</x:workbook>'''
BOOK_RELS = b'''<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rA" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="sheets/../sheets/a.xml"/>
<Relationship Id="rB" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="sheets/b.xml"/>
<Relationship Id="rC" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartsheet" Target="charts/c.xml"/>
<Relationship Id="rS" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="strings.xml"/>
<Relationship Id="rT" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>
</Relationships>'''
STRINGS = '''<?xml version="1.0" encoding="UTF-8"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<si><t>Label</t></si>
<si><r><t>rich </t></r><r><rPr><b/></rPr><t>text</t></r><rPh><t>ふりがな</t></rPh></si>
<si><t>line_x000D_
break_x005F_x0041_</t></si>
</sst>'''.encode()
STYLES = b'''<?xml version="1.0" encoding="UTF-8"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<numFmts count="1"><numFmt numFmtId="170" formatCode="[$-409]h:mm AM/PM"/></numFmts>
<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>
<cellXfs count="3"><xf numFmtId="0"/><xf numFmtId="170"/><xf numFmtId="22"/></cellXfs>
</styleSheet>'''
SHEET_A = b'''<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<dimension ref="A1:Z999"/>
<sheetData>
<row r="1"><c t="s"><v>0</v></c><c t="inlineStr"><is><t>Inline</t></is></c><c r="C1" t="str"><v>Time</v></c><c t="s"><v>2</v></c><c t="inlineStr"><is><t>Stamp</t></is></c></row>
<row r="3"><c r="B3" t="inlineStr"><is><r><t>in</t></r><r><t>line</t></r></is></c><c r="A3" t="s"><v>1</v></c><c r="C3" s="1"><v>0.75</v></c><c r="D3" t="e"><v>#N/A</v></c><c r="E3" t="d"><v>2003-07-15T14:35:59</v></c></row>
<row><c t="n"><v> 7 </v></c><c/><c s="1"><v>0.5</v></c><c s="0"/><c t="d" s="2"><v>2003-07-16</v></c></row>
<row r="2"><c r="A2" t="s"><v>2</v></c><c r="A2" t="inlineStr"><is><t>second wins</t></is></c></row>
</sheetData>
</worksheet>'''
SHEET_B = b'''<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData/></worksheet>'''


def hand_parts():
    return {'[Content_Types].xml': CONTENT_TYPES, '_rels/.rels': ROOT_RELS,
            'book/main.xml': BOOK, 'book/_rels/main.xml.rels': BOOK_RELS,
            'book/strings.xml': STRINGS, 'book/styles.xml': STYLES,
            'book/sheets/a.xml': SHEET_A, 'book/sheets/b.xml': SHEET_B}


def broken(name, change):
    parts = hand_parts()
    change(parts)
    write_parts(os.path.join(out, name), parts)


main_workbook(os.path.join(out, 'main.xlsx'))
mac_workbook(os.path.join(out, 'mac.xlsx'))
write_parts(os.path.join(out, 'hand.xlsx'), hand_parts())

with open(os.path.join(out, 'main.xlsx'), 'rb') as f:
    whole = f.read()
with open(os.path.join(out, 'cut.xlsx'), 'wb') as f:
    f.write(whole[:len(whole) // 2])
with open(os.path.join(out, 'text.xlsx'), 'wb') as f:
    f.write(b'Name,Amount\nZoe,1\n')
broken('noworkbook.xlsx', lambda p: p.pop('book/main.xml'))
broken('notabook.xlsx', lambda p: p.__setitem__('book/main.xml', b'<html><body/></html>'))
broken('badxml.xlsx', lambda p: p.__setitem__('book/sheets/a.xml', SHEET_A[:300]))
broken('doctype.xlsx', lambda p: p.__setitem__(
    'book/strings.xml', b'<?xml version="1.0"?><!DOCTYPE sst [<!ENTITY a "aaaa">]><sst>&a;</sst>'))
broken('wide.xlsx', lambda p: p.__setitem__('book/sheets/b.xml', SHEET_B.replace(
    b'<sheetData/>', b'<sheetData><row r="1"><c r="XFE1"><v>1</v></c></row></sheetData>')))
broken('tall.xlsx', lambda p: p.__setitem__('book/sheets/b.xml', SHEET_B.replace(
    b'<sheetData/>', b'<sheetData><row r="1048577"><c><v>1</v></c></row></sheetData>')))
broken('badstring.xlsx', lambda p: p.__setitem__('book/sheets/b.xml', SHEET_B.replace(
    b'<sheetData/>', b'<sheetData><row><c t="s"><v>9</v></c></row></sheetData>')))
# 600 MiB of blanks inside a sheet, a few hundred KiB packed.
broken('bomb.xlsx', lambda p: p.pop('book/sheets/b.xml'))
with zipfile.ZipFile(os.path.join(out, 'bomb.xlsx'), 'a', zipfile.ZIP_DEFLATED) as z:
    with z.open('book/sheets/b.xml', 'w', force_zip64=True) as sheet:
        sheet.write(b'<worksheet><sheetData>')
        blanks = b' ' * (1 << 20)
        for _ in range(600):
            sheet.write(blanks)
        sheet.write(b'</sheetData></worksheet>')
