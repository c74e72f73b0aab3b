#include "brunhale/SizeLimits.h"

namespace velmora::brunhale {

// Every record: an 8-byte record header, then a 4-byte shape type.
std::uint64_t nullShapeBytes() { return 8 + 4; }
std::uint64_t pointShapeBytes() { return 8 + 4 + 16; }
// Type, box (32), part and point counts (8), part starts, x/y pairs.
std::uint64_t multiPointShapeBytes(std::uint64_t parts, std::uint64_t points) {
    return 8 + 4 + 32 + 8 + 4 * parts + 16 * points;
}

}  // namespace velmora::brunhale
