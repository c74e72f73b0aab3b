#pragma once
// The line job's readers of the header line and the counts line of a line file.
#include <cstdint>
#include <string>
#include <string_view>

namespace ModLine {

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
