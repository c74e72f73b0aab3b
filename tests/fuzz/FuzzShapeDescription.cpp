// The shape writer's description parser: the header file and the coordinate file (the input: header, a
// NUL, coordinates), walked and paired by the writer's own loop, with the shapes and rows written into the
// scratch folder whatever output the header names. A Failure is the writer's refusal of a malformed
// pair; any other exception would reach the writer's "internal error" and fails the target.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "brunhale/Failure.h"
#include "brunhale/PairConversion.h"
#include "brunhale/PairFormat.h"
#include "brunhale/ShapefileOutput.h"
#include "brunhale/TableOutput.h"
#include "brunhale/TrackedFiles.h"
#include "tests/fuzz/FuzzInput.h"

using namespace velmora::brunhale;

namespace {

void convert(const std::string& headerPath, const std::string& coordinatePath) {
    TrackedFiles::reset();
    TrackedFiles files;
    HeaderFileReader header(headerPath);
    const HeaderBlock& hb = header.header();
    std::optional<CoordinateFileReader> coords;
    std::optional<ShapefileOutput> shp;
    if (hb.kind != ShapeKind::Table) {
        coords.emplace(coordinatePath);
        shp.emplace(fuzz::scratchFolder() + "out.shp", hb.kind, files);
    }
    TableOutput dbf(fuzz::scratchFolder() + "out.dbf", hb.fields, files);
    writeRecords(header, coords ? &*coords : nullptr, shp ? &*shp : nullptr, dbf);
    if (shp) shp->close();
    dbf.close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::splitParts(fuzz::asText(data, size), 2);
    const std::string h = fuzz::writeScratch("MakeShapeFile.fil_H", parts[0]);
    const std::string d = fuzz::writeScratch("MakeShapeFile.fil_D", parts[1]);
    try {
        convert(h, d);
    } catch (const Failure&) {
    }
    return 0;
}
