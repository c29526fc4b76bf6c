#!/usr/bin/python3
"""Writes the expected page of the regularised-regression page's end-to-end test
(regularised_page_report.html, LF line ends) and prints the expected table cells, summary
coefficients, model text and quality values that the test holds.
The data: inputs T and P and an output that follows another linear law with another noise on
each of three intervals of 30 points (one point a minute, 100 points); a fourth interval holds
one point. Models are fitted per interval with a free term; the summary combines the models of
intervals 1 and 3, each coefficient weighted by the variation (population standard deviation
over mean) of its input on the interval, gets the free term that makes its mean the measured
mean over the whole series, and is rated over the whole series.
Computed with numpy (Debian's python3-numpy), independently of the program."""
import os

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
N = 100
A = [2.0, 2.5, 1.5, 2.0]
B = [-0.5, -0.8, -0.3, -0.5]
C = [10.0, 5.0, 20.0, 10.0]
AMP = [0.01, 10.0, 0.3, 0.01]


def data():
    # The same double operations, in the same order, as the C++ test.
    t, p, y = [], [], []
    for i in range(N):
        k = min(i // 30, 3)
        ti = 20.0 + float((i * 7) % 17) + 0.5 * float((i * 3) % 5)
        pi = 100.0 + 0.8 * float((i * 11) % 13) - 0.05 * i
        noise = (float((i * 29) % 23) - 11.0) / 11.0
        t.append(ti)
        p.append(pi)
        y.append(A[k] * ti + B[k] * pi + C[k] + AMP[k] * noise)
    return np.array(t), np.array(p), np.array(y)


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


def r2(o, m):
    do, dm = o - o.mean(), m - m.mean()
    return (dm @ do) ** 2 / ((dm @ dm) * (do @ do))


def quality(o, m, k):
    n = len(o)
    do = o - o.mean()
    e = o - m
    q = r2(o, m)
    return [
        q,
        1 - (1 - q) * (n - 1) / (n - k - 1),
        o.mean(),
        m.mean(),
        o.std(),  # population
        m.std(),
        (e @ e) / (do @ do) * 100,
        e.std(ddof=1),
        np.abs(e).mean(),
    ]


def fit(columns, y):
    X = np.column_stack(columns + [np.ones(len(y))])
    coef, *_ = np.linalg.lstsq(X, y, rcond=None)
    return coef


def main():
    t, p, y = data()
    models = []
    for k in range(3):
        idx = np.arange(30 * k, 30 * k + 30)
        a1, a2, c = fit([t[idx], p[idx]], y[idx])
        m = a1 * t[idx] + a2 * p[idx] + c
        q = r2(y[idx], m)
        qn = 1 - (1 - q) * (30 - 1) / (30 - 2 - 1)
        v1 = t[idx].std() / t[idx].mean()
        v2 = p[idx].std() / p[idx].mean()
        models.append((a1, a2, v1, v2))
        print(f"Интервал {k + 1}:", [fmt(q), fmt(qn), fmt(v1), fmt(a1), fmt(v2), fmt(a2)])
        print("   (12 digits)", [f"{v:.12g}" for v in (q, qn, v1, a1, v2, a2)])

    # The summary of intervals 1 and 3.
    chosen = [models[0], models[2]]
    w1 = sum(m[2] for m in chosen)
    w2 = sum(m[3] for m in chosen)
    s1 = sum(m[2] / w1 * m[0] for m in chosen)
    s2 = sum(m[3] / w2 * m[1] for m in chosen)
    free = y.mean() - (s1 * t + s2 * p).mean()
    model = s1 * t + s2 * p + free
    q = quality(y, model, 2)

    def term(v):
        return (" - " + fmt(-v)) if v < 0 else (" + " + fmt(v))

    text = "Выход = " + fmt(s1) + "*(T)" + term(s2) + "*(P)" + term(free)
    print("summary coefficients", repr(s1), repr(s2), repr(free))
    print("model text:", text)
    print("quality", [fmt(v) for v in q])
    print("   (12 digits)", [f"{v:.12g}" for v in q])

    # T alone on interval 1 (after P has left the project).
    idx = np.arange(0, 30)
    k1, _ = fit([t[idx]], y[idx])
    print("T alone on interval 1: K1 =", fmt(k1), f"({k1:.12g})")

    labels = ["Коэффициент детерминации", "Коэффициент детерминации нормированный",
              "Среднее значение (выходной ряд)", "Среднее значение (модель)", "СКО(выходной ряд)",
              "СКО(модель)", "Метрика Index", "СКО модели от выходного ряда", "Средняя абсолютная ошибка"]
    lines = [
        '<meta charset="utf-8" />',
        '<p style="text-align: right;"><strong><img style="float: left;" src="data/logo.bmp" alt="logo" width="58" height="58" /></strong></p>',
        '<h3 style="text-align: right;"><strong><span style="color: #000080;">Tarvolyn</span></strong></h3>',
        '<h3 style="text-align: right;"><strong><span style="color: #000080;">ООО &laquo;Veltrane&raquo;</span></strong></h3>',
        "<hr />",
        '<h1 style="color: #5e9ca0; text-align: center;"><span style="color: #000080;">Отчет по идентификации статики (Регуляризованная регрессия)</span></h1>',
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
        '<table style="display: inline-block; height: 263px; width: 450px;" border="1" width="286">',
        "<tbody>",
        '<tr style="height: 36px;">',
        '<td style="width: 333px; text-align: left; height: 36px;">Параметр</td>',
        '<td style="width: 107px; text-align: left; height: 36px;">Значение</td>',
        "</tr>",
    ]
    for label, value in zip(labels, q):
        lines += [
            '<tr style="height: 18px;">',
            '<td style="width: 333px; height: 18px; text-align: left;">' + label + "</td>",
            '<td style="width: 107px; height: 18px; text-align: left;">' + fmt(value) + "</td>",
            "</tr>",
        ]
    lines += [
        "</tbody>",
        "</table>",
        "</div>",
        '<h3><span style="color: #000080;">Графики выходного параметра и расчетного значения по модели</span></h3>',
        '<p><span style="color: #000080;"><img style="display: block; margin-left: auto; margin-right: auto;" src="data/educationPlot.bmp" alt="educationPlot" width="800" height="400" /></span></p>',
        "<hr />",
        '<p style="text-align: right;"><a href="https://www.tarvolyn.example/" target="_blank" rel="noopener">Tarvolyn &mdash; пакет подготовки, статистической обработки и идентификации временных рядов</a></p>',
    ]
    with open(os.path.join(HERE, "regularised_page_report.html"), "w", encoding="utf-8", newline="") as f:
        f.write("".join(line + "\n" for line in lines))


main()
