#include "brunhale/FieldNames.h"

#include <set>

#include "platform/text/Sjis.h"

namespace velmora::brunhale {

namespace {

constexpr long MaxNameBytes = 10;

// Upper-cases single-byte letters only: the second byte of a double-byte character may look like one.
std::string folded(std::string_view name) {
    std::string out(name);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if (text::isSjisLeadByte(c)) ++i;
        else if (c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

std::string dbfFieldName(std::string_view name) { return std::string(text::sjisByteCut(name, 1, MaxNameBytes)); }

std::vector<std::string> dbfFieldNames(const std::vector<FieldDef>& fields) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (const FieldDef& f : fields) {
        const std::string cut = dbfFieldName(f.name);
        std::string name = cut;
        for (long k = 1; taken.count(folded(name)) != 0; ++k) {
            const std::string tail = "_" + std::to_string(k);
            name = std::string(text::sjisByteCut(cut, 1, MaxNameBytes - static_cast<long>(tail.size()))) + tail;
        }
        taken.insert(folded(name));
        names.push_back(std::move(name));
    }
    return names;
}

}  // namespace velmora::brunhale
