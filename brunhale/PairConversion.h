#pragma once
// One run of Brunhale: reads the pair in a folder and writes the shapefile or dBASE table it names.
#include <string>

namespace velmora::brunhale {

class HeaderFileReader;
class CoordinateFileReader;
class ShapefileOutput;
class TableOutput;

// Walks the record blocks of the header and pairs them with the vertex lists (coords and shp are null
// for a table), writing each shape and row. Throws Failure for a malformed pair.
void writeRecords(HeaderFileReader& header, CoordinateFileReader* coords, ShapefileOutput* shp, TableOutput& dbf);

// Converts "MakeShapeFile.fil_H" and "MakeShapeFile.fil_D" of folder. Throws Failure; on failure no new
// file is left behind and earlier files of the output's names are untouched.
void convertPair(const std::string& folder);

// Settles what a killed run left of the output that the pair of folder names (OutputCommit::clearLeftovers)
// and writes nothing. Throws Failure when the header block cannot be read.
void settleOutput(const std::string& folder);

// The folder of the running executable, read from /proc/self/exe.
std::string programFolder();

}  // namespace velmora::brunhale
