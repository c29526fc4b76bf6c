#include "numerics/Matrix.h"

#include <charconv>
#include <memory>

std::string floatToText(double x) {
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 4);
    std::string s(buf, res.ptr);
    if (s.size() < 8) s.insert(0, 8 - s.size(), ' ');
    return s;
}

bool invertMatrix(TMatrix& M) {
    if (!M.fits()) return false;
    const int rows = M.rows;
    const int cols = M.cols;
    // Work on heap copies: the records are 80 KB each.
    auto W = std::make_unique<TMatrix>(M);
    auto E = std::make_unique<TMatrix>();
    E->rows = rows;
    E->cols = cols;
    for (int i = 1; i <= rows && i <= cols; ++i) (*E)(i, i) = 1.0;

    for (int k = 1; k <= rows; ++k) {
        if (k > cols) return false;
        int r = k;
        while ((*W)(r, k) == 0.0) {
            if (r >= rows) return false;
            ++r;
        }
        if (r != k) {
            for (int j = 1; j <= cols; ++j) {
                std::swap((*W)(r, j), (*W)(k, j));
                std::swap((*E)(r, j), (*E)(k, j));
            }
        }
        const double p = (*W)(k, k);
        for (int j = cols; j >= 1; --j) (*E)(k, j) /= p;
        for (int j = cols; j >= k; --j) (*W)(k, j) /= p;
        for (int i = 1; i <= rows; ++i) {
            if (i == k) continue;
            const double f = (*W)(i, k);
            for (int j = cols; j >= 1; --j) (*E)(i, j) -= (*E)(k, j) * f;
            for (int j = cols; j >= k; --j) (*W)(i, j) -= (*W)(k, j) * f;
        }
    }
    M = *E;
    return true;
}

bool multiplyMatrixVector(const TMatrix& M, const TVector& v, TVector& r) {
    if (!M.fits() || !v.fits()) return false;
    const int n = M.cols < v.len ? M.cols : v.len;
    TVector tmp;
    for (int i = 1; i <= M.rows; ++i) {
        double s = 0.0;
        for (int j = 1; j <= n; ++j) s += M(i, j) * v[j];
        tmp[i] = s;
    }
    tmp.len = M.rows;
    r = tmp;
    return true;
}

bool solveLinearSystem(TMatrix A, TVector b, TVector& x) {
    if (!A.fits() || !b.fits()) return false;
    if (A.rows < A.cols) {
        A.cols = A.rows;
        b.len = A.rows;
    }
    if (A.cols < A.rows) A.rows = A.cols;
    if (!invertMatrix(A)) return false;
    return multiplyMatrixVector(A, b, x);
}
