#include "convert/point/PointWriters.h"

#include <cstdint>
#include <span>
#include <vector>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/RunningNumber.h"
#include "convert/point/PointFieldBlock.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointNumberFit.h"
#include "convert/point/PointProgress.h"
#include "convert/point/PointRecords.h"
#include "convert/point/LandPriceFixed.h"
#include "convert/point/PortLayer.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

using namespace velmora;

namespace {

// Whether the code lies in a selected range; a code that is no number throws RunTimeError(13).
bool meshCodeSelected(std::string_view meshCode) {
    const ConversionState& s = conversionState();
    if (text::trimBlanks(meshCode).empty()) return false;
    const double code = text::toDouble(meshCode);
    // Entry 0 of the list is never used: the selection fills entries 1 .. MeshRangeCount.
    for (std::int32_t i = 1; i <= s.MeshRangeCount; ++i) {
        if (static_cast<std::size_t>(i) >= s.MeshRanges.size())
            throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
        const MeshRange& r = s.MeshRanges[static_cast<std::size_t>(i)];
        if (text::toDouble(r.FromCode) <= code && code <= text::toDouble(r.ToCode)) return true;
    }
    return false;
}

// The part the fixed-column writers share: the progress display, the loop over the file's point records,
// the log lines of unusable coordinates and the record blocks.
class PointFileWriter {
public:
    PointFileWriter(RecordWriter kind, const char* procedure) : kind_(kind), procedure_(procedure) {}

    // True when the file was read to its end or skipped; false after a message.
    bool run(const std::string& path) {
        ConversionState& s = conversionState();
        try {
            const InputStart start = openPointInput(path);
            if (start != InputStart::Ready) return start == InputStart::Skipped;
            showWriterProgress(s.RecHedCount);
            const bool ok = writeRecords(s.InFileNo.file());
            if (ok) {
                const long lines = s.InFileNo.file().lineNumber();
                s.InFileNo.close();
                modCommon::ChkStatedRecordCount(path, s.RecHedCount, lines);
            }
            return ok;
        } catch (const std::exception& e) {
            s.InFileNo.closeQuietly();
            ui::showError(e, std::string("Error: ModPoint (ModPoint ") + procedure_ + ")");
            return false;
        }
    }
    bool written() const { return written_; }

private:
    bool writeRecords(text::LineReader& in) {
        ConversionState& s = conversionState();
        const LayerDef& layer = selectedPointLayer();
        const bool port = s.SelectedIndex == kPortRow;
        text::LineWriter& h = s.FilHFileNo.file();
        text::LineWriter& d = s.FilDFileNo.file();
        std::string line;
        std::vector<std::string_view> values;
        std::int32_t id = 1;
        bool meshBoxShown = false;
        const bool meshFiltered = kind_ == RecordWriter::MeshFiltered;
        while (in.next(line)) {
            if (!isPointRecord(line)) continue;
            // A file cut inside the record is refused; a whole line that ends before its coordinates
            // do has them blank: logged and skipped below.
            modCommon::ChkRecordLength(line, kPointCoordinatesEnd);
            const PointColumns p = cutPoint(line);
            if (meshFiltered && !selected(p.mesh, meshBoxShown)) {
                progress::step();
                continue;
            }
            if (const std::int16_t code = unusableCoordinates(p.x, p.y)) {
                // The whole-file writer counts every record, so its ids and log numbers are the record's
                // place among the point records; the land-price writer names the line after the header.
                const long number = kind_ == RecordWriter::LandPriceSplit ? in.lineNumber() - 1 : id;
                modCommon::PutLogFileMsg(code, "LINE:" + std::to_string(number));
                if (kind_ == RecordWriter::WholeFile) ModLine::incremented(id);
                progress::step();
                continue;
            }
            double x = 0, y = 0;
            if (!ModPolygon::XYtoData(text::trimBlanks(p.x), x) || !ModPolygon::XYtoData(text::trimBlanks(p.y), y))
                return false;
            shapedesc::writeLinkIdx(d, id);
            shapedesc::writeLinkData(d, x, y);
            shapedesc::writeLinkNo(h, id);
            if (kind_ == RecordWriter::LandPriceSplit) {
                if (!MakeShapeDbfData_Chika(line, id)) return false;
            } else if (port) {
                if (!MakeShapeDbfData_Kouwan(line, id)) return false;
            } else {
                values.clear();
                appendItemValues(layer, line, 1, layer.ItemCount, meshFiltered ? ValueCut::AsCut : ValueCut::Trimmed,
                                 values);
                fitNumbers(layer, 1, layer.ItemCount, values, inputRecord);
                if (!meshFiltered) trimJoinedEnds(values);
                shapedesc::writeDbfItem(h, std::span<const std::string_view>(values));
            }
            written_ = true;
            ModLine::incremented(id);
            progress::step();
        }
        return true;
    }

    // One error box per file for mesh codes that are no numbers: a file of thousands of such records
    // would otherwise stop the user at every one. Later ones count as outside the ranges.
    static bool selected(std::string_view mesh, bool& boxShown) {
        try {
            return meshCodeSelected(mesh);
        } catch (const RunTimeError& e) {
            if (!boxShown) ui::showRunTimeError(e, "Error: ModPoint (ModPoint ChkSelectMeshCode)");
            boxShown = true;
            return false;
        }
    }

    RecordWriter kind_;
    const char* procedure_;
    bool written_ = false;
};

}  // namespace

bool MakeShapePointFileData_ini() {
    try {
        ConversionState& s = conversionState();
        const LayerDef& layer = selectedPointLayer();
        text::LineWriter& h = s.FilHFileNo.file();
        shapedesc::writeMakeFileName(h, shapedesc::shapeBaseName(s.OutputPath));
        shapedesc::writeShapeType(h, shapedesc::Kind::Point, s.DatumCode);
        startNumberFit();
        return writeFieldBlock(h, layer, 1, layer.ItemCount, false);
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakeShapePointFileData_ini)");
        return false;
    }
}

bool writePointFile(RecordWriter kind, const std::string& path, const char* procedure, bool* written) {
    PointFileWriter writer(kind, procedure);
    const bool ok = writer.run(path);
    if (written) *written = writer.written();
    return ok;
}

bool MakeShapePointFileData(const std::string& path) {
    return writePointFile(RecordWriter::WholeFile, path, "MakeShapePointFileData");
}

bool MakeShapePointFileData_ALL(const std::string& path, bool& written) {
    written = false;
    return writePointFile(RecordWriter::MeshFiltered, path, "MakeShapePointFileData_ALL", &written);
}

bool ChkSelectMeshCode(std::string_view meshCode) {
    try {
        return meshCodeSelected(meshCode);
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint ChkSelectMeshCode)");
        return false;
    }
}

}  // namespace ModPoint
