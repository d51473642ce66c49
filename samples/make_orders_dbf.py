#!/usr/bin/python3
"""Writes the sample order book as a dBase III table, which every Windows
reads with the dBase driver it ships:  make_orders_dbf.py [OUTPUT]
(default samples/orders.dbf). The rows come from samples/orders.sql.

dBase III has neither NULL nor a date with a time: an empty text stays
empty, and shipped_at is kept as its text, "YYYY-MM-DD HH:MM:SS". Text is
in Windows-1252, as the table's language driver says. Needs python3-dbf."""
import datetime
import os
import sqlite3
import sys

import dbf

HERE = os.path.dirname(os.path.abspath(__file__))
FIELDS = ("id N(6,0); customer C(40); product C(40); quantity N(6,0); unit_price N(10,2); "
          "ordered_on D; shipped_at C(19); note C(60)")


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "orders.dbf")
    with open(os.path.join(HERE, "orders.sql"), encoding="utf-8") as script:
        book = sqlite3.connect(":memory:")
        book.executescript(script.read())
    rows = book.execute("SELECT id, customer, product, quantity, unit_price, ordered_on,"
                        " shipped_at, note FROM orders ORDER BY id").fetchall()
    # Written beside the output and renamed into place: a failed run leaves
    # no half table behind.
    partial = output + ".partial.dbf"
    table = dbf.Table(partial, FIELDS, dbf_type="db3", codepage="cp1252")
    try:
        table.open(dbf.READ_WRITE)
        for id_, customer, product, quantity, price, ordered, shipped, note in rows:
            table.append((id_, customer, product, quantity, price,
                          datetime.date.fromisoformat(ordered), shipped or "", note or ""))
        table.close()
        os.replace(partial, output)
    finally:
        if os.path.exists(partial):
            os.remove(partial)
    print(f"{output}: {len(rows)} orders")


if __name__ == "__main__":
    main()
