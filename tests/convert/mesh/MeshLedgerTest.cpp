// Forest and lake ledgers joined into mesh cells: which ledger row each entry of a record gets, the
// ledger fields of the header, one ledger per file, and the loader's failures.
#include <gmock/gmock.h>

#include <sstream>

#include "tests/convert/mesh/MeshFixture.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::ElementsAre;
using ui::Answer;

namespace {

// The values of a "DBFITEM" line (no value holds a comma here).
std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> v;
    std::stringstream ss(line.substr(std::string("DBFITEM,").size()));
    for (std::string x; std::getline(ss, x, ',');) v.push_back(x);
    if (!line.empty() && line.back() == ',') v.push_back("");
    return v;
}

class Ledger : public MeshFixture {
protected:
    // Forest: the seven values of entry n (1-5) of a record's values: after 3 codes and item 10 + 4(n-1).
    static std::vector<std::string> forestEntry(const std::vector<std::string>& v, int n) {
        const std::size_t at = 3 + 10 + 4 * (n - 1) + 7 * (n - 1);
        return {v.begin() + static_cast<long>(at), v.begin() + static_cast<long>(at + 7)};
    }
    // Lake: the three values of entry n (1-10): after item 2, then after items 4 to 12.
    static std::vector<std::string> lakeEntry(const std::vector<std::string>& v, int n) {
        const std::size_t item = n == 1 ? 2 : static_cast<std::size_t>(n + 2);
        const std::size_t at = 3 + item + 3 * (n - 1);
        return {v.begin() + static_cast<long>(at), v.begin() + static_cast<long>(at + 3)};
    }
    gen::MeshFileModel forest(const std::vector<std::vector<std::string>>& keys) {
        gen::MeshFileOptions o;
        o.kind = gen::MeshLayerKind::Forest;
        o.records = static_cast<int>(keys.size());
        gen::MeshFileModel m = gen::makeMeshFileModel(o);
        for (std::size_t r = 0; r < keys.size(); ++r) m.records[r].keys = keys[r];
        return m;
    }
    static void add(gen::MeshFileModel& m, const gen::GenForestLedger& l) {
        for (const std::string& line : gen::forestLedgerLines(l)) m.ledgerLines.push_back(line);
    }
    std::vector<std::vector<std::string>> cells() {
        std::vector<std::vector<std::string>> v;
        for (const std::string& l : keyed(header(), "DBFITEM")) v.push_back(split(l));
        return v;
    }
    static const std::vector<std::string> kEmpty7;
};
const std::vector<std::string> Ledger::kEmpty7(7, "");

TEST_F(Ledger, ForestEntriesAreJoinedFromTheFilesLedger) {
    layer(gen::MeshLayerKind::Forest);
    gen::MeshFileModel m = forest({
        {"1000001", "", "1000002", "", ""},                   // two keys
        {"", "", "", "", ""},                                 // none at all
        {"1000001", "1000009", "1000003", "", ""},            // entry 2 names no row
        {"1000002", "10000a1", "1000003", "1 OR 1", " 1 2 "},  // keys that are not numbers stay empty alone
        {"1000004", "0001000", "", "", ""},                   // the repeated number: the first row loaded
    });
    add(m, {1000001, 12, 3, 45, 100200, 3000, "国有林 第一", "東京都千代田区"});
    add(m, {1000002, 1, 0, 2, 7, 10, "口座二", "所在二"});
    add(m, {1000003, 5, 9, 99, 999999, 1234567890, "", "住所三"});  // an empty name line: a blank, empty in the cell
    add(m, {1000004, 1, 1, 1, 1, 1, "最初", "先"});
    add(m, {1000004, 2, 2, 2, 2, 2, "二番目", "後"});
    add(m, {1000, 6, 6, 6, 6, 6, "千", "千番地"});
    ASSERT_TRUE(convert({input("a.txt", m)}));

    const std::vector<std::string> h = header();
    EXPECT_EQ(h[2], "DBFITEM_COUNT,64");
    EXPECT_EQ(h[3 + 3 + 10], "DBFITEM_NAME,台1№1,N,3,0");
    EXPECT_EQ(h[3 + 3 + 10 + 6], "DBFITEM_NAME,台1所在地,C,60,0");
    EXPECT_EQ(h[3 + 3 + 10 + 7], "DBFITEM_NAME,区分11,N,2,0");
    const auto c = cells();
    ASSERT_EQ(c.size(), 5u);
    for (const auto& v : c) EXPECT_EQ(v.size(), 64u);
    EXPECT_EQ(forestEntry(c[0], 1), (std::vector<std::string>{"12", "3", "45", "100200", "3000", "国有林 第一", "東京都千代田区"}));
    EXPECT_EQ(forestEntry(c[0], 2), kEmpty7);
    EXPECT_EQ(forestEntry(c[0], 3), (std::vector<std::string>{"1", "0", "2", "7", "10", "口座二", "所在二"}));
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(forestEntry(c[1], n), kEmpty7) << n;
    EXPECT_EQ(forestEntry(c[2], 2), kEmpty7);
    EXPECT_EQ(forestEntry(c[2], 3), (std::vector<std::string>{"5", "9", "99", "999999", "1234567890", "", "住所三"}));
    EXPECT_EQ(forestEntry(c[3], 1)[5], "口座二");
    EXPECT_EQ(forestEntry(c[3], 2), kEmpty7);
    EXPECT_EQ(forestEntry(c[3], 3)[6], "住所三");
    EXPECT_EQ(forestEntry(c[3], 4), kEmpty7);
    EXPECT_EQ(forestEntry(c[3], 5), kEmpty7);
    EXPECT_EQ(forestEntry(c[4], 1)[5], "最初");
    EXPECT_EQ(forestEntry(c[4], 2)[5], "千");  // leading zeros read as the number
    EXPECT_TRUE(ui_.boxes().empty());
    expectCleanEnd();
}

TEST_F(Ledger, AnAccountLineBeginningWithMIsNoMeshRecord) {
    layer(gen::MeshLayerKind::Forest);
    gen::MeshFileModel m = forest({{"1000001", "", "", "", ""}});
    add(m, {1000001, 1, 1, 1, 1, 1, "Mountain Office", "M1 Street"});
    ASSERT_TRUE(convert({input("a.txt", m)}));
    const auto c = cells();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(forestEntry(c[0], 1)[5], "Mountain Office");
    EXPECT_EQ(forestEntry(c[0], 1)[6], "M1 Street");
}

TEST_F(Ledger, EachFileJoinsOnlyItsOwnLedger) {
    layer(gen::MeshLayerKind::Forest);
    gen::MeshFileModel a = forest({{"1000001", "", "", "", ""}});
    add(a, {1000001, 1, 1, 1, 1, 1, "一つ目", "a"});
    gen::MeshFileModel b = forest({{"1000001", "1000002", "", "", ""}});
    b.records[0].code = "53390099";
    add(b, {1000002, 2, 2, 2, 2, 2, "二つ目", "b"});
    ASSERT_TRUE(convert({input("a.txt", a), input("b.txt", b)}));
    const auto c = cells();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(forestEntry(c[0], 1)[5], "一つ目");
    EXPECT_EQ(forestEntry(c[1], 1), kEmpty7);
    EXPECT_EQ(forestEntry(c[1], 2)[5], "二つ目");
    expectCleanEnd();
}

TEST_F(Ledger, LakeCodesFromTheSecondPlaceOn) {
    layer(gen::MeshLayerKind::Lake);
    gen::MeshFileOptions o;
    o.kind = gen::MeshLayerKind::Lake;
    o.records = 1;
    gen::MeshFileModel m = gen::makeMeshFileModel(o);
    m.records[0].keys = {"", "10001", "010002", "", "", "", "", "", "", "10001"};
    m.ledgerLines = {gen::lakeLedgerLine({10001, "十和田湖", 400, 327}), gen::lakeLedgerLine({10002, "田沢湖", 249, 423})};
    ASSERT_TRUE(convert({input("a.txt", m)}));
    const std::vector<std::string> h = header();
    EXPECT_EQ(h[2], "DBFITEM_COUNT,45");
    EXPECT_THAT(std::vector<std::string>(h.begin() + 3 + 3 + 2, h.begin() + 3 + 3 + 5),
                ElementsAre("DBFITEM_NAME,湖沼名称,C,32,0", "DBFITEM_NAME,湖沼標高,N,4,0", "DBFITEM_NAME,湖沼水深,N,3,0"));
    EXPECT_EQ(h.back().rfind("DBFITEM,", 0), 0u);
    const auto c = cells();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].size(), 45u);
    EXPECT_EQ(lakeEntry(c[0], 1), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(lakeEntry(c[0], 2), (std::vector<std::string>{"十和田湖", "400", "327"}));
    EXPECT_EQ(lakeEntry(c[0], 3), (std::vector<std::string>{"田沢湖", "249", "423"}));
    EXPECT_EQ(lakeEntry(c[0], 10), (std::vector<std::string>{"十和田湖", "400", "327"}));
}

TEST_F(Ledger, AForestRowWithFewerItemsDeclaresOnlyTheBlocksWhoseItemExists) {
    MeshLayerDef& row = layer(gen::MeshLayerKind::Forest);
    row.ItemCount = 15;  // entries 1 and 2 (after items 10 and 14) only
    row.ItemOutput[10] = false;
    ASSERT_TRUE(convert({input("a.txt", forest({{"1000001", "", "", "", ""}}))}));
    EXPECT_EQ(header()[2], "DBFITEM_COUNT," + std::to_string(3 + 14 + 14));
    EXPECT_EQ(cells().at(0).size(), 31u);
}

TEST_F(Ledger, LoaderFailuresShowTheirBoxAndEndTheRun) {
    layer(gen::MeshLayerKind::Forest);
    struct Case {
        const char* what;
        std::vector<std::string> ledger;
        std::string error;
    } cases[] = {
        {"name longer than 80", gen::forestLedgerLines({1000001, 1, 1, 1, 1, 1, std::string(81, 'x'), "a"}), "3163"},
        {"area beyond 32 bits", {"DM 1000001     1 1  1     9999999999", "n", "a"}, "6 オーバーフローしました。"},
        {"last DM without its lines", {"DM 1000001     1 1  1     1         1", "n"}, "62 ファイルの終わりを越えて読み込もうとしました。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui_.clearRecords();
        ui_.answer(Answer::Ok);
        gen::MeshFileModel m = forest({{"1000001", "", "", "", ""}});
        m.ledgerLines = c.ledger;
        EXPECT_FALSE(convert({input("a.txt", m)}));
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_EQ(ui_.boxes()[0].title, "Error: ModMesh (DmDataMake)");
        EXPECT_THAT(ui_.boxes()[0].text, ::testing::StartsWith(c.error));
        EXPECT_FALSE(std::filesystem::exists(program_.file("MakeShapeFile.fil_H")));
        EXPECT_TRUE(bar_.isHidden());
        EXPECT_EQ(writerRuns(), 0);
    }
}

}  // namespace
