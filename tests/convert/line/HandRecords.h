#pragma once
// Records of line files written by hand in tests, column by column. Texts stay UTF-8 until crlf() writes
// them in CP932.
#include <string>

#include "platform/text/Cp932.h"
#include "tests/convert/line/LineJobFixture.h"
#include "tests/tools/gen/LineFileGen.h"

namespace velmora::testsupport {

using gen::rightAligned;

inline const std::string kCounts = "      20       0       0       0       0       5       0";

inline std::string header(const char* key) { return headerLine("H", key); }

// Records built column by column (UTF-8 in, CP932 out through crlf()).
inline std::string node(int mesh, int serial, const std::string& attr10, const std::string& pair12, int flag = 1,
                        long x = 5040000, long y = 1272000) {
    return "N  " + rightAligned(mesh, 6) + rightAligned(serial, 6) + rightAligned(x, 8) + rightAligned(y, 8) +
           rightAligned(flag, 2) + attr10 + "  2 0" + pair12;
}
inline std::string link(int mesh, int serial, const std::string& attr10, const std::string& count6) {
    return "L  " + rightAligned(mesh, 6) + rightAligned(serial, 6) + rightAligned(mesh, 6) +
           rightAligned(serial + 1, 6) + rightAligned(serial, 6) + " 1" + attr10 + count6;
}
inline std::string vertex(long x, long y) { return rightAligned(x, 8) + rightAligned(y, 8); }
inline std::string lineRecord(int serial, const std::string& flag2, const std::string& attr10, int refs) {
    return "S  533945     1533945     2" + rightAligned(serial, 8) + flag2 + attr10 + rightAligned(refs, 6);
}
inline std::string ref(int mesh, int number, int flag) { return rightAligned(mesh, 6) + rightAligned(number, 6) + rightAligned(flag, 2); }
// A UTF-8 text padded with blanks to `width` bytes of its CP932 form (records stay UTF-8 until crlf()).
inline std::string padCp932(const std::string& utf8, int width) {
    return utf8 + std::string(static_cast<std::size_t>(width) - text::toCp932(utf8).size(), ' ');
}
inline std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
inline std::string ds(long long attr, const std::string& items) { return "DS " + rightAligned(attr, 10) + "  1" + items; }
inline std::string dl(long long attr, const std::string& route, const std::string& line, const std::string& common) {
    return "DL " + rightAligned(attr, 10) + "  1 3" + padCp932(route, 24) + padCp932(line, 22) + padCp932(common, 16);
}


}  // namespace velmora::testsupport
