#!/usr/bin/python3
"""Prints the values that the regression page's test of a series shifted in place holds.
Подача, Напор and Уровень: 90 points a minute apart, Уровень = 2*Подача two minutes earlier
- 0.5*Напор + 10 exactly. Before the shift the model is fitted on minutes 30..59 with Подача
unshifted; after "Выполнить сдвиг" of Подача by 2 in place that model is tested on minutes
60..89 with the shifted values, and a new fit on 30..59 gives the law itself. Computed with
numpy (Debian's python3-numpy), independently of the program."""
import math

import numpy as np

N = 90


def data():
    u = np.array([50 + 5 * math.sin(i / 7) + 3 * math.cos(i / 3) for i in range(N)])
    p = np.array([100000 + 40 * math.sin(i / 11) + 10 * math.cos(i / 5) for i in range(N)])
    y = np.array([2 * u[max(i - 2, 0)] - 0.5 * p[i] + 10 for i in range(N)])
    return u, p, y


def main():
    u, p, y = data()
    train, test = np.arange(30, 60), np.arange(60, 90)
    X = np.column_stack([u[train], p[train], np.ones(len(train))])
    (a1, a2, c), *_ = np.linalg.lstsq(X, y[train], rcond=None)
    print("fit before the shift", repr(a1), repr(a2), repr(c))
    shifted = u[test - 2]  # the value of Подача at minute i is now the one of minute i - 2
    m = a1 * shifted + a2 * p[test] + c
    o = y[test]
    do, dm = o - o.mean(), m - m.mean()
    r2 = (dm @ do) ** 2 / ((dm @ dm) * (do @ do))
    print("test on 60..89: R2", repr(r2), "output mean", repr(o.mean()), "model mean", repr(m.mean()))
    X = np.column_stack([u[train - 2], p[train], np.ones(len(train))])
    print("fit after the shift", np.linalg.lstsq(X, y[train], rcond=None)[0].tolist())


main()
