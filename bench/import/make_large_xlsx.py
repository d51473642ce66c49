"""Writes the benchmark's .xlsx workbook with python3-openpyxl (write-only
mode): one sheet of ROWS data rows under a header, COLUMNS columns cycling
through whole and decimal numbers, texts (shared strings), dates,
datetimes, booleans and a column with gaps.

usage: make_large_xlsx.py PATH ROWS COLUMNS
"""
import datetime
import sys

import openpyxl
from openpyxl.cell import WriteOnlyCell


def main(path, rows, columns):
    wb = openpyxl.Workbook(write_only=True)
    sheet = wb.create_sheet('Data')
    sheet.append(['Column %d' % (c + 1) for c in range(columns)])
    start = datetime.datetime(2000, 1, 1)
    for r in range(1, rows + 1):
        row = []
        for c in range(columns):
            kind = c % 8
            if kind == 0:
                row.append(r)
            elif kind == 1:
                row.append(r * 1.25)
            elif kind == 2:
                row.append('Name %d' % (r % 5000))
            elif kind == 3:
                row.append((start + datetime.timedelta(days=r % 9000)).date())
            elif kind == 4:
                row.append(start + datetime.timedelta(seconds=r * 37))
            elif kind == 5:
                row.append(r % 2 == 0)
            elif kind == 6:
                row.append(None if r % 3 == 0 else 'gap %d' % r)
            else:
                row.append(r % 1000)
        sheet.append(row)
    wb.save(path)


if __name__ == '__main__':
    main(sys.argv[1], int(sys.argv[2]), int(sys.argv[3]))
