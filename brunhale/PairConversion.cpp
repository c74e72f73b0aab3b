#include "brunhale/PairConversion.h"

#include <unistd.h>

#include <optional>
#include <vector>

#include "brunhale/Failure.h"
#include "brunhale/OutputCommit.h"
#include "brunhale/PairFormat.h"
#include "brunhale/ProjectionFile.h"
#include "brunhale/ShapefileOutput.h"
#include "brunhale/TableOutput.h"
#include "brunhale/TrackedFiles.h"
#include "platform/text/Cp932.h"

namespace velmora::brunhale {

namespace {

[[noreturn]] void malformedAt(const char* file, long line, const std::string& what) {
    throw Failure(ExitCode::Malformed, std::string(file) + " line " + std::to_string(line) + ": " + what);
}

// The output base travels in CP932; the file system speaks UTF-8.
std::string outputBase(const std::string& cp932) {
    std::string utf8 = text::fromCp932(cp932);
    if (!text::canEncodeCp932(utf8) || text::toCp932(utf8) != cp932)
        malformedAt(HeaderFileName, 1, "the output name is not valid Shift-JIS text");
    return utf8;
}

void writeShape(ShapefileOutput& shp, ShapeKind kind, const RecordBlock& rec, long listLine, std::vector<double>& xs,
                std::vector<double>& ys) {
    if (kind == ShapeKind::Point) {
        if (xs.empty()) shp.writeNull();
        else if (xs.size() == 1) shp.writePoint(xs[0], ys[0]);
        else malformedAt(CoordinateFileName, listLine, "point " + std::to_string(rec.id) + " has " + std::to_string(xs.size()) + " vertices");
        return;
    }
    if (static_cast<int>(xs.size()) != rec.points)
        malformedAt(HeaderFileName, rec.line,
                    "PARTS_POINTS of " + std::to_string(rec.id) + " gives " + std::to_string(rec.points) +
                        " points, its vertex list (" + CoordinateFileName + " line " + std::to_string(listLine) + ") has " +
                        std::to_string(xs.size()));
    if (xs.empty()) shp.writeNull();
    else shp.writeParts(rec.partStarts, xs, ys);
}

}  // namespace

void writeRecords(HeaderFileReader& header, CoordinateFileReader* coords, ShapefileOutput* shp, TableOutput& dbf) {
    const ShapeKind kind = header.header().kind;
    // Record blocks and vertex lists are paired by walking both files in order: a block takes the next
    // vertex list when the ids agree, otherwise its shape is null (a mesh cell whose ring was written
    // under the id of an earlier record; every station carries id 1 and so pairs in turn).
    RecordBlock rec;
    std::vector<double> xs, ys;
    while (header.next(rec)) {
        if (shp) {
            if (coords->hasList() && coords->nextId() == rec.id) {
                long listLine = coords->nextLine();
                coords->takeList(xs, ys);
                writeShape(*shp, kind, rec, listLine, xs, ys);
            } else {
                shp->writeNull();
            }
        }
        dbf.writeRow(rec.valuesText, rec.hasValues, rec.line);
    }
    if (coords && coords->hasList())
        malformedAt(CoordinateFileName, coords->nextLine(),
                    "vertex list " + std::to_string(coords->nextId()) + " has no record block");
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
