// The catchment maker's reading side: the catchment codes and the ledger reader that keeps only the
// records of those codes.
#include "polygon/core/KsPolygonMakerBasin.h"

#include <algorithm>
#include <climits>

#include "polygon/core/AreaLineSource.h"
#include "polygon/core/TextUtil.h"

namespace ostrand {

namespace {

const char* const kAttrCodeFailure = "Invalid layer code. KsPolygonMakerBasin::read_attr()";
const char* const kAttrEofFailure = "Unexpected EOF. KsPolygonMakerBasin::read_attr()";

// The ledger's catchment code (水系域コード).
constexpr std::size_t kCodeAt = 17, kCodeWidth = 5;

// The attribute number of a stored record. Catchment numbers above the offset would be taken for link
// chains split off another catchment, and the chains split off catchment 0 would take the number of
// catchment 900000, so these fail the file instead of mixing the two up.
int checked_attr_no(const AreaLineSource& in, const std::string& text, bool catchment) {
    const std::string_view f = in.field(text, 3, 10);
    const long long v = read_integer(f.data(), f.data() + f.size());
    if (catchment && (v < 1 || v > kBasinPartOffset))
        throw "Invalid attribute number " + std::to_string(v) + " (catchments take 1 to " +
            std::to_string(kBasinPartOffset) + "). KsPolygonMakerBasin::read_attr()";
    if (v < INT_MIN || v > INT_MAX) throw std::string("Invalid attribute number. KsPolygonMakerBasin::read_attr()");
    return static_cast<int>(v);
}

}  // namespace

KsPolygonMakerBasin::~KsPolygonMakerBasin() = default;

void KsPolygonMakerBasin::add_code(const std::string& code) { basin_codes.push_back(code); }

void KsPolygonMakerBasin::read_attr(AreaLineSource& in, int line_count) {
    const bool catchment = data_id() == 20;
    int lines_read = 0;
    while (lines_read < line_count) {
        std::string text;
        if (!in.read_whole(text)) throw std::string(kAttrEofFailure);
        if (text.substr(0, 2) != "DA") throw std::string(kAttrCodeFailure);
        const std::string_view count = in.field(text, 13, 3);
        const int m = static_cast<int>(
            std::clamp<long long>(read_integer(count.data(), count.data() + count.size()), INT_MIN, INT_MAX));
        std::string more;
        for (int i = 1; i < m; ++i) {
            if (!in.read_whole(more)) throw std::string(kAttrEofFailure);
            text += more;
        }
        lines_read += std::max(m, 1);
        if (catchment) {
            if (basin_codes.empty()) throw sjis("水系域コードが指定されていません。");
            const std::string_view code = in.field(text, kCodeAt, kCodeWidth);
            if (std::find(basin_codes.begin(), basin_codes.end(), code) == basin_codes.end()) continue;
        }
        const int attr_no = checked_attr_no(in, text, catchment);
        store_attr_record(attr_no, std::move(text));
    }
}

}  // namespace ostrand
