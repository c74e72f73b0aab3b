#pragma once
// Reading the input file of a line job (the InFileNo slot of the conversion state).
#include <string>

namespace ModLine {

// The next line of InFileNo; the end of the file is run-time error 62 ("Input past end of file"), as for a
// record whose lines are missing.
void ReadInputLine(std::string& line);
// The first line of InFileNo (its header line): a file without any line is refused as empty, naming it.
void ReadFirstInputLine(std::string& line);

}  // namespace ModLine
