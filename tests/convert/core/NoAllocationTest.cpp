// MidByteSjis and XYtoData run for every field of every record of nationwide files: they must not allocate.
// This executable counts every allocation through a replaced global operator new.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "convert/core/ConversionRoutines.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestUi.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t n) {
    ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace velmora {
namespace {

TEST(NoAllocation, PerFieldCutAndCoordinate) {
    ui::TestUi ui;
    const std::string record = text::toCp932("L0001道路ﾄﾞｳﾛ    5039999 1234567 国道１号線");
    const char* const coordinates[] = {"5039999", " 1234567", "-36000", "1.2E3", "123456.5"};
    double degrees = 0;
    ASSERT_TRUE(ModPolygon::XYtoData(coordinates[0], degrees));  // first use sets up per-thread scratch

    const long before = allocations.load();
    std::size_t total = 0;
    for (int round = 0; round < 100; ++round) {
        for (long start = 1; start <= static_cast<long>(record.size()); ++start)
            total += modCommon::MidByteSjis(record, start, 4).size();
        for (const char* c : coordinates) ASSERT_TRUE(ModPolygon::XYtoData(c, degrees));
        ASSERT_TRUE(ModPolygon::XYtoData(9999999.0, degrees));
    }
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_GT(total, 0u);
}

}  // namespace
}  // namespace velmora
