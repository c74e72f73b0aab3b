#pragma once
// The header check that every attribute-table converter runs on an input file it has just opened: the
// file must start with an "H" line, and that line must carry the selected attribute-table item's header
// key; a file of another data item is logged (code 14) and skipped.
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/line/LineHeader.h"

namespace ModAttr {

// The selected row of the attribute-table layers (row SelectedIndex of AttrLayers); run-time error 9
// outside the table.
const velmora::LayerDef& selectedAttrLayer();

// Reads line 1 of the file open in InFileNo. True with skip = 0: the header fields and the record count
// are in RecHedFields / RecHedCount; true with skip = 1: the file belongs to another data item. False
// after the format message or a run-time error box.
bool SetAttrTextToTbl_Hed(std::int16_t& skip);

using InputStart = ModLine::InputStart;
// Opens the file in InFileNo and runs the header check on it. An open that fails throws RunTimeError for
// the caller's error box.
InputStart openAttrInput(const std::string& path);

// "ファイル種別：" and the Name of the first attribute-table row (0 to 13) whose header key occurs in the
// header line, or "ファイル種別：不明"; CP932. On a run-time error the box is shown and kindText is empty.
void SelectAttrFileKind(std::string_view headerLine, std::string& kindText);

}  // namespace ModAttr
