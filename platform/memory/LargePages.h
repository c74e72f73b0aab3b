#pragma once
// Anonymous memory the kernel may back with 2 MB pages. Memory that a job fills from start to end (a
// database's page cache, a store of points) costs a page fault for every 4 KB on its first touch, and
// faults are dear on a virtual machine; a 2 MB page is one fault. The pages stay untouched (and not
// resident) until used.
#include <cstddef>

namespace velmora::memory {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

// A mapping of `bytes` (a multiple of kLargePage) starting on a kLargePage boundary; null when the system
// has no memory to give.
void* mapLargePages(std::size_t bytes);
void unmapLargePages(void* p, std::size_t bytes);

}  // namespace velmora::memory
