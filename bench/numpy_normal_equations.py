#!/usr/bin/python3
"""Reference figure for BM_StaticIdentification: numpy's solve of the normal equations of
the same 100,000 x 21 system (20 inputs and a free term), and its lstsq."""
import time
import numpy as np

rng = np.random.default_rng(5)
N, p = 100_000, 20
X = np.hstack([rng.standard_normal((N, p)), np.ones((N, 1))])
y = X @ np.arange(1, p + 2, dtype=float) + 0.1 * rng.standard_normal(N)


def best(f, runs=20):
    t = []
    for _ in range(runs):
        s = time.perf_counter()
        f()
        t.append(time.perf_counter() - s)
    return min(t) * 1e3


print(f"normal equations: {best(lambda: np.linalg.solve(X.T @ X, X.T @ y)):.2f} ms")
print(f"lstsq:            {best(lambda: np.linalg.lstsq(X, y, rcond=None)):.2f} ms")
