#!/usr/bin/python3
"""Makes the workbooks of the data-page tests. Run with Debian's python3 (openpyxl).
The expected series are written by hand in tests/ui/DataPageTest.cpp."""
import datetime as dt
import os

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))


def quickload():
    # A title row above the names; the data from row 3. Column A holds real date-times
    # (the first at midnight), column F the same times as text in another format; column D
    # has no name and is never a series.
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Журнал"
    ws.append(["Журнал параметров установки"])
    ws.append(["Время", "Расход", "Давление", None, "Температура", "Время текстом"])
    start = dt.datetime(2023, 2, 1, 0, 0, 0)
    flow = [10, 11, None, 12, 19]
    pressure = [1.5, "н/д", 2.5, 3.5, 4.5]
    temperature = [100, 101, 102, 103, 104]
    for i in range(5):
        t = start + dt.timedelta(minutes=i)
        ws.append([t, flow[i], pressure[i], 7, temperature[i], t.strftime("%Y-%m-%d %H-%M")])
    wb.save(os.path.join(HERE, "quickload.xlsx"))


def irregular():
    # One step of two minutes among steps of one.
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.append(["Время", "Уровень"])
    for minute, level in [(0, 1), (1, 2), (3, 3), (4, 4)]:
        ws.append([dt.datetime(2023, 2, 1, 8, minute, 0), level])
    wb.save(os.path.join(HERE, "irregular.xlsx"))


if __name__ == "__main__":
    quickload()
    irregular()
