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
#include <cstdint>
#include <deque>
#include <string_view>

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

    // The number of points of a link; 0 for a link without points or never begun.
    std::uint32_t count(std::int32_t linkIdx) const;
    // The highest LinkIdx begun so far (0 for none).
    std::int32_t lastLinkIdx() const { return static_cast<std::int32_t>(links_.size()); }
    // Calls `f(LinkPoint)` for each point of the link, in reading order.
    template <class F>
    void forEach(std::int32_t linkIdx, F&& f) const {
        const Link* link = find(linkIdx);
        if (!link) return;
        auto it = points_.begin() + static_cast<std::ptrdiff_t>(link->first);
        for (std::uint32_t i = 0; i < link->count; ++i, ++it) f(*it);
    }

private:
    struct Link {
        std::uint64_t first = 0;  // position of its first point
        std::uint32_t count = 0;
        bool begun = false;
    };
    const Link* find(std::int32_t linkIdx) const;

    // Deques grow without copying what they hold: no moment holds two copies of a nationwide job's points.
    std::deque<LinkPoint> points_;
    std::deque<Link> links_;  // by LinkIdx - 1
    Link* current_ = nullptr;  // null while points are dropped
};

// The store kept with the database for as long as it is open (3420 when it is closed).
LinkVertexStore& linkVertexStore(velmora::db::Database& db);

}  // namespace ModLine
