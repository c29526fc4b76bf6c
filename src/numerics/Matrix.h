#pragma once
// Small dense linear algebra for the least-squares fits: fixed-size matrix and vector
// records held by value, Gauss-Jordan inversion and the solution of square systems.
#include <string>

constexpr int kMatrixCapacity = 100;

// A matrix of at most 100 x 100 doubles; elements are addressed 1-based, as (row, column).
struct TMatrix {
    int rows = 0;
    int cols = 0;
    double data[kMatrixCapacity][kMatrixCapacity] = {};

    double& operator()(int i, int j) { return data[i - 1][j - 1]; }
    double operator()(int i, int j) const { return data[i - 1][j - 1]; }
    bool fits() const { return rows >= 0 && cols >= 0 && rows <= kMatrixCapacity && cols <= kMatrixCapacity; }
};

// A vector of at most 100 doubles; elements are addressed 1-based.
struct TVector {
    int len = 0;
    double data[kMatrixCapacity] = {};

    double& operator[](int i) { return data[i - 1]; }
    double operator[](int i) const { return data[i - 1]; }
    bool fits() const { return len >= 0 && len <= kMatrixCapacity; }
};

// Fixed-point text of x with field width 8 and 4 decimals, '.' as separator: "  0.0000".
std::string floatToText(double x);

// Replaces M by its inverse (first non-zero pivot at or below the diagonal, exact zero
// test). Returns false and leaves M unchanged when a column has no pivot, or when M does
// not fit the record.
bool invertMatrix(TMatrix& M);

// r = M·v over the first min(M.cols, v.len) columns; r may be v. False when a size does
// not fit the record (r is then left unchanged).
bool multiplyMatrixVector(const TMatrix& M, const TVector& v, TVector& r);

// Solves the top-left square block of A (size min(rows, cols)) for b by inversion.
// Returns false, leaving x unchanged, when the block is singular or does not fit.
bool solveLinearSystem(TMatrix A, TVector b, TVector& x);
