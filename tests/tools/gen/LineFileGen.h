#pragma once
// Test data generator for line files of the data set: the fixed-column layout of the header line, the
// counts line, node records "N", link records "L" with vertex lines, line records "S" with reference
// lines and the ledger records "DS", "DL", "DP", written in CP932 with CR LF.
//
// Generation goes through a model (LineFileModel) that holds every record as plain values; tests may
// edit the model before writing it, and compare what a loader stored with the model they wrote.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "convert/core/LayerDef.h"

namespace velmora::gen {

enum class LineItem { Ordinary, Road, Railway };

// One item (attribute column) of a line ledger record "DS": its catalogue description.
struct LedgerItemDef {
    std::string name;  // UTF-8
    std::string type;  // "Integer", "Long", "Text", "Text1", "Text2"
    int start;         // 1-based Shift-JIS byte
    int width;         // bytes
    bool output;
};

// The items the generator writes into every "DS" record: a text, a 16-bit number, a text of
// double-byte characters, and a 32-bit number that is not flagged for output.
const std::vector<LedgerItemDef>& ordinaryLedgerItems();

// The items of the road item's catalogue row: fields of リンク台帳データ read back by name.
const std::vector<LedgerItemDef>& roadLedgerItems();

// A line-table catalogue row that describes generated files: name and header key (UTF-8, stored as CP932)
// and the items in order, numbered from 1.
void fillLineLayerRow(LayerDef& row, const std::string& name, const std::string& headerKey,
                      const std::vector<LedgerItemDef>& items);

struct GenNode {
    std::string layerCode = "N";
    int mesh = 0;
    int serial = 0;
    long x = 0, y = 0;
    int ledgerFlag = 0;
    std::optional<long long> attribute;  // blank when empty
    int linkCount = 0;
    int frameInfo = 0;
    std::optional<int> pairMesh, pairNumber;
};

struct GenLink {
    std::string layerCode = "L";
    int startMesh = 0, startNumber = 0, endMesh = 0, endNumber = 0;
    int serial = 0;
    int ledgerFlag = 0;
    std::optional<long long> attribute;  // blank when empty
    std::vector<std::pair<long, long>> vertices;
    // Written as the count column; nullopt writes vertices.size().
    std::optional<int> declaredVertexCount;
};

struct GenReference {
    int mesh = 0;
    int number = 0;  // negative: the link is referenced against its direction
    int flag = 0;
};

struct GenLine {
    std::string layerCode = "S";
    int startMesh = 0, startNumber = 0, endMesh = 0, endNumber = 0;
    int serial = 0;
    int ledgerFlag = 0;
    long long attribute = 0;
    std::vector<GenReference> references;
};

// "DS": attribute number, row count 1, one value per ledger item (UTF-8 text; empty = blank).
struct GenLineLedger {
    long long attribute = 0;
    std::vector<std::string> values;
};

// "DL": the road ledger.
struct GenRoadLedger {
    long long attribute = 0;
    int roadKind = 0;
    std::string routeName, lineName, commonName;  // UTF-8
};

// "DP": the station ledger.
struct GenStationLedger {
    long long attribute = 0;
    std::string name;  // UTF-8
};

struct LineFileModel {
    std::string headerKey;  // written into the data-code columns 14-23 (at most 10 bytes in CP932)
    std::string year = "2006";
    std::vector<GenNode> nodes;
    std::vector<GenLink> links;
    std::vector<GenLine> lines;
    std::vector<GenLineLedger> lineLedgers;
    std::vector<GenRoadLedger> roadLedgers;
    std::vector<GenStationLedger> stationLedgers;

    // Record lines the loader counts (every record but the continuation lines): count 1.
    long recordLines() const;
    long ledgerLines() const;
    // Link and line records with their continuation lines as written: counts 3 and 4.
    long linkLines() const;
    long lineLines() const;
};

struct LineFileOptions {
    LineItem item = LineItem::Ordinary;
    std::string headerKey = "N99";
    std::vector<int> meshes = {533945, 533946};  // links, lines and stations spread over these
    int links = 10;
    int verticesPerLink = 7;  // a count not a multiple of five leaves a short last vertex line
    int lines = 4;            // "S" records (ordinary and railway items; the road item has none)
    int linksPerLine = 3;
    int stations = 0;         // railway item: nodes with the ledger flag and a "DP" record each
    int firstLinkSerial = 1;  // two files whose ranges overlap share the links of the overlap
    int firstLineSerial = 1;
    bool blankOptionalFields = false;  // blank optional columns (see the generator for which)
    bool reversedReferences = false;   // every second reference names its link with a minus sign
    int missingLedgerEvery = 0;        // every k-th attribute number gets no ledger record (0: none)
    // Link serial numbers start again at 1 in every mesh, as in the data set's files, so that a link is
    // named only by its mesh and serial together; otherwise the link's running number serves as its
    // serial, unique over the whole file.
    bool serialsPerMesh = false;
};

// Builds the model of one file. Coordinates lie inside the record's mesh and are a function of the
// link's mesh, serial and vertex position only, so a link generated for two files is equal in both.
LineFileModel makeLineFileModel(const LineFileOptions& options);

// The file's bytes (CP932, CR LF).
std::string formatLineFile(const LineFileModel& model);
// Writes the file; throws std::runtime_error when it cannot.
void writeLineFile(const std::string& path, const LineFileModel& model);

// Fixed-column helpers (also used by tests that write single records by hand). Numbers are
// right-aligned, texts padded with blanks to `width` bytes (CP932).
std::string rightAligned(long long value, int width);
std::string padCp932(const std::string& utf8, int width);

}  // namespace velmora::gen
