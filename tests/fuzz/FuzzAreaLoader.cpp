// The area-structure file loader, record by record into the area job's work database: header and counts,
// "N" nodes, "L" links with their vertex lines, "A" areas with their reference lines, "DA" ledgers laid out
// by the row's items. The first input byte picks the area row (0-11), the rest is the file.
#include <cstddef>
#include <cstdint>

#include "convert/area/PolygonDb.h"
#include "convert/area/PolygonLoader.h"
#include "platform/db/Database.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzJob.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    fuzz::startJob(velmora::DataKind::Area, data[0] % velmora::ModPolygon::kAreaItemRows);
    const std::string path = fuzz::writeScratch("input.txt", fuzz::asText(data + 1, size - 1));
    if (!velmora::ModPolygon::MakePolygonDb()) return 0;
    velmora::db::Database db = velmora::db::Database::open(velmora::ModPolygon::PolygonDbPath());
    velmora::ModPolygon::PolySetTextToTbl(db, path);
    return 0;
}
