#include "brunhale/PairConversion.h"

#include <unistd.h>

#include <exception>
#include <optional>
#include <vector>

#include "brunhale/Failure.h"
#include "brunhale/RecordWorker.h"
#include "brunhale/ShapePairing.h"
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

// What the row of one record block needs of it.
struct RowItem {
    long line = 0;
    std::string valuesText;
    bool hasValues = false;
};

struct RowWriter {
    TableOutput& dbf;
    void write(const RowItem& row) { dbf.writeRow(row.valuesText, row.hasValues, row.line); }
};

}  // namespace

void writeRecords(HeaderFileReader& header, CoordinateFileReader* coords, ShapefileOutput* shp, TableOutput& dbf) {
    RecordBlock rec;
    if (!shp) {
        while (header.next(rec)) dbf.writeRow(rec.valuesText, rec.hasValues, rec.line);
        return;
    }
    // The record blocks are read here; the shapes and the rows are written in a thread each.
    ShapePairing pairing(header.header().kind, *coords, *shp);
    RowWriter rowWriter{dbf};
    std::exception_ptr readingFailure;
    {
        RecordWorker<ShapeItem, ShapePairing> shapes(pairing);
        RecordWorker<RowItem, RowWriter> rows(rowWriter);
        try {
            while (!shapes.failed() && !rows.failed() && header.next(rec)) {
                shapes.next().take(rec);
                shapes.handOver();
                RowItem& row = rows.next();
                row.line = rec.line;
                row.valuesText = rec.valuesText;
                row.hasValues = rec.hasValues;
                rows.handOver();
            }
        } catch (...) {
            readingFailure = std::current_exception();
        }
        shapes.finish();
        rows.finish();
        // The first failure in reading order: of one record, its shape before its row; both before what the
        // reading met after handing them over.
        if (shapes.failure() && (!rows.failure() || shapes.failedAt() <= rows.failedAt()))
            std::rethrow_exception(shapes.failure());
        if (rows.failure()) std::rethrow_exception(rows.failure());
    }
    if (readingFailure) std::rethrow_exception(readingFailure);
    pairing.checkNoListLeft();
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
    // shapefile also replaces or removes its .prj, and takes the spatial indexes of the earlier shapes with
    // them.
    const bool withProjection = withShapes && !projectionWkt(hb.datum).empty();
    std::string shpPath, prjPath;
    if (withShapes) {
        shpPath = commit.place(".shp");
        commit.place(".shx");
        if (!withProjection) commit.removeOnCommit(".prj");
        else prjPath = commit.place(".prj");
    }
    const std::string dbfPath = commit.place(".dbf");
    commit.removeCompanionsOnCommit(withShapes ? files::ReplaceTogether::Describing::ShapesAndTable
                                               : files::ReplaceTogether::Describing::Table);

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
