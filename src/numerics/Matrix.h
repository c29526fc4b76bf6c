#pragma once
// The fixed-size coefficient vector record the least-squares fits fill.

constexpr int kMatrixCapacity = 100;

// A vector of at most 100 doubles; elements are addressed 1-based.
struct TVector {
    int len = 0;
    double data[kMatrixCapacity] = {};

    double& operator[](int i) { return data[i - 1]; }
    double operator[](int i) const { return data[i - 1]; }
};
