#pragma once
// The size limits of the shapefile and dBASE formats as common readers enforce them: offsets and lengths
// are 32-bit signed, so neither the .shp nor the .dbf may grow past 2 GiB - 1 bytes; a dBASE record is
// at most 65,535 bytes long. Sizes are counted before anything is written, so an output that would break
// a limit fails cleanly instead of wrapping its offsets.
#include <cstdint>

namespace velmora::brunhale {

inline constexpr std::uint64_t MaxFileBytes = 2147483647ULL;
inline constexpr std::uint64_t MaxDbfRecordBytes = 65535ULL;

// Bytes one shape adds to the .shp file (record header included): a null shape, a point, or a
// polyline / polygon of the given parts and points.
std::uint64_t nullShapeBytes();
std::uint64_t pointShapeBytes();
std::uint64_t multiPointShapeBytes(std::uint64_t parts, std::uint64_t points);

// Running size of one output file against MaxFileBytes.
class SizeBudget {
public:
    explicit SizeBudget(std::uint64_t startBytes, std::uint64_t limit = MaxFileBytes)
        : used_(startBytes), limit_(limit) {}
    // Adds bytes; false (and nothing added) when the limit would be passed.
    bool add(std::uint64_t bytes) {
        if (bytes > limit_ || used_ > limit_ - bytes) return false;
        used_ += bytes;
        return true;
    }
    std::uint64_t used() const { return used_; }

private:
    std::uint64_t used_;
    std::uint64_t limit_;
};

}  // namespace velmora::brunhale
