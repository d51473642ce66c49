"""Writes the dBase tables the import tests read, with python3-dbf.

usage: make_dbf_tables.py OUTPUT_FOLDER

Folders written:
  mixed/   people.dbf  dBase III with a .dbt memo, code page 866 (Russian)
           ORDERS.DBF  Visual FoxPro with every field type python3-dbf knows,
                       an .fpt memo, code page 1252
           fox.dbf     FoxPro 2 with an .fpt memo, code page 850
           clip.dbf    Clipper: a 300-character field, code page 437
           nulls.dbf   Visual FoxPro, every field nullable
  single/  only.dbf    dBase III without memo
Each table has deleted rows; the expected rows are in the tests.
"""
import datetime
import decimal
import os
import sys

import dbf


def table(path, fields, kind, codepage, rows, deleted=()):
    t = dbf.Table(path, fields, dbf_type=kind, codepage=codepage)
    t.open(dbf.READ_WRITE)
    for row in rows:
        t.append(row)
    for index in deleted:
        dbf.delete(t[index])
    t.close()


def mixed(folder):
    os.makedirs(folder, exist_ok=True)
    table(os.path.join(folder, 'people.dbf'),
          'name C(20); age N(3,0); salary N(10,2); born D; member L; notes M', 'db3', 'cp866', [
              ('Иван Петров', 42, 1234.5, datetime.date(1961, 4, 12), True, 'Первая строка\r\nвторая'),
              ('Deleted', 1, 1, datetime.date(2000, 1, 1), False, 'gone'),
              ('Пустой', None, None, None, None, ''),
              ('Anna', 7, -0.25, datetime.date(2003, 7, 15), False, 'x' * 1500),
          ], deleted=[1])
    table(os.path.join(folder, 'ORDERS.DBF'),
          'item C(15); qty N(12,0); big N(12,0); price N(9,2); ratio F(10,3); placed D; stamp T; paid L;'
          ' note M; count I; money Y; weight B; blob G',
          'vfp', 'cp1252', [
              ('Café crème', 3, 9876543210, 12.5, 0.125, datetime.date(2003, 7, 15),
               datetime.datetime(2003, 7, 15, 14, 35, 59), True, 'Grüße – €', -2147483647,
               decimal.Decimal('1234.5678'), 2.5, b'\x00\x01\x02'),
              ('Deleted', 0, 0, 0, 0, None, None, False, '', 0, 0, 0, b''),
              ('Thé', 0, -5, -1.5, 100, datetime.date(1899, 12, 31),
               datetime.datetime(1999, 12, 31, 23, 59, 59), False, '', 2147483646,
               decimal.Decimal('-0.0001'), -1e300, b''),
          ], deleted=[1])
    table(os.path.join(folder, 'fox.dbf'),
          'code C(8); amount N(8,3); weight F(12,4); day D; ok L; text M', 'fp', 'cp850', [
              ('Ünïcödé', 1.5, 2.25, datetime.date(2020, 2, 29), True, 'mémo ½'),
              ('second', None, None, None, False, None),
          ])
    table(os.path.join(folder, 'clip.dbf'), 'wide C(300); whole N(19,0)', 'clp', 'cp437', [
        ('é' * 299 + '!', 1234567890123456789),
    ])
    table(os.path.join(folder, 'nulls.dbf'),
          'a C(5) null; b N(5,0) null; c D null; d L null; e M null; f T null; g I null; h B null',
          'vfp', 'cp1252', [
              ('x', None, None, None, None, None, None, None),
              (None, 5, datetime.date(2000, 1, 1), True, 'memo', datetime.datetime(2000, 1, 1, 1, 2, 3), 9, 1.5),
          ])


def single(folder):
    os.makedirs(folder, exist_ok=True)
    table(os.path.join(folder, 'only.dbf'), 'name C(10); n N(5,0)', 'db3', 'cp1252', [
        ('one', 1), ('two', 2), ('three', 3)], deleted=[1])


if __name__ == '__main__':
    out = sys.argv[1]
    mixed(os.path.join(out, 'mixed'))
    single(os.path.join(out, 'single'))
