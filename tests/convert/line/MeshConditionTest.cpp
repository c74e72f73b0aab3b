// Selection conditions of StartMeshWhere as ranges of mesh codes bound into the writers' queries.
#include <gtest/gtest.h>

#include "convert/line/LineWriterSteps.h"
#include "platform/errors/RunTimeError.h"

namespace {

TEST(MeshCondition, TheTwoFormsTheSelectionWrites) {
    struct Case { const char* condition; std::int64_t from, to; } cases[] = {
        {"起点メッシュコード = 533945", 533945, 533945},
        {"起点メッシュコード >= 533945 AND 起点メッシュコード <= 533947", 533945, 533947},
        {"  起点メッシュコード=533945 ", 533945, 533945},
        {"起点メッシュコード = 053394", 53394, 53394},
    };
    for (const Case& c : cases) {
        const ModLine::MeshCondition m = ModLine::ParseStartMeshWhere(c.condition);
        EXPECT_EQ(m.from, c.from) << c.condition;
        EXPECT_EQ(m.to, c.to) << c.condition;
    }
}

TEST(MeshCondition, AnythingElseIsASyntaxError) {
    for (const char* condition : {"", "起点メッシュコード = ", "代表点メッシュコード = 533945",
                                  "起点メッシュコード = 533945 OR 1=1", "起点メッシュコード >= 533945",
                                  "起点メッシュコード >= 1 AND 起点メッシュコード <= x", "起点メッシュコード <= 1 AND 起点メッシュコード >= 2"}) {
        try {
            ModLine::ParseStartMeshWhere(condition);
            ADD_FAILURE() << "accepted: " << condition;
        } catch (const velmora::RunTimeError& e) {
            EXPECT_EQ(e.number(), 3075) << condition;
        }
    }
}

}  // namespace
