"""Writes the .xls workbooks the import tests read, with python3-xlwt.

usage: make_workbooks.py OUTPUT_FOLDER

xlwt writes formulas without a computed result; Excel stores the result it
last computed, so the writer is taught to store one (see CACHED) the way
Excel does: in the FORMULA record, a string result in a STRING record after
it (continued in a CONTINUE record when it is long).
"""
import datetime
import os
import struct
import sys

import xlwt
from xlwt import Cell

CACHED = {}  # id(xlwt.Formula) -> ('num', x) | ('str', s) | ('bool', b) | ('err', code) | ('empty',)
MAX_RECORD = 8224


def formula(text, cached):
    f = xlwt.Formula(text)
    CACHED[id(f)] = cached
    return f


def record(kind, data):
    return struct.pack('<2H', kind, len(data)) + data


def formula_cell_biff(self):
    cached = CACHED.get(id(self.frmla), ('empty',))
    tag = cached[0]
    if tag == 'num':
        result = struct.pack('<d', cached[1])
    else:
        code = {'str': 0, 'bool': 1, 'err': 2, 'empty': 3}[tag]
        value = int(cached[1]) if tag in ('bool', 'err') else 0
        result = struct.pack('<6BH', code, 0, value, 0, 0, 0, 0xFFFF)
    data = struct.pack('<3H', self.rowx, self.colx, self.xf_idx) + result
    data += struct.pack('<HL', self.calc_flags & 3, 0) + self.frmla.rpn()
    out = record(0x0006, data)
    if tag == 'str':
        chars = cached[1].encode('utf-16-le')
        body = struct.pack('<HB', len(chars) // 2, 1) + chars
        first = 3 + ((MAX_RECORD - 3) // 2) * 2
        out += record(0x0207, body[:first])
        rest = body[first:]
        while rest:
            piece = rest[:MAX_RECORD - 1]
            rest = rest[MAX_RECORD - 1:]
            out += record(0x003C, b'\x01' + piece)
    return out


Cell.FormulaCell.get_biff_data = formula_cell_biff

DATE = xlwt.easyxf(num_format_str='YYYY-MM-DD')
DATETIME = xlwt.easyxf(num_format_str='YYYY-MM-DD HH:MM:SS')
TIME = xlwt.easyxf(num_format_str='HH:MM:SS')
PERCENT = xlwt.easyxf(num_format_str='0.00%')


def write_rows(sheet, rows, styles=None):
    styles = styles or {}
    for r, row in enumerate(rows):
        for c, value in enumerate(row):
            if value is None:
                continue
            style = styles.get(c)
            if isinstance(value, datetime.datetime):
                style = style or DATETIME
            elif isinstance(value, datetime.date):
                style = style or DATE
            elif isinstance(value, datetime.time):
                style = style or TIME
            if style is not None:
                sheet.write(r, c, value, style)
            else:
                sheet.write(r, c, value)


def main_workbook(path):
    wb = xlwt.Workbook(encoding='utf-8')
    people = wb.add_sheet('Sheet1')
    write_rows(people, [
        ['Name', 'Amount', 'Born', 'Stamp', 'Active', 'Mixed', None, 'Name', 'Nothing', 'Clock', 'Midnight'],
        ['Zoë', 1.5, datetime.date(2003, 7, 15), datetime.datetime(2003, 7, 15, 14, 35, 59), True, 'abc',
         'x', 'n1', None, datetime.time(14, 35, 59), datetime.datetime(2003, 7, 15)],
        ['Bob', 42, datetime.date(1900, 1, 1), datetime.datetime(1999, 12, 31, 23, 59, 59), False, 3,
         None, 'n2', None, datetime.time(0, 0, 1), datetime.date(2004, 2, 29)],
        [],
        ['Ann', -7, datetime.date(2031, 12, 31), None, True, 0.1, None, None, None, None, None],
        [None, 123456789012, None, datetime.datetime(2003, 7, 15), None, datetime.date(2003, 7, 15)],
        ['Eve', None, datetime.date(1999, 1, 2), datetime.datetime(2000, 1, 1, 0, 0, 30), False, True],
        ['Max', 1e20, None, None, None, 1e20],
    ])
    # 0.25 shown as a percentage is still a number.
    people.write(6, 1, 0.25, PERCENT)
    # A formatted cell without a value widens the sheet's stated size, not the table.
    people.write(20, 15, None, PERCENT)
    headers_only = wb.add_sheet('Données')
    write_rows(headers_only, [['Ville', 'Pays']])
    wb.add_sheet('Empty')
    formulas = wb.add_sheet('Formulas')
    long_text = 'Ω' + 'long text ' * 600
    write_rows(formulas, [['Number', 'Text', 'Flag', 'Fault', 'Day', 'Blank', 'Long']])
    formulas.write(1, 0, formula('1+1.5', ('num', 2.5)))
    formulas.write(1, 1, formula('"he"&"llo"', ('str', 'héllo')))
    formulas.write(1, 2, formula('1=1', ('bool', True)))
    formulas.write(1, 3, formula('1/0', ('err', 0x07)))
    formulas.write(1, 4, formula('DATE(2003,7,15)', ('num', 37817.0)), DATE)
    formulas.write(1, 5, formula('""', ('empty',)))
    formulas.write(1, 6, formula('REPT("x",1)', ('str', long_text)))
    formulas.write(2, 0, 7)
    formulas.write(2, 1, formula('"x"', ('str', '')))
    formulas.write(2, 2, False)
    formulas.write(2, 3, 'text')
    formulas.write(2, 4, datetime.date(2004, 1, 1), DATE)
    wb.save(path)
    with open(path + '.longtext', 'w', encoding='utf-8') as out:
        out.write(long_text)


def dates_1904_workbook(path):
    wb = xlwt.Workbook()
    wb.dates_1904 = True
    sheet = wb.add_sheet('Mac')
    write_rows(sheet, [['Day'], [datetime.date(2003, 7, 15)], [datetime.date(1904, 1, 2)]])
    wb.save(path)


def many_dates_workbook(path, rows):
    """Enough cells for a workbook stream of full 512-byte sectors."""
    wb = xlwt.Workbook()
    sheet = wb.add_sheet('Dates')
    custom = xlwt.easyxf(num_format_str='dd/mm/yyyy hh:mm')
    write_rows(sheet, [['Day', 'Stamp', 'Clock', 'Share', 'Custom']])
    for r in range(1, rows + 1):
        sheet.write(r, 0, datetime.date(2000, 1, 1) + datetime.timedelta(days=r * 37), DATE)
        sheet.write(r, 1, datetime.datetime(2003, 7, 15, r % 24, r % 60, (r * 7) % 60), DATETIME)
        sheet.write(r, 2, datetime.time(r % 24, (r * 3) % 60), TIME)
        sheet.write(r, 3, r / 1000.0, PERCENT)
        sheet.write(r, 4, datetime.datetime(1999, 12, 31, 12, 30), custom)
    wb.save(path)


def texts_workbook(path, rows):
    """Enough distinct texts for a shared-string table that runs on over
    CONTINUE records: strings split between records, compressed and not,
    some with rich-text runs that land at the start of a record."""
    wb = xlwt.Workbook(encoding='utf-8')
    sheet = wb.add_sheet('Texts')
    sheet.write(0, 0, 'Text')
    bold = xlwt.easyfont('bold true')
    texts = []
    for r in range(1, rows + 1):
        if r % 3 == 0:
            text = ('Ωμέγα %d ' % r) * (r % 7 + 1)
        else:
            text = ('plain %d ' % r) * (r % 11 + 1)
        if r % 4 == 0:
            sheet.write_rich_text(r, 0, [text[:3], (text[3:], bold)])
        else:
            sheet.write(r, 0, text)
        texts.append(text)
    wb.save(path)
    with open(path + '.texts', 'w', encoding='utf-8') as out:
        out.write('\n'.join(texts))


def large_workbook(path, rows, columns):
    wb = xlwt.Workbook()
    sheet = wb.add_sheet('Big')
    for c in range(columns):
        sheet.write(0, c, 'C%d' % c)
    for r in range(1, rows + 1):
        row = sheet.row(r)
        for c in range(columns):
            row.set_cell_number(c, r * 10 + c)
    wb.save(path)


if __name__ == '__main__':
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    main_workbook(os.path.join(out, 'main.xls'))
    dates_1904_workbook(os.path.join(out, 'dates1904.xls'))
    many_dates_workbook(os.path.join(out, 'many_dates.xls'), 400)
    texts_workbook(os.path.join(out, 'texts.xls'), 1200)
    if len(sys.argv) > 3:
        large_workbook(os.path.join(out, 'large.xls'), int(sys.argv[2]), int(sys.argv[3]))
