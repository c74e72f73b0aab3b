#pragma once
// One run of Brunhale: reads the pair in a folder and writes the shapefile or dBASE table it names.
#include <string>

namespace velmora::brunhale {

// Converts "MakeShapeFile.fil_H" and "MakeShapeFile.fil_D" of folder. Throws Failure; on failure no new
// file is left behind and earlier files of the output's names are untouched.
void convertPair(const std::string& folder);

// The folder of the running executable, read from /proc/self/exe.
std::string programFolder();

}  // namespace velmora::brunhale
