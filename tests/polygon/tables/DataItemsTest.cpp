#include <gtest/gtest.h>

#include "platform/text/Cp932.h"
#include "polygon/core/DataItems.h"

using namespace ostrand;
using velmora::text::fromCp932;

TEST(LayerRecords, LookupTakesTheFirstRowWithTheNumber) {
    struct Case {
        int id;
        const char* name;
        const char* code;
    } cases[] = {
        {0, "都市計画区域", "A09-02A"}, {3, "農業地域", "A12-60A"},         {8, "行政界・海岸線", "N03-XXA"},
        {20, "流域界・非集水域", "W12-52A"}, {9, "湖沼", "W09-50A"},     {10, "湖沼", "W09-50A"},
    };
    for (const Case& c : cases) {
        const LayerRecord* r = find_layer_record(c.id);
        ASSERT_NE(r, nullptr) << c.id;
        EXPECT_EQ(fromCp932(r->name), c.name);
        EXPECT_EQ(r->code, c.code);
    }
    EXPECT_EQ(find_layer_record(11), nullptr);
    EXPECT_EQ(find_layer_record(-1), nullptr);
    ASSERT_EQ(layer_records().size(), 12u);
    EXPECT_EQ(layer_records()[9].data_id, 20);  // stands before 9 and 10
}

TEST(AttrFieldTables, EveryTableBeginsWithTheAttributeNumberAndNamesFitDbase) {
    ASSERT_EQ(attr_field_tables().size(), 12u);
    const int counts[][2] = {{0, 4}, {1, 4}, {2, 4}, {3, 2}, {4, 2}, {5, 3}, {6, 3}, {7, 8}, {8, 7}, {9, 5}, {10, 5}, {20, 3}};
    for (const auto& [id, count] : counts) {
        const AttrFieldTable* t = find_attr_field_table(id);
        ASSERT_NE(t, nullptr) << id;
        EXPECT_EQ(t->count(), count) << id;
        const AttrFieldMap& first = t->fields[0];
        EXPECT_EQ(fromCp932(first.output.name), "属性番号");
        EXPECT_EQ(first.source.a, 3);
        EXPECT_EQ(first.source.b, 10);
        EXPECT_EQ(first.output.type, 'N');
        EXPECT_EQ(first.output.a, 12);
        for (const AttrFieldMap& f : t->fields) EXPECT_LE(f.output.name.size(), 10u) << id;
    }
    EXPECT_EQ(find_attr_field_table(11), nullptr);
}

TEST(AttrFieldTables, ResortItemKeepsItsOwnFieldOrder) {
    const AttrFieldTable* t = find_attr_field_table(7);
    ASSERT_NE(t, nullptr);
    const char* names[] = {"属性番号", "都道府県CD", "区分", "地区番号", "指定年月日", "構想名", "地区名", "面積"};
    ASSERT_EQ(t->fields.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(fromCp932(t->fields[i].output.name), names[i]);
    EXPECT_EQ(t->fields[2].source.a, 13);
    EXPECT_EQ(t->fields[2].source.b, 3);
    EXPECT_EQ(t->fields[5].output.type, 'C');
    EXPECT_EQ(t->fields[5].output.a, 50);
}

TEST(AttrFieldTables, LakeItemsShareTheirFields) {
    const AttrFieldTable* a = find_attr_field_table(9);
    const AttrFieldTable* b = find_attr_field_table(10);
    ASSERT_EQ(a->fields.size(), b->fields.size());
    for (std::size_t i = 0; i < a->fields.size(); ++i) {
        EXPECT_EQ(a->fields[i].output.name, b->fields[i].output.name);
        EXPECT_EQ(a->fields[i].source.a, b->fields[i].source.a);
    }
}

TEST(PolygonMessages, TextsAndTheirLineFeeds) {
    EXPECT_EQ(fromCp932(message_text(msg_link_has_no_node)), "リンクにノードがないためこのリンク情報は使いません。");
    EXPECT_EQ(fromCp932(message_text(msg_area_too_few_nodes)),
              "エリアを構成するノードが3点未満であるためポリゴンが作成できません。");
    EXPECT_EQ(message_text(msg_attr_not_saved).back(), '\n');
    EXPECT_EQ(message_text(msg_attr_may_be_incomplete).back(), '\n');
    EXPECT_EQ(message_text(msg_repair_ok).back(), '\n');
    EXPECT_EQ(fromCp932(message_text(msg_repair_failed)), "修正できませんでした。");
}
