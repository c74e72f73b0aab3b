// The polygon library's area-file reader: header and counts checks, then link, area and ledger records into
// the maker's maps. The first input byte picks the maker (and with it the ledger reader): repairing,
// cleaning, rural-designation or catchment; the rest is the file. Read failures are thrown as texts (or, for a line too short
// for its columns, as std::out_of_range), which the job turns into its failure box; anything else fails.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <memory>
#include <string>

#include "polygon/core/DataItems.h"
#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/KsPolygonMakerBasinFactory.h"
#include "tests/fuzz/FuzzInput.h"

using namespace ostrand;

namespace {

std::unique_ptr<KsPolygonMaker> maker(std::uint8_t choice, std::vector<std::string>* log) {
    switch (choice % 4) {
        case 0: return std::make_unique<KsPolygonMakerRepair>(*find_layer_record(0), "533945", log);
        case 1: return std::make_unique<KsPolygonMakerClean>(*find_layer_record(1), "533945", log);
        case 2: return std::make_unique<KsPolygonMakerRural>(*find_layer_record(3), "533945", log);
        default: return makeBasinMaker(*find_layer_record(20), {"81001", "81002"}, log);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::vector<std::string> log;
    const auto m = maker(data[0], &log);
    const std::string path = fuzz::writeScratch("area.txt", fuzz::asText(data + 1, size - 1));
    try {
        m->open(path);
    } catch (const std::string&) {
        // The reader's refusal of a bad file: the job shows it in its failure box.
    } catch (const std::out_of_range&) {
        // A record line too short for a column it must hold: the job shows this failure too.
    }
    return 0;
}
