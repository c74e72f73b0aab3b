#pragma once
// The files of the intermediate shape description in the program folder: "MakeShapeFile.fil" followed by
// a suffix. "_H" (header block and record blocks) and "_D" (vertex lists) are the pair Brunhale reads;
// jobs with several outputs keep extra header files ("_0".."_8" port tables, "_Z" and "_Z2" split
// land-price tables) or whole pairs ("_H1"/"_D1".."_H4"/"_D4" four-way mesh) beside it and move or copy
// them onto the pair's names before each further run.
#include <string>
#include <string_view>

#include "convert/core/ConversionState.h"

namespace velmora::shapedesc {

inline constexpr std::string_view HeaderSuffix = "_H";
inline constexpr std::string_view CoordinateSuffix = "_D";

// Program folder, "/" and a file name.
std::string programFile(std::string_view name);
// Program folder, "/", "MakeShapeFile.fil" and the suffix.
std::string descriptionPath(std::string_view suffix);
inline std::string headerFilePath() { return descriptionPath(HeaderSuffix); }
inline std::string coordinateFilePath() { return descriptionPath(CoordinateSuffix); }

// Opens the pair for writing (created or emptied), the header file first, into the slots FilHFileNo
// and FilDFileNo. A file that cannot be opened is a run-time error (PathNotFound / PathFileAccessError).
void openPair();
// Opens one extra file of the description (suffix "_Z", "_0", "_H1", ...) into a slot.
void openDescriptionFile(WriterSlot& slot, std::string_view suffix);
// Closes both files of the pair (either may already be closed).
void closePair();

// Deletes the file of a suffix where it exists; a file that exists and cannot be deleted is
// RunTimeError(PathFileAccessError).
void deleteDescriptionFile(std::string_view suffix);
// Deletes the header file and the coordinate file where they exist.
void deletePair();

// Moves an extra header file ("_Z", "_Z2", "_0".."_8") onto the header file's name, replacing it.
// A missing extra file is RunTimeError(FileNotFound).
void moveOntoHeaderFile(std::string_view suffix);
// Copies the numbered pair k ("_H" k, "_D" k) onto the pair's names, replacing them.
void copyPairOnto(int k);

}  // namespace velmora::shapedesc
