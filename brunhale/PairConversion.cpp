#include "brunhale/PairConversion.h"

#include <unistd.h>

#include <optional>
#include <vector>

#include "brunhale/Failure.h"
#include "brunhale/GeometryHalf.h"
#include "brunhale/OutputCommit.h"
#include "brunhale/PairFormat.h"
#include "brunhale/ProjectionFile.h"
#include "brunhale/ShapefileOutput.h"
#include "brunhale/TableOutput.h"
#include "brunhale/TrackedFiles.h"
#include "platform/text/Cp932.h"

namespace velmora::brunhale {

namespace {

// The output base travels in CP932; the file system speaks UTF-8.
std::string outputBase(const std::string& cp932) {
    std::string utf8 = text::fromCp932(cp932);
    if (!text::canEncodeCp932(utf8) || text::toCp932(utf8) != cp932)
        malformedAt(HeaderFileName, 1, "the output name is not valid Shift-JIS text");
    return utf8;
}

}  // namespace

void writeRecords(HeaderFileReader& header, CoordinateFileReader* coords, ShapefileOutput* shp, TableOutput& dbf) {
    RecordBlock rec;
    if (!shp) {
        while (header.next(rec)) dbf.writeRow(rec.valuesText, rec.hasValues, rec.line);
        return;
    }
    GeometryHalf shapes(header.header().kind, *coords, *shp);
    try {
        while (header.next(rec)) {
            shapes.add(rec);
            dbf.writeRow(rec.valuesText, rec.hasValues, rec.line);
        }
    } catch (...) {
        shapes.finishAfterFailure();
        throw;
    }
    shapes.finish();
}

void convertPair(const std::string& folder) {
    TrackedFiles::reset();
    TrackedFiles files;
    HeaderFileReader header(folder + "/" + HeaderFileName);
    const HeaderBlock& hb = header.header();
    const bool withShapes = hb.kind != ShapeKind::Table;
    const std::string base = outputBase(hb.base);

    OutputCommit commit(base, static_cast<long>(::getpid()));
    commit.clearLeftovers();

    // Every target is registered before anything is written, so a name that cannot be replaced fails the
    // run first. A table touches its .dbf alone (and a stale .cpg, which would describe it wrongly); a
    // shapefile also replaces or removes its .prj.
    const bool withProjection = withShapes && !projectionWkt(hb.datum).empty();
    std::string shpPath, prjPath;
    if (withShapes) {
        shpPath = commit.place(".shp");
        commit.place(".shx");
        if (!withProjection) commit.removeOnCommit(".prj");
        else prjPath = commit.place(".prj");
    }
    const std::string dbfPath = commit.place(".dbf");
    commit.removeOnCommit(".cpg");

    // A table takes no coordinates: its coordinate file is not even opened.
    std::optional<CoordinateFileReader> coords;
    std::optional<ShapefileOutput> shp;
    if (withShapes) {
        coords.emplace(folder + "/" + CoordinateFileName);
        shp.emplace(shpPath, hb.kind, files);
    }
    TableOutput dbf(dbfPath, hb.fields, files);

    writeRecords(header, coords ? &*coords : nullptr, shp ? &*shp : nullptr, dbf);

    if (shp) shp->close();
    dbf.close();

    if (withProjection) writeProjectionFile(prjPath, hb.datum);
    commit.commit();
}

void settleOutput(const std::string& folder) {
    HeaderFileReader header(folder + "/" + HeaderFileName);
    OutputCommit(outputBase(header.header().base), static_cast<long>(::getpid())).clearLeftovers();
}

std::string programFolder() {
    std::vector<char> buf(4096);
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) throw Failure(ExitCode::Internal, "cannot read /proc/self/exe");
    std::string exe(buf.data(), static_cast<std::size_t>(n));
    std::size_t slash = exe.rfind('/');
    return slash == 0 ? "/" : exe.substr(0, slash);
}

}  // namespace velmora::brunhale
