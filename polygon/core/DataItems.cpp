#include "polygon/core/DataItems.h"

#include "platform/text/Cp932.h"

namespace ostrand {

namespace {

using velmora::text::toCp932;

std::vector<LayerRecord> make_layer_records() {
    const struct {
        int id;
        const char* name;
        const char* code;
    } rows[] = {
        {0, "都市計画区域", "A09-02A"},       {1, "自然公園", "A10-60A"},
        {2, "自然環境保全区域", "A11-60A"},   {3, "農業地域", "A12-60A"},
        {4, "森林地域", "A13-60A"},           {5, "鳥獣保護区域", "A15-57A"},
        {6, "三大都市圏計画区域", "A03-02A"}, {7, "リゾート法指定地域", "A07-07A"},
        {8, "行政界・海岸線", "N03-XXA"},     {20, "流域界・非集水域", "W12-52A"},
        {9, "湖沼", "W09-50A"},               {10, "湖沼", "W09-50A"},
    };
    std::vector<LayerRecord> out;
    for (const auto& r : rows) out.emplace_back(r.id, toCp932(r.name), r.code);
    return out;
}

struct FieldRow {
    const char* source;
    char stype;
    int pos, len;
    const char* output;
    char otype;
    int width, decimals;
};

AttrFieldMap make_map(const FieldRow& r) {
    return AttrFieldMap(FieldSpec{toCp932(r.source), r.stype, r.pos, r.len},
                        FieldSpec{toCp932(r.output), r.otype, r.width, r.decimals});
}

std::vector<AttrFieldTable> make_attr_field_tables() {
    const FieldRow attr_no_field = {"属性番号", 'A', 3, 10, "属性番号", 'N', 12, 0};
    const FieldRow admin = {"行政区域コード", 'I', 16, 5, "行政区域CD", 'N', 12, 0};
    const FieldRow subdiv = {"細区分", 'I', 25, 1, "細区分", 'N', 12, 0};
    const FieldRow designation = {"指定区分", 'I', 16, 1, "指定区分", 'N', 12, 0};
    const std::vector<FieldRow> lake = {
        {"図葉番号", 'I', 16, 7, "図葉番号", 'N', 12, 0},
        {"湖沼番号", 'I', 23, 4, "湖沼番号", 'N', 12, 0},
        {"行政区域コード", 'I', 27, 5, "行政区域CD", 'N', 12, 0},
        {"湖岸線行政界線区分", 'I', 32, 3, "湖岸行政界", 'N', 12, 0},
    };
    const std::vector<std::pair<int, std::vector<FieldRow>>> rows = {
        {0, {admin, {"都市計画区域コード", 'I', 21, 4, "都市計画CD", 'N', 12, 0}, subdiv}},
        {1, {admin, {"自然公園コード", 'I', 21, 4, "自然公園CD", 'N', 12, 0}, subdiv}},
        {2, {admin, {"自然環境保全区域コード", 'I', 21, 4, "環境保全CD", 'N', 12, 0}, subdiv}},
        {3, {designation}},
        {4, {designation}},
        {5, {{"鳥獣保護区コード", 'I', 16, 5, "鳥獣保護CD", 'N', 12, 0}, {"細区分", 'I', 21, 1, "細区分", 'N', 12, 0}}},
        {6, {admin, {"都市計画区域コード", 'I', 21, 6, "都市計画CD", 'N', 12, 0}}},
        {7,
         {{"都道府県コード", 'I', 16, 2, "都道府県CD", 'N', 12, 0},
          {"(行数)", 'I', 13, 3, "区分", 'N', 12, 0},
          {"地区番号", 'I', 11, 2, "地区番号", 'N', 12, 0},
          {"指定年月日", 'I', 18, 8, "指定年月日", 'N', 12, 0},
          {"構想名", 'A', 26, 50, "構想名", 'C', 50, 0},
          {"地区名", 'A', 76, 50, "地区名", 'C', 50, 0},
          {"面積", 'I', 126, 4, "面積", 'N', 12, 0}}},
        {8,
         {{"都道府県コード", 'A', 8, 2, "都道府県CD", 'N', 12, 0},
          {"市区町村コード", 'A', 10, 3, "市区町村CD", 'N', 12, 0},
          {"都道府県名", 'A', 16, 16, "都道府県名", 'C', 20, 0},
          {"支庁名", 'A', 32, 16, "支庁名", 'C', 20, 0},
          {"郡・政令市名", 'A', 48, 16, "郡政令市名", 'C', 20, 0},
          {"市区町村名", 'A', 64, 16, "市区町村名", 'C', 20, 0}}},
        {9, lake},
        {10, lake},
        {20, {{"水系域コード", 'I', 17, 5, "水系域CD", 'N', 12, 0}, {"単位流域コード", 'I', 22, 4, "単位流域CD", 'N', 12, 0}}},
    };
    std::vector<AttrFieldTable> out;
    for (const auto& [id, fields] : rows) {
        AttrFieldTable t;
        t.data_id = id;
        t.fields.push_back(make_map(attr_no_field));
        for (const FieldRow& f : fields) t.fields.push_back(make_map(f));
        out.push_back(std::move(t));
    }
    return out;
}

std::vector<std::string> make_messages() {
    const char* texts[] = {
        "リンクにノードがないためこのリンク情報は使いません。",
        "リンク情報の起点座標が前リンク情報の終点座標と一致しません。",
        "エリアの面積がゼロであるためポリゴンが作成できません。",
        "エリアを構成するリンクの起終点が一致しません。",
        "エリアを構成するノードが3点未満であるためポリゴンが作成できません。",
        "同じエリアが存在しているのでこのエリアデータは使いません。",
        "流域界を構成しない一部のリンクデータを削除しました。",
        "ヶ所あるためポリゴンが不完全である可能性があります。",
        "ヶ所あるためポリゴンが作成できません。",
        "有効なポリゴンが作成できないためこの属性番号のデータは保存しません。\n",
        "一部に変換できないデータがあるためこの属性番号のポリゴンは不完全である可能性があります。\n",
        "この属性番号のデータの修正を試みます。",
        "修正に成功しました。\n",
        "一部修正に成功しました。",
        "修正できませんでした。",
    };
    std::vector<std::string> out;
    for (const char* t : texts) out.push_back(toCp932(t));
    return out;
}

// Lookups take the first row with the number.
template <class Row>
const Row* first_with_id(const std::vector<Row>& rows, int data_id) {
    for (const Row& r : rows)
        if (r.data_id == data_id) return &r;
    return nullptr;
}

}  // namespace

const std::vector<LayerRecord>& layer_records() {
    static const std::vector<LayerRecord> table = make_layer_records();
    return table;
}

const LayerRecord* find_layer_record(int data_id) { return first_with_id(layer_records(), data_id); }

const std::vector<AttrFieldTable>& attr_field_tables() {
    static const std::vector<AttrFieldTable> table = make_attr_field_tables();
    return table;
}

const AttrFieldTable* find_attr_field_table(int data_id) { return first_with_id(attr_field_tables(), data_id); }

const std::string& message_text(Message m) {
    static const std::vector<std::string> texts = make_messages();
    return texts.at(static_cast<std::size_t>(m) - 1);
}

}  // namespace ostrand
