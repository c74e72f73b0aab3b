#include "platform/db/EngineMemory.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/memory/LargePages.h"

namespace velmora::db::detail {

namespace {

// Every piece carries its usable size and where it came from in front of it; 16 bytes keep the
// alignment malloc gives.
struct Header {
    std::uint64_t size;
    std::uint64_t kind;
};
constexpr std::size_t kHeader = sizeof(Header);

enum Kind : std::uint64_t { kMalloc = 1, kPooled = 2 };

// Only pieces of a cache page's size (4 KB and the cache's own header) are pooled: pieces of many other
// sizes would each keep a list of their own and leave memory that no other size can reuse.
constexpr std::size_t kPooledFrom = 4096;
constexpr std::size_t kClassBytes = 256;         // pooled pieces are rounded up to a multiple of this
constexpr std::size_t kPooledTo = 4096 + 1024;   // from here on (sort buffers): malloc, whose heap they reuse
constexpr std::size_t kPoolChunk = 32 << 20;  // the pool grows by mappings of this size
constexpr std::size_t kClasses = kPooledTo / kClassBytes + 1;

std::size_t roundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

// Pieces of this many bytes, header included, come from malloc rather than the pool.
bool fromMalloc(std::size_t total) { return total < kPooledFrom || total >= kPooledTo; }

// Pieces of one size class are kept for the next request of that class; when no pooled piece is in use
// any more (every database closed) the mappings but the first go back to the system.
class Pool {
public:
    void* take(std::size_t classIndex) {
        std::lock_guard<std::mutex> lock(mutex_);
        void* p = free_[classIndex];
        if (p) {
            std::memcpy(&free_[classIndex], p, sizeof(void*));
        } else {
            const std::size_t bytes = classIndex * kClassBytes;
            if (static_cast<std::size_t>(end_ - next_) < bytes) {
                char* chunk = static_cast<char*>(memory::mapLargePages(kPoolChunk));
                if (!chunk) return nullptr;
                chunks_.push_back(chunk);
                next_ = chunk;
                end_ = chunk + kPoolChunk;
            }
            p = next_;
            next_ += bytes;
        }
        ++live_;
        return p;
    }

    void give(void* p, std::size_t classIndex) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::memcpy(p, &free_[classIndex], sizeof(void*));
        free_[classIndex] = p;
        if (--live_ == 0) release();
    }

private:
    // Keeps the first mapping, whose pages are already there for the next database (a job that opens
    // one database after another would otherwise fault them in again each time).
    void release() {
        if (chunks_.empty()) return;
        for (std::size_t i = 1; i < chunks_.size(); ++i) memory::unmapLargePages(chunks_[i], kPoolChunk);
        chunks_.resize(1);
        std::fill(std::begin(free_), std::end(free_), nullptr);
        next_ = chunks_[0];
        end_ = chunks_[0] + kPoolChunk;
    }

    std::mutex mutex_;
    void* free_[kClasses] = {};
    std::vector<char*> chunks_;
    char* next_ = nullptr;
    char* end_ = nullptr;
    std::size_t live_ = 0;
};

Pool& pool() {
    static Pool* p = new Pool;  // outlives every static database closed at exit
    return *p;
}

Header* headerOf(void* p) { return reinterpret_cast<Header*>(static_cast<char*>(p) - kHeader); }

void* place(void* block, std::size_t usable, Kind kind) {
    auto* h = static_cast<Header*>(block);
    h->size = usable;
    h->kind = kind;
    return static_cast<char*>(block) + kHeader;
}

void* engineMalloc(int n) {
    if (n <= 0) return nullptr;
    const std::size_t total = roundUp(static_cast<std::size_t>(n), 8) + kHeader;
    if (fromMalloc(total)) {
        void* b = std::malloc(total);
        return b ? place(b, total - kHeader, kMalloc) : nullptr;
    }
    const std::size_t classIndex = roundUp(total, kClassBytes) / kClassBytes;
    void* b = pool().take(classIndex);
    return b ? place(b, classIndex * kClassBytes - kHeader, kPooled) : nullptr;
}

void engineFree(void* p) {
    if (!p) return;
    Header* h = headerOf(p);
    const std::size_t total = h->size + kHeader;
    switch (h->kind) {
        case kMalloc: std::free(h); break;
        default: pool().give(h, total / kClassBytes); break;
    }
}

int engineSize(void* p) { return p ? static_cast<int>(headerOf(p)->size) : 0; }

void* engineRealloc(void* p, int n) {
    if (!p) return engineMalloc(n);
    const std::size_t have = headerOf(p)->size;
    if (n > 0 && static_cast<std::size_t>(n) <= have) return p;
    // The sorter doubles its buffer as an index's keys pile up: realloc grows a large block in place or
    // moves its pages (mremap) instead of copying them.
    const std::size_t total = roundUp(static_cast<std::size_t>(n), 8) + kHeader;
    if (n > 0 && headerOf(p)->kind == kMalloc && fromMalloc(total)) {
        void* b = std::realloc(headerOf(p), total);
        return b ? place(b, total - kHeader, kMalloc) : nullptr;
    }
    void* q = engineMalloc(n);
    if (!q) return nullptr;
    std::memcpy(q, p, std::min(have, static_cast<std::size_t>(n)));
    engineFree(p);
    return q;
}

int engineRoundup(int n) { return static_cast<int>(roundUp(static_cast<std::size_t>(n), 8)); }
int engineInit(void*) { return SQLITE_OK; }
void engineShutdown(void*) {}

}  // namespace

bool useEngineMemory() {
    static const sqlite3_mem_methods methods = {engineMalloc, engineFree,   engineRealloc, engineSize,
                                                engineRoundup, engineInit, engineShutdown, nullptr};
    return sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) == SQLITE_OK;
}

}  // namespace velmora::db::detail
