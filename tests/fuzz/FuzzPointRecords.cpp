// The point converters' record cuts and layout texts over each line of the input: the "P" record's mesh
// and coordinate columns with their usability check, the line split as a delimited record and as a layout
// line, and each field read as a sub-field rule. RunTimeError is how that rule's reader refuses a field.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/point/CsvItemLayout.h"
#include "convert/point/PointRecords.h"
#include "platform/errors/RunTimeError.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

volatile unsigned sink;
void use(std::string_view s) {
    for (char c : s) sink = sink + static_cast<unsigned char>(c);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string_view> fields;
    for (std::string_view line : fuzz::lines(fuzz::asText(data, size))) {
        if (ModPoint::isPointRecord(line)) {
            const ModPoint::PointColumns p = ModPoint::cutPoint(line);
            use(p.mesh), use(p.x), use(p.y);
            sink = sink + static_cast<unsigned>(ModPoint::unusableCoordinates(p.x, p.y));
        }
        ModPoint::splitAt(line, '\t', fields);
        ModPoint::trimJoinedEnds(fields);
        for (std::string_view f : fields) use(f);
        for (std::string_view f : ModPoint::layoutFields(line)) {
            try {
                const ModPoint::SubFieldSpec spec = ModPoint::parseSubFieldSpec(std::string(f));
                sink = sink + static_cast<unsigned>(spec.start + spec.length + spec.columns.size());
            } catch (const velmora::RunTimeError&) {
            }
        }
    }
    return 0;
}
