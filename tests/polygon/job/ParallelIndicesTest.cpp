// The sharing of per-polygon work over the cores.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "polygon/core/ParallelIndices.h"

using ostrand::for_each_index_in_parallel;

TEST(ParallelIndices, EveryIndexOnceWhateverTheCount) {
    for (const std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{31}, std::size_t{32}, std::size_t{33},
                                std::size_t{1000}, std::size_t{100003}}) {
        std::vector<std::atomic<int>> calls(n);
        for_each_index_in_parallel(n, [&](std::size_t i) { ++calls[i]; });
        for (std::size_t i = 0; i < n; ++i) ASSERT_EQ(calls[i].load(), 1) << "index " << i << " of " << n;
    }
}

// A task that throws does not stop the others: its exception comes out once all have ended, as thrown.
TEST(ParallelIndices, AnExceptionComesOutAfterTheRest) {
    std::vector<std::atomic<int>> calls(5000);
    try {
        for_each_index_in_parallel(calls.size(), [&](std::size_t i) {
            ++calls[i];
            if (i == 4321) throw std::string("failed at 4321");
        });
        FAIL() << "no exception";
    } catch (const std::string& text) {
        EXPECT_EQ(text, "failed at 4321");
    }
    // The run that threw stops there; every other run is done whole.
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (i / 32 != 4321 / 32) {
            ASSERT_EQ(calls[i].load(), 1) << i;
        }
    }
    EXPECT_THROW(for_each_index_in_parallel(3, [](std::size_t) { throw std::runtime_error("one thread"); }),
                 std::runtime_error);
}
