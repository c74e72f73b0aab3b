#pragma once
// The header check every reader of fixed-column point files runs on a file it has just opened: line 1
// must be an "H" line, and it must carry the selected point item's header key; a file of another data
// item is logged (code 12) and skipped.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {
struct LayerDef;
}

namespace ModPoint {

// The selected row of the point layers (row SelectedIndex of PointLayers); run-time error 9 outside it.
const velmora::LayerDef& selectedPointLayer();

// Reads line 1 of the file open in InFileNo. True with skip = 0: RecHedFields and RecHedCount hold the
// header; true with skip = 1: the file belongs to another data item (logged). False after the format
// message or a run-time error box.
bool SetPointTextToTbl_Hed(std::int16_t& skip);

// "ファイル種別：" and the Name of the first point row whose header key occurs in the line, or
// "ファイル種別：不明" (CP932). On a run-time error its box is shown and kindText is empty.
void SelectPointFileKind(std::string_view headerLine, std::string& kindText);

// How an input file of a point reader starts.
enum class InputStart {
    Ready,    // open in InFileNo after its header line; the header is stored
    Skipped,  // another data item's file (logged, closed)
    Failed,   // not a point file of the item (message shown, closed)
};
// Opens the file in InFileNo and runs the header check. A file that cannot be opened throws
// RunTimeError for the caller's error box.
InputStart openPointInput(const std::string& path);

}  // namespace ModPoint
