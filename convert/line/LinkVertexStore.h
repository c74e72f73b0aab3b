#pragma once
// The points of every link of a job, in the order the loader read them, kept beside the work database
// rather than in it. The writers only ever read a link's points as a whole, in reading order, so a table
// row and two index entries per point bought nothing but time: building those indexes alone took a third
// of a nationwide road job. A point takes 8 bytes here, about half the text it was read from.
//
//   LinkVertexStore& store = linkVertexStore(db);   // the store of this database, while it is open
//   store.beginLink(linkIdx);                       // the loader, per link record
//   store.add(x, y);                                // per point, in reading order
//   store.forEach(linkIdx, [](LinkPoint p) {...});  // the writers, per link
#include <bit>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <string_view>
#include <vector>

#include "platform/memory/LargePages.h"

namespace velmora::db {
class Database;
}

namespace ModLine {

struct LinkPoint {
    std::int32_t x, y;
};

class LinkVertexStore {
public:
    // The points added from now on are those of link `linkIdx`, until the next link begins. A link number
    // that was given before keeps the points of its first link; the later link's points are dropped, as
    // a look-up of a link's first point never reached them.
    void beginLink(std::int32_t linkIdx);
    // A point read as text, converted as a Long field of the work database converts it (its run-time
    // errors name the field "Ｘ座標" or "Ｙ座標"), and added to the link begun last. Nothing is added when
    // either coordinate is refused.
    void add(std::string_view x, std::string_view y);
    // The same with x already read as a whole number.
    void add(std::int64_t x, std::string_view y);

    // The number of points of a link; 0 for a link without points or never begun.
    std::uint32_t count(std::int32_t linkIdx) const;
    // Calls `f(LinkPoint)` for each point of the link, in reading order.
    template <class F>
    void forEach(std::int32_t linkIdx, F&& f) const {
        const Link* link = find(linkIdx);
        if (!link) return;
        for (std::uint64_t i = link->first, end = link->first + link->count; i < end; ++i) f(points_[i]);
    }
    // The highest LinkIdx begun so far (0 for none).
    std::int32_t lastLinkIdx() const { return static_cast<std::int32_t>(links_.size()); }

private:
    struct Link {
        std::uint64_t first = 0;  // position of its first point
        std::uint32_t count = 0;
        bool begun = false;
    };
    const Link* find(std::int32_t linkIdx) const;

    // An array that grows by blocks of 2 MB and never moves what it holds: no moment holds two copies of
    // a nationwide job's points, and a pointer to an element stays good. A block is one large page where
    // the system gives one (a fault per 2 MB rather than per 4 KB as the loader fills it).
    template <class T>
    class Blocks {
    public:
        std::uint64_t size() const { return size_; }
        T& operator[](std::uint64_t i) { return blocks_[i >> kBits].get()[i & kMask]; }
        const T& operator[](std::uint64_t i) const { return blocks_[i >> kBits].get()[i & kMask]; }
        void push_back(const T& value) {
            if ((size_ & kMask) == 0 && (size_ >> kBits) == blocks_.size()) addBlock();
            (*this)[size_++] = value;
        }
        void resize(std::uint64_t n) {
            while (size_ < n) push_back(T{});
        }

    private:
        static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
        static constexpr std::uint64_t kPerBlock = velmora::memory::kLargePage / sizeof(T);
        static_assert((kPerBlock & (kPerBlock - 1)) == 0, "a block holds a power of two elements");
        static constexpr unsigned kBits = std::countr_zero(kPerBlock);
        static constexpr std::uint64_t kMask = kPerBlock - 1;
        struct Unmap {
            void operator()(T* p) const { velmora::memory::unmapLargePages(p, velmora::memory::kLargePage); }
        };
        void addBlock() {
            // Not zeroed beyond what the system gives: every slot is written before it is read.
            T* p = static_cast<T*>(velmora::memory::mapLargePages(velmora::memory::kLargePage));
            if (!p) throw std::bad_alloc();
            blocks_.emplace_back(p);
        }
        std::vector<std::unique_ptr<T, Unmap>> blocks_;
        std::uint64_t size_ = 0;
    };

    Blocks<LinkPoint> points_;
    Blocks<Link> links_;       // by LinkIdx - 1
    Link* current_ = nullptr;  // null while points are dropped
};

// The store kept with the database for as long as it is open (3420 when it is closed).
LinkVertexStore& linkVertexStore(velmora::db::Database& db);

}  // namespace ModLine
