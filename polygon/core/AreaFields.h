#pragma once
// The fixed-column fields of an area file's records, cut from the lines an AreaLineSource gives (a field
// beyond the end of its line fails the file as AreaLineSource::field says).
#include <cstddef>
#include <string_view>

#include "polygon/core/AreaLineSource.h"

namespace ostrand {

// Entries of continuation lines: vertices (x and y of 8 columns each) of a link, references (mesh code 6,
// signed link number 6, code 2) of an area.
inline constexpr std::size_t kVertexWidth = 16, kReferenceWidth = 14;

// A count or number field, clamped into int (counts are 8 digits at most, so only garbage is clamped).
int int_field(const AreaLineSource& in, std::string_view s, std::size_t pos, std::size_t len);

// A coordinate of 8 columns in degrees. The columns nearly always hold blanks and digits, whose value the
// digits give exactly; anything else is read as atof reads it.
double coordinate_field(const AreaLineSource& in, std::string_view s, std::size_t pos);

// Continuation lines of a record with n entries, five per line; none for n <= 0.
int continuation_lines(int n);

}  // namespace ostrand
