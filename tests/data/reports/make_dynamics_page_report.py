#!/usr/bin/env python3
"""Writes dynamics_page_report.html: the report page the dynamics page writes for the plant of
its test, computed here independently of the program.

The plant: a first-order lag K = 2, T = 10 min, sampled every minute, with a delay of three
samples, simulated by its own backward-difference equation
    y[i] = 10/11 * y[i-1] + 2/11 * u[i-3],   y[0..2] = 0,
with the input u[0] = 0, u[i] = sin(0.3 i) + 0.5 sin(0.05 i) + ((i // 20) mod 2), 200 points.
The page identifies orders 0 and 1 with delay 3 (K = 2, T = 10 exactly), then the gain is
edited to 3: the model y_m[k] = 10/11 * y_m[k-1] + 3/11 * u[k] runs on the shifted copies
(output y[3..199], input u[0..196]) from the measured start. The series are U and Y, the
interval "Интервал 1"; the model is named after the interval's pieces of both. Run it from this
folder."""
import math
import os

N = 200
DELAY = 3


def fmt(x, precision):
    """General format with `precision` significant digits and a decimal comma, as the
    program's result grids print numbers; values here stay in fixed notation."""
    if x == 0:
        return "0"
    digits, exp = ("%.17e" % abs(x)).split("e")
    digits = digits.replace(".", "")
    exp10 = int(exp)
    keep = list(digits[:precision])
    if digits[precision] >= "5":
        i = precision - 1
        while i >= 0 and keep[i] == "9":
            keep[i] = "0"
            i -= 1
        if i >= 0:
            keep[i] = str(int(keep[i]) + 1)
        else:
            keep = ["1"] + keep[:-1]
            exp10 += 1
    text = "".join(keep).rstrip("0") or "0"
    e = exp10 + 1
    assert -3 <= e <= precision, x
    sign = "-" if x < 0 else ""
    if e <= 0:
        return sign + "0," + "0" * (-e) + text
    whole = (text + "0" * e)[:e]
    rest = text[e:]
    return sign + whole + ("," + rest if rest else "")


u = [0.0] + [math.sin(0.3 * i) + 0.5 * math.sin(0.05 * i) + ((i // 20) % 2) for i in range(1, N)]
y = [0.0] * N
for i in range(DELAY, N):
    y[i] = 10.0 / 11.0 * y[i - 1] + 2.0 / 11.0 * u[i - DELAY]

out = y[DELAY:]
inp = u[:N - DELAY]
model = [out[0]]
for k in range(1, len(out)):
    model.append(10.0 / 11.0 * model[k - 1] + 3.0 / 11.0 * inp[k])
n = len(out)
mo = sum(out) / n
mm = sum(model) / n
smo = sum((m - mm) * (o - mo) for m, o in zip(model, out))
smm = sum((m - mm) ** 2 for m in model)
soo = sum((o - mo) ** 2 for o in out)
r2 = smo * smo / (smm * soo)
r2norm = 1 - (1 - r2) * (n - 1) / (n - 0 - 1 - 2)
errors = [o - m for o, m in zip(out, model)]
rmse = math.sqrt(sum(e * e for e in errors) / n)
mae = sum(abs(e) for e in errors) / n
maxe = max(abs(e) for e in errors)
values = [fmt(v, 8) for v in (r2, r2norm, rmse, mae, maxe)]
for v, raw in zip(values, (r2, r2norm, rmse, mae, maxe)):
    print(v, repr(raw))

diff_equation = "y[i]=" + fmt(3.0 / 11.0, 4) + "*x[i] + " + fmt(10.0 / 11.0, 8) + "*y[i-1]"
labels = ["Коэффициент детерминации", "Коэффициент детерминации нормированный", "СКО ошибки",
          "Средняя абсолютная ошибка", "Максимальная абсолютная ошибка"]

lines = [
    '<meta charset="utf-8" />',
    '<p style="text-align: right;"><strong><img style="float: left;" src="data/logo.bmp" alt="logo" width="58" height="58" /></strong></p>',
    '<h3 style="text-align: right;"><strong><span style="color: #000080;">Tarvolyn</span></strong></h3>',
    '<h3 style="text-align: right;"><strong><span style="color: #000080;">ООО &laquo;Veltrane&raquo;</span></strong></h3>',
    '<hr />',
    '<h1 style="color: #5e9ca0; text-align: center;"><span style="color: #000080;">Отчет по идентификации динамики</span></h1>',
    '<h2 style="text-align: center;"><span style="color: #000080;">Модель: U_Интервал 1-Y_Интервал 1</span></h2>',
    '<h3><span style="color: #000080;">Параметры идентификации:</span></h3>',
    '<div style="text-align: center;">',
    '<table style="display: inline-block; height: 157px; width: 450px;" border="1" width="286">',
    '<tbody>',
]
for label, value in (("Степень РУ по X", "0"), ("Степень РУ по Y", "1"), ("Шаг дискретизации", "1"),
                     ("Запаздывание", "3")):
    lines += ['<tr style="height: 36px;">',
              '<td style="width: 333px; text-align: left; height: 36px;">' + label + '</td>',
              '<td style="width: 107px; text-align: left; height: 36px;">' + value + '</td>',
              '</tr>']
lines += [
    '</tbody>', '</table>', '</div>',
    '<h3><span style="color: #000080;">Разностное уравнение модели</span></h3>',
    '<table style="border-collapse: collapse; width: 100%;" border="1">',
    '<tbody>', '<tr>', '<td style="width: 100%;">' + diff_equation + '</td>', '</tr>', '</tbody>', '</table>',
    '<h3><span style="color: #000080;">Полученная передаточная функция:</span></h3>',
    '<table style="height: 18px; width: 100%; border-collapse: collapse; margin-left: auto; margin-right: auto;" border="1">',
    '<tbody>', '<tr style="height: 18px;">', '<td style="height: 18px; border-style: none; width: 60px;">',
    '<p style="text-align: left;">&nbsp;w(s) =&nbsp;</p>', '</td>',
    '<td style="border-style: none; width: 100%-60px;">',
    '<p>3*(1)</p>', '<hr />', '<p>10*s^1 + 1</p>',
    '</td>', '</tr>', '</tbody>', '</table>',
    '<h3 style="color: #2e6c80;"><span style="color: #000080;">Сравнительные характеристики модели:</span></h3>',
    '<div style="text-align: center;">',
    '<table style="display: inline-block; height: 163px; width: 450px;" border="1" width="286">',
    '<tbody>', '<tr style="height: 36px;">',
    '<td style="width: 333px; text-align: left; height: 36px;">Параметр</td>',
    '<td style="width: 107px; text-align: left; height: 36px;">Значение</td>', '</tr>',
]
for label, value in zip(labels, values):
    lines += ['<tr style="height: 18px;">',
              '<td style="width: 333px; height: 18px; text-align: left;">' + label + '</td>',
              '<td style="width: 107px; height: 18px; text-align: left;">' + value + '</td>',
              '</tr>']
lines += [
    '</tbody>', '</table>', '</div>',
    '<h3><span style="color: #000080;">Графики выходного параметра и расчетного значения по модели</span></h3>',
    '<p><span style="color: #000080;"><img style="display: block; margin-left: auto; margin-right: auto;" src="data/educationPlot.bmp" alt="educationPlot" width="800" height="400" /></span></p>',
    '<hr />',
    '<p style="text-align: right;"><a href="https://www.tarvolyn.example/" target="_blank" rel="noopener">Tarvolyn &mdash; пакет подготовки, статистической обработки и идентификации временных рядов</a></p>',
]
here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "dynamics_page_report.html"), "w", encoding="utf-8", newline="\n") as f:
    f.write("".join(line + "\n" for line in lines))
