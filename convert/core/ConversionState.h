#pragma once
// The conversion state that the catalogue loader, the data-kind dialog, the job dialogs, the job procedures
// and every converter share for the whole run. One object, reached through conversionState(); tests start
// from a fresh one with resetConversionState().
//
// Texts read from data or catalogue files (layer rows, header fields) stay CP932 bytes; DataNames, paths
// and AppFolder are UTF-8.
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "convert/core/LayerDef.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/LineReader.h"
#include "platform/text/LineWriter.h"

class QLabel;
class QProgressBar;

namespace velmora {

// A slot holding one open file or none. The slot owns the file: opening closes what it held before,
// closing twice is harmless, and the file is closed when the state goes away.
template <class File>
class FileSlot {
public:
    // Opens a new file in the slot with File::open(args...). When the open fails the slot stays empty.
    template <class... Args>
    File& open(Args&&... args) {
        close();
        auto f = std::make_unique<File>();
        f->open(std::forward<Args>(args)...);
        file_ = std::move(f);
        return *file_;
    }
    bool isOpen() const { return file_ && file_->isOpen(); }
    // The open file; an empty slot is run-time error 52, as for a file number that is not open.
    File& file() {
        if (!isOpen()) throw RunTimeError(err::BadFileNameOrNumber, "Bad file name or number");
        return *file_;
    }
    // Closes the file and empties the slot; an empty slot stays as it is. A writer whose buffered lines
    // cannot be flushed reports RunTimeError(DeviceIoError) after the slot was emptied.
    void close() {
        std::unique_ptr<File> f = std::move(file_);
        if (f) f->close();
    }
    // Clears the slot on a failure path (a job that already failed): nothing is reported.
    void closeQuietly() noexcept {
        try {
            close();
        } catch (...) {
        }
    }

private:
    std::unique_ptr<File> file_;
};

using WriterSlot = FileSlot<text::LineWriter>;
using ReaderSlot = FileSlot<text::LineReader>;

// The header line of an input file: Text[0..4] are texts 1 to 5 (columns 1-3, 4-13, 14-23, 24-25, 26-29,
// untrimmed), Number the 16-bit number of columns 30-33.
struct HeaderFields {
    std::array<std::string, 5> Text{};
    std::int16_t Number = 0;
};

// One entry of selected mesh codes: the texts of its first and last code, compared as numbers by the
// converters (a text keeps codes of ten digits that no 32-bit number holds).
struct MeshRange {
    std::string FromCode;
    std::string ToCode;
};

struct ConversionState {
    ConversionState() = default;
    ConversionState(const ConversionState&) = delete;
    ConversionState& operator=(const ConversionState&) = delete;

    // Program folder followed by "/"; set by every load of the data-kind dialog.
    std::string AppFolder;
    // Display names of the data items by CatalogKind, each by row (UTF-8): the open dialogs' filters.
    std::array<std::vector<std::string>, 5> DataNames{};

    PointLayerTable PointLayers{};
    LineLayerTable LineLayers{};
    PolygonLayerTable PolygonLayers{};
    AttrLayerTable AttrLayers{};
    MeshLayerTable MeshLayers{};

    DataKind SelectedKind = DataKind::Point;
    std::int16_t SelectedIndex = 0;
    bool NationwideMode = false;
    // 1: polygons by the library, then the optional boundary lines and representative points;
    // 2: boundary lines and representative points only. Kept from the last area button.
    std::int16_t PolygonMakeMode = 0;
    std::string OutputPath;
    // -1 no projection file, 0 Japanese datum, 2000 world datum.
    std::int16_t DatumCode = 0;
    std::string LogFilePath;

    WriterSlot LogFileNo;
    ReaderSlot InFileNo;
    // The intermediate shape description: header-and-records file and coordinates file.
    WriterSlot FilHFileNo;
    WriterSlot FilDFileNo;
    // Extra header files of the two split land-price tables.
    WriterSlot FilZFileNo;
    WriterSlot FilZ2FileNo;

    // 1 fixed columns, 2 comma, 3 tab, 9 both.
    std::int16_t InputFileFormat = 0;
    std::int16_t DataYear = 0;

    // Header of the current point or attribute-table file and its record count.
    HeaderFields RecHedFields;
    std::int32_t RecHedCount = 0;
    // Header of the current line or area-structure file; HedCounts holds the seven places of its counts
    // line, place n at index n-1.
    HeaderFields HedFields;
    std::array<std::int32_t, 7> HedCounts{};
    // The seven counts as line 2 states them, count n at index n-1: what the file is checked against
    // once it has been read.
    std::array<std::int32_t, 7> HedCountsStated{};
    // [0] last number given to a link record; [1] last number given to a line or area record.
    std::array<std::int32_t, 2> LinkIdxCounter{};
    // Total, made, incomplete and attribute-record count of the last library job.
    std::array<std::int32_t, 4> PolygonCounts{};

    // The active job dialog's progress bar and message label; null when none (or when it went away).
    QPointer<QProgressBar> ConvProgressBar;
    QPointer<QLabel> ConvMsgLabel;

    // Mesh selection: -1 whole country, 0 nothing chosen, n entries.
    std::int32_t MeshRangeCount = 0;
    std::vector<MeshRange> MeshRanges;
    std::vector<std::string> RepMeshWhere;
    std::vector<std::string> StartMeshWhere;
    // The input files of the running job as their header lines told them apart: files of the selected
    // item, and files of another item (logged and passed over). A job that read none of the item's
    // files fails instead of writing an empty output.
    std::vector<std::string> ItemInputFiles;
    // Every input file the job was given, in list order (messages about the whole input name them).
    std::vector<std::string> JobInputFiles;
    std::vector<std::string> OtherItemInputFiles;
    // Files of the job with fewer records than their header states (UTF-8 notices): the job keeps its
    // output and tells the user before its closing question.
    std::vector<std::string> FewerRecordNotices;
    // A job procedure runs (from its start to its end, whatever the end).
    bool JobRunning = false;

    // Comma-separated catchment codes chosen in the catchment dialog.
    std::string CatchmentSelection;

    // The program's help page (set at start-up) and whether the help viewer was opened during the run.
    std::string HelpFile;
    bool HelpOpened = false;

    std::vector<std::string>& dataNames(CatalogKind k) { return DataNames[number(k)]; }
    const std::vector<std::string>& dataNames(CatalogKind k) const { return DataNames[number(k)]; }

    // Name of a row of the layer table of a kind; a row outside the table is run-time error 9.
    const std::string& layerName(DataKind kind, long row);
    // Name of the current data item (row SelectedIndex of the table of SelectedKind).
    const std::string& selectedLayerName() { return layerName(SelectedKind, SelectedIndex); }
};

// The state of the run.
ConversionState& conversionState();
// Returns the state to its initial values (tests): files still open are closed. References to the state
// stay valid.
void resetConversionState();

// The program folder (the folder of the running executable, without a final "/"), unless a test set
// another one.
const std::string& programFolder();
// Sets the program folder (tests; empty restores the executable's folder).
void setProgramFolder(const std::string& folder);

}  // namespace velmora
