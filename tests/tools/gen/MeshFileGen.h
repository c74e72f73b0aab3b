#pragma once
// Test data generator for mesh files of the data set: the header line, fixed-column "M" records of a
// second-level, third-level or half mesh layer (whole cells or the n × n cells of a subdivision), and the
// census layer's comma- or tab-separated lines; written in CP932 with CR LF.
//
// Generation goes through a model (MeshFileModel) holding every record as plain values; tests may edit it
// before writing. Item positions are those of the catalogue row the model describes (fillMeshLayerRow).
#include <optional>
#include <string>
#include <vector>

#include "convert/core/LayerDef.h"
#include "tests/tools/gen/LineFileGen.h"

namespace velmora::gen {

enum class MeshFileFormat { Fixed, Comma, Tab };

// The items of generated files, as their catalogue row describes them (name, type, byte start, width,
// output flag). Fixed-column whole cells: a code, a number, a text of double-byte characters, a small
// number. Subdivided cells: a land-use letter and a height, each cell's values after the previous cell's
// from byte 15. Census lines: two counts (positions unused).
const std::vector<LedgerItemDef>& meshItems(MeshFileFormat format, int subdivision);

// Layers with records of their own: the forest and lake layers name ledger entries at fixed bytes of their
// third-level records (forest: 7-byte ledger numbers at 20, 27, 34, 41, 48; lake: 6-byte lake codes at 21
// and 34, 40, ... 82) and carry "DM" ledger records; the four-way layer is a second-level layer with a
// season digit at character 12.
enum class MeshLayerKind { Plain, Forest, Lake, FourWay };
// Their items, laid out around those bytes: forest 26 items, lake 12, four-way 3.
const std::vector<LedgerItemDef>& layerItems(MeshLayerKind kind);

// A forest ledger record: the "DM" line and the account name and address lines after it.
struct GenForestLedger {
    long number = 0;  // bytes 4-10
    int no1 = 0, no2 = 0, organisation = 0;
    long office = 0, area = 0;
    std::string name, address;  // UTF-8; each a line of its own
};
std::vector<std::string> forestLedgerLines(const GenForestLedger& ledger);
// The i-th generated forest ledger record (number 1000000 + i).
GenForestLedger generatedForestLedger(int i);

// A lake ledger record: one "DM" line.
struct GenLakeLedger {
    long code = 0;     // bytes 4-11
    std::string name;  // UTF-8, bytes 15-46
    int height = 0, depth = 0;
};
std::string lakeLedgerLine(const GenLakeLedger& ledger);

// A mesh-table catalogue row describing generated files: name and header key (UTF-8, stored as CP932),
// level, subdivision and the items in order, numbered from 1.
void fillMeshLayerRow(MeshLayerDef& row, const std::string& name, const std::string& headerKey, int level,
                      int subdivision, const std::vector<LedgerItemDef>& items);

// The code of cell `index` of a first-level mesh (such as 5339) at a level, cells counted row by row from
// the south-west: 64 second-level cells, 6,400 third-level cells, 25,600 half cells (quarters 1-4).
std::string meshCellCode(int firstLevelMesh, int level, int index);

struct GenMeshRecord {
    std::string code;                 // characters 6-14 of an "M" record (padded); field 0 of a census line
    std::vector<std::string> values;  // UTF-8, in item order; a subdivided record holds its cells one after another
    std::string line;                 // when set: a line written as it stands (CP932) instead of the record
    std::vector<std::string> keys;    // forest and lake records: the ledger keys in entry order ("" blank)
    std::string season;               // four-way records: character 12
};

struct MeshFileModel {
    std::string headerKey;  // written into the data-code columns 14-23
    std::string year = "2008";
    MeshFileFormat format = MeshFileFormat::Fixed;
    int level = 3;
    std::vector<LedgerItemDef> items;
    std::vector<GenMeshRecord> records;
    std::vector<std::string> ledgerLines;  // CP932 lines after the records ("DM" records)
    MeshLayerKind kind = MeshLayerKind::Plain;
    std::optional<long> declaredCount;  // header columns 34-41; the file's line count otherwise
};

struct MeshFileOptions {
    std::string headerKey = "M99";
    MeshFileFormat format = MeshFileFormat::Fixed;
    int level = 3;         // 2, 3 or 4 (census: 3)
    int subdivision = 0;   // 0; 5 at level 2; 4 or 10 at level 3
    int firstLevelMesh = 5339;
    int records = 10;
    int firstCell = 0;     // cell index of the first record: files whose ranges overlap repeat codes
    // Census lines:
    bool dashes = false;         // every third value is "-"
    int extraFieldEvery = 0;     // every k-th line has one field too many (0: none)
    int headerLineEvery = 0;     // an "H" line follows every k-th line
    bool mixedSeparators = false;  // the first line holds both separators
    // Codes:
    int shortCodeEvery = 0;      // every k-th code is cut to its first six digits
    int badHalfDigitEvery = 0;   // half mesh: every k-th code has the quarter digit 5
    // Layers with records of their own:
    MeshLayerKind kind = MeshLayerKind::Plain;
    int ledgerRecords = 0;       // forest and lake: "DM" records, numbered from 1000000 (forest) or 10000
                                 // (lake); record r names 1 + r % 5 (forest) or 1 + r % 10 (lake) of them
};

MeshFileModel makeMeshFileModel(const MeshFileOptions& options);

// Lines of the file (CP932, without line ends), and the file itself.
std::vector<std::string> formatMeshFile(const MeshFileModel& model);
void writeMeshFile(const std::string& path, const MeshFileModel& model);

}  // namespace velmora::gen
