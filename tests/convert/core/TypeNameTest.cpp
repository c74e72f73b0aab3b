#include <gtest/gtest.h>

#include "convert/core/ConversionRoutines.h"
#include "platform/ui/TestUi.h"

namespace velmora::ModPolygon {
namespace {

struct TypeCase {
    const char* name;
    std::int16_t fieldType;  // 0: refused
    const char* letter;      // "": refused
};

TEST(TypeNames, MapToWorkTableTypesAndDbaseLetters) {
    const TypeCase cases[] = {
        {"Integer", 3, "N"}, {"Long", 4, "N"},  {"Text", 10, "C"},   {"Text1", 10, "C"},
        {"Text2", 10, "C"},  {"Text3", 0, "C"}, {"integer", 0, ""}, {" Long", 0, ""},
        {"Long ", 0, ""},    {"", 0, ""},       {"Double", 0, ""},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ui::TestUi ui;
        if (c.fieldType == 0) ui.answer(ui::Answer::Ok);
        if (*c.letter == '\0') ui.answer(ui::Answer::Ok);

        std::int16_t fieldType = -7;
        EXPECT_EQ(SetTextToVbidx(c.name, fieldType), c.fieldType != 0);
        EXPECT_EQ(fieldType, c.fieldType != 0 ? c.fieldType : -7);  // a refused name leaves it as it was

        std::string letter = "?";
        EXPECT_EQ(SetTextToShpeidx(c.name, letter), *c.letter != '\0');
        EXPECT_EQ(letter, *c.letter != '\0' ? c.letter : "?");

        for (const ui::BoxRecord& box : ui.boxes()) {
            EXPECT_EQ(box.text, std::string("型が一致しません\rTextデータ 型 => ") + c.name);
            EXPECT_EQ(box.title, "ｴﾗｰﾒｯｾｰｼﾞ");
            EXPECT_EQ(box.icon, ui::Icon::Critical);
            EXPECT_EQ(box.buttons, ui::Buttons::Ok);
        }
    }
}

}  // namespace
}  // namespace velmora::ModPolygon
