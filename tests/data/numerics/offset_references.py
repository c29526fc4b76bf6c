#!/usr/bin/python3
"""Reference values of the offset tables in tests/numerics/ApproxTest.cpp and
tests/identification/CrossCorrelationTest.cpp: least-squares fits and correlation
coefficients of two regressors u1, u2 around an offset and y = 2*u1 - 0.5*u2 + 10 + noise,
generated exactly as tests/support/OffsetSignals.h generates them.

numpy gives the values: numpy.linalg.lstsq of the fit and numpy.corrcoef. Far from zero a
fit through the raw columns loses its digits in numpy too (lstsq truncates the small
singular values), so numpy solves the same least-squares problem with every column centred
first (the free term's column kept), which changes nothing in exact arithmetic. Every value is checked against the exact
rational solution of the same data (the doubles taken as exact fractions) and printed with
17 significant digits."""
from decimal import Decimal, getcontext
from fractions import Fraction as F

import numpy as np

getcontext().prec = 60
N = 500
OFFSETS = [0.0, 1e3, 1e5, 1e6, 1e9]
SPREADS = [1.0, 0.01]


def z(k, a, b, mod):
    return ((k * a + b) % mod) / mod - 0.5


def signals(offset, spread):
    u1 = [offset + spread * z(k, 7919, 13, 1009) for k in range(N)]
    u2 = [offset + spread * z(k, 104729, 7, 997) for k in range(N)]
    y = [2 * u1[k] - 0.5 * u2[k] + 10 + spread * 0.1 * z(k, 15485863, 3, 983) for k in range(N)]
    return u1, u2, y


def exact_lstsq(cols, y):
    cols = [[F(v) for v in c] for c in cols]
    Y = [F(v) for v in y]
    n = len(cols)
    M = [[sum(a * b for a, b in zip(ci, cj)) for cj in cols] + [sum(a * b for a, b in zip(ci, Y))] for ci in cols]
    for c in range(n):
        for i in range(n):
            if i != c:
                f = M[i][c] / M[c][c]
                M[i] = [a - f * b for a, b in zip(M[i], M[c])]
    return [M[i][n] / M[i][i] for i in range(n)]


def exact_corr(a, b):
    a = [F(v) for v in a]
    b = [F(v) for v in b]
    ma, mb = sum(a) / len(a), sum(b) / len(b)
    sab = sum((x - ma) * (y - mb) for x, y in zip(a, b))
    saa = sum((x - ma) ** 2 for x in a)
    sbb = sum((y - mb) ** 2 for y in b)
    num = Decimal(sab.numerator) / Decimal(sab.denominator)
    den = (Decimal(saa.numerator) / Decimal(saa.denominator) * Decimal(sbb.numerator) / Decimal(sbb.denominator)).sqrt()
    return float(num / den)


def numpy_lstsq_centred(u1, u2, y):
    X = np.column_stack([u1, u2])
    mx, my = X.mean(axis=0), np.mean(y)
    D = np.column_stack([X - mx, np.ones(N)])
    a = np.linalg.lstsq(D, np.array(y) - my, rcond=None)[0]
    c = a[2] + my - a[0] * mx[0] - a[1] * mx[1]
    return [float(a[0]), float(a[1]), float(c)]


def rel(a, b):
    return abs(a - b) / abs(b)


fits, corrs = [], []
worstR = 0.0
for offset in OFFSETS:
    for spread in SPREADS:
        u1, u2, y = signals(offset, spread)
        exact = [float(v) for v in exact_lstsq([u1, u2, [1.0] * N], y)]
        fit = numpy_lstsq_centred(u1, u2, y)
        worst = max(rel(a, b) for a, b in zip(fit, exact))
        assert worst < 1e-8, (offset, spread, worst)
        fits.append((offset, spread, exact, worst))
        pairs = [(u1, y), (u1, u2), (u1[:N - 3], y[3:]), (y[:N - 1], y[1:])]
        values = []
        for a, b in pairs:
            r = float(np.corrcoef(a, b)[0, 1])
            e = exact_corr(a, b)
            assert rel(r, e) < 1e-8, (offset, spread, r, e)
            worstR = max(worstR, rel(r, e))
            values.append(e)
        corrs.append((offset, spread, values))

print("// offset, spread, a1, a2, free term (numpy's lstsq within %.1e of the exact ones)"
      % max(f[3] for f in fits))
for offset, spread, v, _ in fits:
    print("{%g, %g, %s}," % (offset, spread, ", ".join("%.17g" % x for x in v)))
print("// offset, spread, r(u1, y), r(u1, u2), r(u1, y 3 ahead), r(y, y 1 ahead)"
      " (numpy's corrcoef within %.1e of the exact ones)" % worstR)
for offset, spread, v in corrs:
    print("{%g, %g, %s}," % (offset, spread, ", ".join("%.17g" % x for x in v)))
