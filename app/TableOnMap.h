#pragma once
// Whether a dBASE table a job is about to write is on the map: the table of a layer the map shows (the
// layer's .shp with .dbf) or a table under the map's tables root. Jobs that write tables without asking
// first refuse such a table instead of overwriting what the map is reading.
#include <string>

namespace velmora {

// `table` is the path the writer makes (base + ".dbf"); paths are compared made absolute and normal.
bool tableOnMap(const std::string& table);

// The port layer's nine tables: base + "_S53" … "_S61" + ".dbf". The first one on the map is refused
// with "既にマップに追加されている属性ファイル(_S<n>)は上書きできません。" ("ｴﾗｰﾒｯｾｰｼﾞ", exclamation);
// true when refused.
bool refusePortTablesOnMap(const std::string& outputPath);

}  // namespace velmora
