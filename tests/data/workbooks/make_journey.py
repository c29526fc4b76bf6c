#!/usr/bin/python3
"""Makes journey.xlsx for the test that drives the whole application through its windows.
One row a minute from 15.03.2023 00:00, 300 rows. The static columns obey
Температура = 2*Расход - 0.5*Давление + 10 exactly; Уровень is a first-order plant of
Подача with gain 2, time constant 10 min and a delay of 3 samples, simulated by its own
backward-difference equation y[i] = 10/11*y[i-1] + 2/11*u[i-3]."""
import datetime as dt
import math
import os

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))
ROWS = 300


def main():
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Установка"
    ws.append(["Время", "Расход", "Давление", "Температура", "Подача", "Уровень"])
    start = dt.datetime(2023, 3, 15, 0, 0, 0)
    levels = [1, 3, 2, 5, 4, 2.5, 3.5, 1.5, 4.5, 2, 3, 1]
    u = [levels[(i // 25) % len(levels)] for i in range(ROWS)]
    y = [0.0] * ROWS
    for i in range(ROWS):
        prev = y[i - 1] if i > 0 else 0.0
        delayed = u[i - 3] if i >= 3 else 0.0
        y[i] = 10.0 / 11.0 * prev + 2.0 / 11.0 * delayed
    for i in range(ROWS):
        flow = 50 + 5 * math.sin(i / 7) + 3 * math.cos(i / 3)
        pressure = 100000 + 40 * math.sin(i / 11) + 10 * math.cos(i / 5)
        temperature = 2 * flow - 0.5 * pressure + 10
        row = [start + dt.timedelta(minutes=i), flow, pressure, temperature, u[i], y[i]]
        ws.append(row)
        ws.cell(row=i + 2, column=1).number_format = "dd.mm.yyyy hh:mm:ss"
    wb.save(os.path.join(HERE, "journey.xlsx"))


if __name__ == "__main__":
    main()
