#include "convert/point/PointDistinctRows.h"

#include <cstring>

namespace ModPoint {

using namespace velmora;

namespace {

// Eight bytes at a time, each word mixed in by a multiply and a shift.
std::uint64_t hashOf(std::string_view bytes) {
    std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ bytes.size();
    auto mixIn = [&h](std::uint64_t w) {
        h = (h ^ w) * 0xFF51AFD7ED558CCDULL;
        h ^= h >> 32;
    };
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t w = 0;
        std::memcpy(&w, bytes.data() + i, 8);
        mixIn(w);
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
    mixIn(tail);
    h *= 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 29);
}

}  // namespace

void appendNull(std::string& bytes) { bytes += '\0'; }

void appendValue(std::string& bytes, std::string_view value) {
    bytes += '\1';
    bytes += std::to_string(value.size());
    bytes += ':';
    bytes += value;
}

void rowBytes(const db::Query& row, int first, int last, std::string& bytes) {
    bytes.clear();
    for (int c = first; c <= last; ++c) {
        if (row.isNull(c)) appendNull(bytes);
        else appendValue(bytes, row.asText(c));
    }
}

DistinctRows::DistinctRows(db::Query earlierRow, int first, int last)
    : earlierRow_(std::move(earlierRow)), first_(first), last_(last), slots_(1u << 16) {}

bool DistinctRows::add(const std::string& bytes) {
    const auto rowid = static_cast<std::int64_t>(distinct_.size()) + 1;
    const std::uint64_t h = hashOf(bytes);
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = h & mask;
    for (; slots_[i].rowid != 0; i = (i + 1) & mask) {
        if (slots_[i].hash == h && sameAsRow(slots_[i].rowid, bytes)) {
            distinct_.push_back(false);
            return false;
        }
    }
    slots_[i] = {h, rowid};
    distinct_.push_back(true);
    if (static_cast<std::size_t>(++count_) * 2 > slots_.size()) grow();
    return true;
}

void DistinctRows::grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
        if (s.rowid == 0) continue;
        std::size_t i = s.hash & mask;
        while (slots_[i].rowid != 0) i = (i + 1) & mask;
        slots_[i] = s;
    }
}

bool DistinctRows::sameAsRow(std::int64_t rowid, const std::string& bytes) {
    earlierRow_.bind(1, rowid);
    if (!earlierRow_.next()) return false;
    rowBytes(earlierRow_, first_, last_, earlierBytes_);
    return earlierBytes_ == bytes;
}

}  // namespace ModPoint
