#include "convert/line/LinkVertexStore.h"

#include "platform/db/Database.h"
#include "platform/db/FieldRules.h"

namespace ModLine {

namespace {

using velmora::db::FieldDef;
using velmora::db::FieldType;

const FieldDef& xField() {
    static const FieldDef f{"Ｘ座標", FieldType::Long};
    return f;
}
const FieldDef& yField() {
    static const FieldDef f{"Ｙ座標", FieldType::Long};
    return f;
}

}  // namespace

void LinkVertexStore::beginLink(std::int32_t linkIdx) {
    current_ = nullptr;
    if (linkIdx < 1) return;
    const auto slot = static_cast<std::size_t>(linkIdx) - 1;
    if (slot >= links_.size()) links_.resize(slot + 1);
    Link& link = links_[slot];
    if (link.begun) return;
    link.begun = true;
    link.first = points_.size();
    current_ = &link;
}

void LinkVertexStore::add(std::string_view x, std::string_view y) { add(velmora::db::wholeNumberFor(xField(), x), y); }

void LinkVertexStore::add(std::int64_t x, std::string_view y) {
    const auto px = static_cast<std::int32_t>(velmora::db::wholeNumberFor(xField(), x));
    const auto py = static_cast<std::int32_t>(velmora::db::wholeNumberFor(yField(), y));
    if (!current_) return;
    points_.push_back({px, py});
    ++current_->count;
}

const LinkVertexStore::Link* LinkVertexStore::find(std::int32_t linkIdx) const {
    if (linkIdx < 1 || static_cast<std::size_t>(linkIdx) > links_.size()) return nullptr;
    return &links_[static_cast<std::size_t>(linkIdx) - 1];
}

std::uint32_t LinkVertexStore::count(std::int32_t linkIdx) const {
    const Link* link = find(linkIdx);
    return link ? link->count : 0;
}

LinkVertexStore& linkVertexStore(velmora::db::Database& db) { return db.companion<LinkVertexStore>(); }

}  // namespace ModLine
