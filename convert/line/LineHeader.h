#pragma once
// The line job's readers of the header line and the counts line of a line file.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "convert/core/LayerDef.h"

namespace ModLine {

// What tells the header checks of the line and area-structure loaders apart: the selected data item, the
// log code of a file of another item, and the text that names the other item.
struct HeaderCheck {
    const velmora::LayerDef& selected;
    std::int16_t otherItemLogCode;
    std::function<std::string(std::string_view headerLine)> fileKind;
};

// Reads line 1 and, for a file of the selected item, line 2 of InFileNo into HedFields and HedCounts.
// skip is 0 on entry and 1 for a file of another item (logged). False after the format message. A
// run-time error is thrown for the caller's box.
bool CheckHeaderLines(const HeaderCheck& check, std::int16_t& skip);

// "ファイル種別：" and the Name of the first of `rows` whose header key occurs in the line, or
// "ファイル種別：不明"; CP932.
std::string FileKindText(std::span<const velmora::LayerDef> rows, std::string_view headerLine);

// Reads line 1 (and, for a file of the selected line item, line 2) of the open input file InFileNo.
// skip is 0 on entry and 1 when the file belongs to another data item (logged with code 13). False: line 1
// is no header line (the format message was shown) or a run-time error occurred (its box was shown).
bool SetLineTextToTbl_Hed(std::int16_t& skip);

// The message of a file that is not the fixed-column file it should be: "ファイルの形式が正しくありません。",
// "ｴﾗｰﾒｯｾｰｼﾞ", critical icon.
void ShowFileFormatMessage();

// "ファイル種別：" and the Name of the first line-table row whose header key occurs in the line, or
// "ファイル種別：不明"; CP932. A run-time error shows its box and gives the empty text.
std::string SelectFileKind_Line(std::string_view headerLine);

}  // namespace ModLine
