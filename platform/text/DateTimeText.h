#pragma once
// Local date and time as the logs print them. Clocks that tests replace give a DateTime; the texts are
// built here only, so the program's logs and the polygon library's logs cannot drift apart.
#include <string>

namespace velmora::text {

struct DateTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// The machine's local time now.
DateTime localNow();
// "yyyy/mm/dd hh:mm:ss"
std::string formatDateTime(const DateTime& t);
// "yymmddhhmmss"
std::string formatCompactStamp(const DateTime& t);

}  // namespace velmora::text
