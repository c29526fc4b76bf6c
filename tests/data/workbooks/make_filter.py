#!/usr/bin/python3
"""Makes the workbooks of the filter-page tests. Run with Debian's python3 (openpyxl).
The expected series are written by hand in tests/ui/pages/filter/FilterPageTest.cpp."""
import datetime as dt
import os

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))


def filter_page():
    # Names in row 1, data from row 2 at one-minute steps from 1 February 2023 00:00.
    # "Давление" has an empty cell (row 4), an unreadable value (row 6) and two values far
    # from the rest (rows 8 and 10); the time of row 5 cannot be read.
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.append(["Время", "Давление", "Расход"])
    start = dt.datetime(2023, 2, 1, 0, 0, 0)
    pressure = [10, 12, None, 999, "н/д", 16, 30, 13, -5, 18]
    for i, p in enumerate(pressure):
        t = start + dt.timedelta(minutes=i)
        ws.append(["ошибка" if i == 3 else t, p, 100 + i])
    wb.save(os.path.join(HERE, "filter.xlsx"))


def other_workbooks():
    # Opened after filter.xlsx: "Расход" as the first parameter (where filter.xlsx has
    # "Давление"), and a workbook without "Расход".
    start = dt.datetime(2023, 2, 1, 0, 0, 0)
    for name, header, columns in [
        ("filter_swapped.xlsx", ["Время", "Расход", "Давление"], [[250.5, 251, 253], [100000, 100010, 100020]]),
        ("filter_no_flow.xlsx", ["Время", "Давление", "Температура"], [[1, 2, 3], [80, 81, 82]]),
    ]:
        wb = openpyxl.Workbook()
        ws = wb.active
        ws.append(header)
        for i in range(3):
            ws.append([start + dt.timedelta(minutes=i)] + [c[i] for c in columns])
        wb.save(os.path.join(HERE, name))


if __name__ == "__main__":
    filter_page()
    other_workbooks()
