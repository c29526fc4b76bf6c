#pragma once
// Runs independent pieces of work on a few threads. Every piece is computed by the same
// code whichever thread takes it, so results never depend on the number of threads.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

// Calls job(k) for k = 0..count-1, on up to maxThreads threads (the calling one included;
// 0: as many as the machine has, at most 8). When no thread can be started the rest runs
// on the calling thread. A job may throw (an allocation that fails, say): the pieces not
// yet started are then skipped, every thread is joined and the first exception thrown is
// thrown again to the caller.
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
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto worker = [&] {
        for (size_t k; (k = next.fetch_add(1, std::memory_order_relaxed)) < count;) {
            try {
                job(k);
            } catch (...) {
                std::lock_guard<std::mutex> lock(failureMutex);
                if (!failure) failure = std::current_exception();
                next.store(count, std::memory_order_relaxed);
            }
        }
    };
    std::vector<std::thread> pool;
    try {
        pool.reserve(threads - 1);
        for (size_t t = 1; t < threads; ++t) pool.emplace_back(worker);
    } catch (const std::system_error&) {
        // Fewer threads than hoped for: those started and this one share the work.
    } catch (const std::bad_alloc&) {
        // Likewise when there was no memory for another thread.
    }
    worker();
    for (auto& th : pool) th.join();
    if (failure) std::rethrow_exception(failure);
}
