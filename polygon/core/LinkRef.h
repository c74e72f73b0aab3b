#pragma once
// The key of one link of an area file and one entry of an area's link list.
#include <string>
#include <vector>

namespace ostrand {

struct LinkRef {
    std::string mesh_code;  // 6 characters, kept as read
    int link_no = 0;
    bool forward = true;    // false: the area walks the link backwards

    // Mesh codes as unsigned byte strings, then link numbers; the direction takes no part, so both
    // directions of a link find the same entry of the link map.
    bool operator<(const LinkRef& o) const {
        int c = mesh_code.compare(o.mesh_code);
        return c != 0 ? c < 0 : link_no < o.link_no;
    }
};

// Same length and, element by element, the same mesh code and link number (direction ignored).
inline bool same_links(const std::vector<LinkRef>& a, const std::vector<LinkRef>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].link_no != b[i].link_no || a[i].mesh_code != b[i].mesh_code) return false;
    return true;
}

}  // namespace ostrand
