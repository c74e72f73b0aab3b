#pragma once
// The point converters (ModPoint) as the job procedures use them: one interface, so tests drive the jobs
// against recording fakes. The built-in implementation forwards to ModPoint.
//
// Every converter reads the selected point layer (SelectedIndex into PointLayers), writes into the
// intermediate pair that the job (or the converter) opened, drives ConvProgressBar and ConvMsgLabel, and
// shows its own message or run-time error box before it gives false.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class PointConversion {
public:
    using FileList = std::vector<std::string>;
    virtual ~PointConversion() = default;

    // Sets InputFileFormat from the first file (modCommon::ChkFileFormat); false after the mixed-format
    // message when a further file has another code.
    virtual bool ChkMakePoint_FileType(const FileList& files) = 0;
    // Land-price files: stores the common data year in DataYear; false after the mixed-year message.
    virtual bool ChkMakePoint_FileYear(const FileList& files) = 0;
    // Adapts the land-price layer's yearly items to DataYear (fixed-column input).
    virtual bool MakePoint_Chika_SetIniData() = 0;

    // Header blocks: ordinary output into the pair; split land-price output into the pair, "_Z" and (more
    // than 313 items) "_Z2", which it opens; the port layer into the pair and the nine "_0".."_8" files.
    virtual bool MakeShapePointFileData_ini() = 0;
    virtual bool MakeShapePointFileData_ini_Chika() = 0;
    virtual bool MakeShapePointFileData_ini_Kouwan() = 0;

    // One fixed-column file into the open pair (true also for a file of another layer, logged and skipped).
    virtual bool MakeShapePointFileData(const std::string& path) = 0;
    // The same for the records whose mesh code is selected; written tells whether any point was written.
    virtual bool MakeShapePointFileData_ALL(const std::string& path, bool& written) = 0;
    // Whether a mesh code lies in one of MeshRanges(1..MeshRangeCount).
    virtual bool ChkSelectMeshCode(std::string_view meshCode) = 0;
    // One comma- or tab-separated file (separator by InputFileFormat) into the open pair, its points
    // numbered from pointNumber on; the next number is left there for the job's next file.
    virtual bool MakeShapePointFileCSV(const std::string& path, std::int32_t& pointNumber) = 0;
    // Several fixed-column files of an ordinary layer, one point per distinct coordinate pair.
    virtual bool MakePoint_Multi(const FileList& files) = 0;

    // Land-price layers, split output (the pair and the split table files): one or several fixed-column
    // files, one or several CSV files (the CSV variants write the header blocks themselves).
    virtual bool MakePoint_Chika(const std::string& path) = 0;
    virtual bool MakePoint_Chika2(const FileList& files) = 0;
    virtual bool MakePoint_ChikaCSV(const std::string& path) = 0;
    virtual bool MakePoint_ChikaCSV2(const FileList& files) = 0;
    // Land-price layers, one table: close the pair and run the shape writer themselves.
    virtual bool MakePoint_Chika3(const FileList& files) = 0;
    virtual bool MakePoint_ChikaCSV3(const FileList& files) = 0;
    virtual bool MakePoint_ChikaCSV4(const std::string& path) = 0;

    // The whole port job inside the pair the caller opened, including the log's end line and closing the
    // log; completed is true only when the point shapefile and all nine tables were written.
    virtual bool MakePoint_Kouwan(const std::string& path, bool& completed) = 0;
};

// The implementation in force.
PointConversion& pointConversion();
// Installs an implementation (nullptr: none, every conversion unavailable); the caller keeps ownership.
void setPointConversion(PointConversion* conversion);

}  // namespace velmora
