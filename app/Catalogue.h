#pragma once
// The layer catalogue: "DataDBF.csv" (one line per data item) and "DataDBFItem.csv" (one line per item) in
// AppFolder, loaded into the five layer tables of the conversion state. The procedures of the data-kind
// dialog (frmDataSelect) that load it live here without a window, so tests drive them directly; their
// boxes carry the dialog's name as the original procedures do.
//
// Both files are CP932; the first line is skipped, empty lines are skipped, every other line is split at
// every "," (no quoting). Text columns are stored as their bytes, numbers read with the classic
// conversions (blanks allowed, halves to even, type and range errors).
#include <string_view>
#include <vector>

#include "convert/core/ConversionState.h"
#include "convert/core/LayerDef.h"

namespace velmora::catalogue {

// The columns of one catalogue line.
using Fields = std::vector<std::string_view>;
Fields splitFields(std::string_view line);

// Fills DataNames with the display names of the data items (UTF-8, indexed by CatalogKind and row).
void SetDataName(ConversionState& state);

// Loads both files into the layer tables. False after a run-time error, already shown in the box
// "Error: frmDataSelect (SetKisoJyoho)"; what was stored before it stays stored.
bool SetKisoJyoho(ConversionState& state);

// The head of a "DataDBF.csv" line into a table row, field by field: a failing field shows its box and
// leaves the earlier fields stored.
void SetCsvFile1ToTable(const Fields& fields, LayerDef& row);
void SetCsvFile1ToTableMesh(const Fields& fields, MeshLayerDef& row);

// A "DataDBFItem.csv" line into a row's item lists, when its key column contains the row's Name (mesh:
// equals it); otherwise the box "CSVファイルの情報が不正です。" and nothing stored.
void SetCsvFile2ToTable(const Fields& fields, LayerDef& row);
void SetCsvFile2ToTableMesh(const Fields& fields, MeshLayerDef& row);

}  // namespace velmora::catalogue
