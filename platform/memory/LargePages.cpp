#include "platform/memory/LargePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace velmora::memory {

void* mapLargePages(std::size_t bytes) {
    // Mapped with a page to spare, then cut to the boundary: only a whole aligned 2 MB range can take a
    // large page.
    const std::size_t mapped = bytes + kLargePage;
    void* p = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t aligned = (at + kLargePage - 1) & ~(std::uintptr_t{kLargePage} - 1);
    if (aligned > at) ::munmap(p, aligned - at);
    const std::uintptr_t end = at + mapped;
    if (end > aligned + bytes) ::munmap(reinterpret_cast<void*>(aligned + bytes), end - (aligned + bytes));
    ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void unmapLargePages(void* p, std::size_t bytes) {
    if (p) ::munmap(p, bytes);
}

}  // namespace velmora::memory
