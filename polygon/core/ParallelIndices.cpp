#include "polygon/core/ParallelIndices.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace ostrand {

namespace {

constexpr unsigned kMostThreads = 8;
// Indices a thread takes at a time: enough that taking them costs nothing beside the work.
constexpr std::size_t kRun = 32;

}  // namespace

void for_each_index_in_parallel(std::size_t n, const std::function<void(std::size_t)>& task) {
    const std::size_t runs = (n + kRun - 1) / kRun;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads = std::min<std::size_t>({cores, kMostThreads, runs});
    if (threads <= 1) {
        for (std::size_t i = 0; i < n; ++i) task(i);
        return;
    }
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failure_guard;
    const auto work = [&] {
        for (;;) {
            const std::size_t first = next.fetch_add(kRun);
            if (first >= n) return;
            try {
                for (std::size_t i = first; i < std::min(n, first + kRun); ++i) task(i);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failure_guard);
                if (!failure) failure = std::current_exception();
            }
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    try {
        for (std::size_t t = 1; t < threads; ++t) helpers.emplace_back(work);
    } catch (const std::system_error&) {
        // No more threads to be had: those started and this one do the work.
    }
    work();
    for (std::thread& t : helpers) t.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace ostrand
