#!/usr/bin/python3
"""Writes the expected page of the regression page's end-to-end test (regression_page_report.html)
and prints the expected model text and quality values that the test holds.
The data: y = 2*x1 - 0.5*x2 + 10 + small noise, 90 points a minute apart, three intervals of 30
points; the model is fitted on the first two and tested on the third. Computed with numpy
(Debian's python3-numpy), independently of the program."""
import os

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
N = 90


def data():
    # The same double operations, in the same order, as the C++ test.
    x1 = np.array([40.0 + float((i * 7) % 19) for i in range(N)])
    x2 = np.array([100.0 + 3.0 * float((i * 11) % 13) - 0.1 * i for i in range(N)])
    noise = np.array([0.05 * (float((i * 29) % 23) - 11.0) / 11.0 for i in range(N)])
    y = 2.0 * x1 - 0.5 * x2 + 10.0 + noise
    return x1, x2, y


def fmt(x, precision=8, exp_digits=4, sep=","):
    """General format: precision significant digits, fixed from 1E-4 up to precision integer
    digits, else scientific with at least exp_digits exponent digits."""
    x = float(x)
    if x == 0:
        return "0"
    mant, exp = f"{abs(x):.{precision - 1}e}".split("e")
    e = int(exp) + 1
    digits = mant.replace(".", "").rstrip("0")
    if -3 <= e <= precision:
        if e <= 0:
            text = "0" + (sep + "0" * (-e) + digits if digits else "")
        else:
            frac = digits[e:]
            text = digits[:e].ljust(e, "0") + (sep + frac if frac else "")
    else:
        text = digits[0] + (sep + digits[1:] if len(digits) > 1 else "") + "E"
        text += ("-" if e - 1 < 0 else "") + str(abs(e - 1)).zfill(exp_digits)
    return ("-" if x < 0 else "") + text


def quality(o, m, k):
    n = len(o)
    do, dm = o - o.mean(), m - m.mean()
    r2 = (dm @ do) ** 2 / ((dm @ dm) * (do @ do))
    e = o - m
    return [
        r2,
        1 - (1 - r2) * (n - 1) / (n - k - 1),
        o.mean(),
        m.mean(),
        o.std(),  # population
        m.std(),
        (e @ e) / (do @ do) * 100,
        e.std(ddof=1),
        np.abs(e).mean(),
    ]


def main():
    x1, x2, y = data()
    train = np.arange(0, 60)
    test = np.arange(60, 90)
    X = np.column_stack([x1[train], x2[train], np.ones(len(train))])
    (a1, a2, c), *_ = np.linalg.lstsq(X, y[train], rcond=None)
    model = lambda idx: a1 * x1[idx] + a2 * x2[idx] + c
    q_train = quality(y[train], model(train), 2)
    q_test = quality(y[test], model(test), 2)

    def term(v):
        return (" - " + fmt(-v)) if v < 0 else (" + " + fmt(v))

    text = "Выход = " + fmt(a1) + "*(Расход)" + term(a2) + "*(Давление)" + term(c)
    print("coefficients", repr(a1), repr(a2), repr(c))
    print("model text:", text)
    for name, q in (("train", q_train), ("test", q_test)):
        print(name, [fmt(v) for v in q])
        print(name, "(12 digits)", [f"{v:.12g}" for v in q])

    labels = ["Коэффициент детерминации", "Коэффициент детерминации нормированный",
              "Среднее значение (выходной ряд)", "Среднее значение (модель)", "СКО(выходной ряд)",
              "СКО(модель)", "Метрика Index", "СКО модели от выходного ряда", "Средняя абсолютная ошибка"]
    lines = [
        '<meta charset="utf-8" />',
        '<p style="text-align: right;"><strong><img style="float: left;" src="data/logo.bmp" alt="logo" width="58" height="58" /></strong></p>',
        '<h3 style="text-align: right;"><strong><span style="color: #000080;">Tarvolyn</span></strong></h3>',
        '<h3 style="text-align: right;"><strong><span style="color: #000080;">ООО &laquo;Veltrane&raquo;</span></strong></h3>',
        "<hr />",
        '<h1 style="color: #5e9ca0; text-align: center;"><span style="color: #000080;">Отчет по идентификации статики (Регрессионная модель)</span></h1>',
        '<h2 style="text-align: center;"><span style="color: #000080;">Модель: Выход</span></h2>',
        '<h3><span style="color: #000080;">Структура модели</span></h3>',
        '<table style="border-collapse: collapse; width: 100%;" border="1">',
        "<tbody>",
        "<tr>",
        '<td style="width: 100%;">y=A1*X1 + A2*X2 + A0</td>',
        "</tr>",
        "</tbody>",
        "</table>",
        '<h3><span style="color: #000080;">Полученная модель:</span></h3>',
        '<table style="border-collapse: collapse; width: 100%; height: 18px;" border="1">',
        "<tbody>",
        '<tr style="height: 18px;">',
        '<td style="width: 100%; height: 18px;">' + text + "</td>",
        "</tr>",
        "</tbody>",
        "</table>",
        '<h3 style="color: #2e6c80;"><span style="color: #000080;">Сравнительные характеристики модели:</span></h3>',
        '<div style="text-align: center;">',
        '<table style="display: inline-block; height: 263px; width: 570px;" border="1" width="286">',
        "<tbody>",
        '<tr style="height: 36px;">',
        '<td style="width: 333px; text-align: left; height: 36px;">Параметр</td>',
        '<td style="width: 107px; text-align: left; height: 36px;">Обучающая выборка</td>',
        '<td style="width: 107px; text-align: left; height: 36px;">Тестовая выборка</td>',
        "</tr>",
    ]
    for label, tr, te in zip(labels, q_train, q_test):
        lines += [
            '<tr style="height: 18px;">',
            '<td style="width: 333px; height: 18px; text-align: left;">' + label + "</td>",
            '<td style="width: 107px; height: 18px; text-align: left;">' + fmt(tr) + "</td>",
            '<td style="width: 107px; text-align: left; height: 18px;">' + fmt(te) + "</td>",
            "</tr>",
        ]
    lines += [
        "</tbody>",
        "</table>",
        "</div>",
        '<h3><span style="color: #000080;">Графики по обучающей выборке</span></h3>',
        '<p><span style="color: #000080;"><img style="display: block; margin-left: auto; margin-right: auto;" src="data/educationPlot.bmp" alt="educationPlot" width="800" height="400" /></span></p>',
        '<h3><span style="color: #000080;">Графики по тестовой выборке</span></h3>',
        '<p><span style="color: #000080;"><img style="display: block; margin-left: auto; margin-right: auto;" src="data/testPlot.bmp" alt="testPlot" width="800" height="400" /></span></p>',
        "<hr />",
        '<p style="text-align: right;"><a href="https://www.tarvolyn.example/" target="_blank" rel="noopener">Tarvolyn &mdash; пакет подготовки, статистической обработки и идентификации временных рядов</a></p>',
    ]
    with open(os.path.join(HERE, "regression_page_report.html"), "w", encoding="utf-8", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))


main()
