#pragma once
// Runs independent pieces of work on a few threads. Every piece is computed by the same
// code whichever thread takes it, so results never depend on the number of threads.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

// Calls job(k) for k = 0..count-1, on up to maxThreads threads (the calling one included;
// 0: as many as the machine has, at most 8). When no thread can be started the rest runs
// on the calling thread. job must not throw.
template <class Job>
void parallelFor(size_t count, Job job, size_t maxThreads = 0) {
    const size_t hw = std::max(1u, std::thread::hardware_concurrency());
    const size_t limit = maxThreads == 0 ? std::min<size_t>(hw, 8) : maxThreads;
    const size_t threads = std::min(limit, count);
    if (threads <= 1) {
        for (size_t k = 0; k < count; ++k) job(k);
        return;
    }
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t k; (k = next.fetch_add(1, std::memory_order_relaxed)) < count;) job(k);
    };
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    try {
        for (size_t t = 1; t < threads; ++t) pool.emplace_back(worker);
    } catch (const std::system_error&) {
        // Fewer threads than hoped for: those started and this one share the work.
    }
    worker();
    for (auto& th : pool) th.join();
}
