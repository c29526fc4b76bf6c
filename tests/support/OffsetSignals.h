#pragma once
// Two regressors u1, u2 around an offset with a given spread and y = 2·u1 - 0.5·u2 + 10 +
// noise, as tests/data/numerics/offset_references.py generates them (the same operations
// in the same order, so the same doubles).
#include <vector>

struct OffsetSignals {
    static constexpr int kN = 500;
    std::vector<double> u1, u2, y;

    OffsetSignals(double offset, double spread) {
        auto z = [](long long k, long long a, long long b, long long mod) {
            return static_cast<double>((k * a + b) % mod) / static_cast<double>(mod) - 0.5;
        };
        for (int k = 0; k < kN; ++k) {
            u1.push_back(offset + spread * z(k, 7919, 13, 1009));
            u2.push_back(offset + spread * z(k, 104729, 7, 997));
            y.push_back(2 * u1.back() - 0.5 * u2.back() + 10 + spread * 0.1 * z(k, 15485863, 3, 983));
        }
    }
};
