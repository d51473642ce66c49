"""Writes the CSV files the import tests read, with Python's csv module
(every quoting style) and by hand (Windows-1252, a byte-order mark, broken
files).

usage: make_csv_files.py OUTPUT_FOLDER
"""
import csv
import os
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)

HEADER = ['Name', 'Count', 'Amount', 'Day', 'Stamp', 'Paid', 'Note', '', 'name', 'Code', 'Big']
ROWS = [
    ['Zoë', '7', '1.5', '2003-07-15', '2003-07-15 14:35:59', 'true', 'says "hi", twice',
     'x', 'a', '007', '12345678901'],
    ['Bob', '-2147483648', '-3', '1900-01-01', '1999-12-31T23:59:59', 'FALSE',
     'two\nlines', '', 'b', '42', '3'],
    ['', '', '', '', '2024-02-29', '', '', '', '', '', ''],
    ['Ann', '2147483647', '2e3', '2024-02-29', '2024-02-29 00:00:00', 'False', ' spaced ',
     'y', 'c', '1', '4'],
]


def write(name, quoting, lineterminator='\r\n', delimiter=','):
    with open(os.path.join(out, name), 'w', newline='', encoding='utf-8') as f:
        writer = csv.writer(f, quoting=quoting, lineterminator=lineterminator,
                            delimiter=delimiter)
        writer.writerow(HEADER)
        writer.writerows(ROWS)


write('minimal.csv', csv.QUOTE_MINIMAL)
write('all.csv', csv.QUOTE_ALL, '\n')
write('nonnumeric.csv', csv.QUOTE_NONNUMERIC)
write('semicolon.txt', csv.QUOTE_MINIMAL, '\n', ';')
write('tabs.tsv', csv.QUOTE_MINIMAL, '\r\n', '\t')

by_hand = {
    # Windows-1252: é is E9, the euro sign 80; a byte-order mark before UTF-8.
    'western.csv': b'Ville;Prix\r\nOrl\xe9ans;\x80 5\r\nCaf\xe9;3\r\n',
    'bom.csv': b'\xef\xbb\xbfKey,Value\nk\xc3\xa9,1\n',
    # Rows longer and shorter than the header, a blank line, no final line break.
    'ragged.csv': b'A,B\n1,2,3\n\n4\n5,6',
    'headeronly.csv': b'Only,Header\r\n',
    'open.csv': b'A,B\n1,"never closed\n2,3\n',
    'binary.csv': b'A,B\n1,\x00\x01\x02\n',
    'cr.csv': b'A,B\r1,2\r3,4\r',
    'stray.csv': b'Size\n5" pipe\n',
}
for name, data in by_hand.items():
    with open(os.path.join(out, name), 'wb') as f:
        f.write(data)
