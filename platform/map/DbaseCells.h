#pragma once
// One cell of a dBASE table as a GIS shows it: the text decoded from CP932, and a null value (a number of
// asterisks or blanks, a date of zeros or blanks, a logical "?") as an empty text, never as its filler.
#include <shapefil.h>

#include <string>

namespace velmora::map {

std::string dbaseCellText(DBFHandle dbf, int row, int field);

}  // namespace velmora::map
