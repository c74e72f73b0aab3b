// The engine's heap: a piece that grows keeps its bytes, whether it moves between the pool and malloc or
// grows inside malloc (the index sorter's buffer doubles up to megabytes).
#include <sqlite3.h>

#include <cstdint>
#include <vector>

#include "DbTestFolder.h"

namespace {

class EngineMemory : public DbTest {};

TEST_F(EngineMemory, APieceGrownAcrossEverySizeKeepsItsBytes) {
    // Opening a database installs the heap before the engine's first use.
    velmora::db::Database db = velmora::db::Database::create(file("xxtmpLineDabaDB.mdb"));
    unsigned char* p = nullptr;
    std::size_t filled = 0;
    // Small (malloc), a cache page (pool), larger than a pooled piece (malloc), then megabytes.
    for (const std::size_t size : std::vector<std::size_t>{100, 4096, 4200, 200000, 3u << 20, 9u << 20}) {
        p = static_cast<unsigned char*>(sqlite3_realloc64(p, size));
        ASSERT_NE(p, nullptr) << size;
        ASSERT_GE(sqlite3_msize(p), size);
        for (std::size_t i = 0; i < filled; ++i)
            ASSERT_EQ(p[i], static_cast<unsigned char>(i * 7 + 1)) << "byte " << i << " after growing to " << size;
        for (std::size_t i = filled; i < size; ++i) p[i] = static_cast<unsigned char>(i * 7 + 1);
        filled = size;
    }
    // Shrinking keeps the piece where it is.
    EXPECT_EQ(sqlite3_realloc64(p, 50), p);
    sqlite3_free(p);
}

}  // namespace
