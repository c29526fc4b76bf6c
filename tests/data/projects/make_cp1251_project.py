#!/usr/bin/env python3
"""Writes the project folder cp1251/ as the earlier Windows program wrote them: every file in
the Windows Cyrillic code page (Windows-1251) with CR LF line ends, decimal commas and
dd.mm.yyyy h:mm:ss date-times. Run it from this folder; it replaces cp1251/."""
import os
import shutil

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "cp1251")


def write(rel, lines):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp1251"))


shutil.rmtree(ROOT, ignore_errors=True)
write("Котельная.prj", [
    "*series", "Расход пара;", "Lab_Температура;", "*",
    "*interval",
    "Пуск;15.03.2023 8:00:00;15.03.2023 12:30:00;1;",
    "Сбой;15.03.2023 9:00:00;15.03.2023 9:30:00;0;",
    "*",
    "*staticmodel", "Модель расхода;", "*",
    "*dynamicmodel", "Динамика;", "*",
])
write("data/series/Расход пара.ls", [
    "false", "255",
    "15.03.2023;1,5;",
    "15.03.2023 0:10:00;2,25;",
    "15.03.2023 10:20:00;-3;",
])
write("data/series/Lab_Температура.ls", [
    "true", "-1",
    "15.03.2023 8:00:00;71,2;",
    "15.03.2023 9:00:00,500;NAN;",
])
write("data/staticmodels/Модель расхода.sm", [
    "Модель расхода;", "1;1;", "Lab_Температура;", "Расход пара;", "3;",
    "0;0,5;2;", "2;", "true;", "0,9;", "0,85;",
])
write("data/dynamicmodels/Динамика.dm", [
    "Динамика;", "Lab_Температура;", "Расход пара;", "0;1;", "1;", "2;", "0,5;",
    "1;", "1;1;", "0,5;", "1;-0,5;", "0,75;", "0,7;",
])
os.makedirs(os.path.join(ROOT, "data", "series"), exist_ok=True)
