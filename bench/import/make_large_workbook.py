"""Writes the benchmark's workbook with python3-xlwt: one sheet of ROWS data
rows under a header, COLUMNS columns cycling through the kinds of values a
real sheet holds (whole and decimal numbers, texts, dates, datetimes,
booleans, a column with gaps).

usage: make_large_workbook.py PATH ROWS COLUMNS
"""
import datetime
import sys

import xlwt


def main(path, rows, columns):
    wb = xlwt.Workbook(encoding='utf-8')
    sheet = wb.add_sheet('Data')
    date_style = xlwt.easyxf(num_format_str='YYYY-MM-DD')
    stamp_style = xlwt.easyxf(num_format_str='YYYY-MM-DD HH:MM:SS')
    for c in range(columns):
        sheet.write(0, c, 'Column %d' % (c + 1))
    start = datetime.date(2000, 1, 1)
    for r in range(1, rows + 1):
        row = sheet.row(r)
        for c in range(columns):
            kind = c % 8
            if kind == 0:
                row.set_cell_number(c, r)
            elif kind == 1:
                row.set_cell_number(c, r * 1.25)
            elif kind == 2:
                row.set_cell_text(c, 'Text %d é' % r)
            elif kind == 3:
                row.write(c, start + datetime.timedelta(days=r % 9000), date_style)
            elif kind == 4:
                row.set_cell_boolean(c, r % 2 == 0)
            elif kind == 5:
                row.write(c, datetime.datetime(2003, 7, 15, r % 24, r % 60, r % 60), stamp_style)
            elif kind == 6:
                row.set_cell_text(c, 'Category %d' % (r % 17))
            elif r % 3:
                row.set_cell_number(c, -r / 7.0)
        if r % 4096 == 0:
            sheet.flush_row_data()
    wb.save(path)


if __name__ == '__main__':
    main(sys.argv[1], int(sys.argv[2]), int(sys.argv[3]))
