#pragma once
// The classic fixed-width counters of the line converters: a 16-bit count (vertex, reference, point and
// part numbers) and the job's 32-bit LinkIdx counters. Passing the largest value is an overflow
// (run-time error 6), never a wrap-around.
#include <cstdint>
#include <limits>

#include "platform/errors/RunTimeError.h"

namespace ModLine {

template <class T>
T incremented(T& counter) {
    if (counter == std::numeric_limits<T>::max()) throw velmora::RunTimeError(velmora::err::Overflow, "Overflow");
    return ++counter;
}

}  // namespace ModLine
