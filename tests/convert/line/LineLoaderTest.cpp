// Loading generated line files of the three kinds of line item: the tables hold exactly the model's rows.
#include "tests/convert/line/LineLoaderFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

class LineLoaderTest : public LineLoaderFixture {};

struct GeneratedCase {
    const char* what;
    int row;
    gen::LineFileOptions options;
};

gen::LineFileOptions options(gen::LineItem item, const char* key, void (*tweak)(gen::LineFileOptions&) = nullptr) {
    gen::LineFileOptions o;
    o.item = item;
    o.headerKey = key;
    if (tweak) tweak(o);
    return o;
}

TEST_F(LineLoaderTest, GeneratedFilesFillTheExpectedRows) {
    const GeneratedCase cases[] = {
        {"ordinary item", kOrdinaryRow, options(gen::LineItem::Ordinary, kOrdinaryKey)},
        {"ordinary, blanks, reversed, missing ledgers, 5 vertices", kOrdinaryRow,
         options(gen::LineItem::Ordinary, kOrdinaryKey, [](gen::LineFileOptions& o) {
             o.blankOptionalFields = true;
             o.reversedReferences = true;
             o.missingLedgerEvery = 3;
             o.verticesPerLink = 5;
             o.linksPerLine = 7;
         })},
        {"road item", kRoadRow, options(gen::LineItem::Road, kRoadKey, [](gen::LineFileOptions& o) {
             o.links = 12;
             o.verticesPerLink = 8;
             o.missingLedgerEvery = 4;
         })},
        {"road item with blanks", kRoadRow, options(gen::LineItem::Road, kRoadKey, [](gen::LineFileOptions& o) {
             o.blankOptionalFields = true;
             o.verticesPerLink = 1;
         })},
        {"railway item", kRailwayRow, options(gen::LineItem::Railway, kRailwayKey, [](gen::LineFileOptions& o) {
             o.stations = 6;
             o.missingLedgerEvery = 4;
             o.verticesPerLink = 11;
         })},
    };
    for (const GeneratedCase& c : cases) {
        SCOPED_TRACE(c.what);
        openDb(c.row);
        const gen::LineFileModel model = gen::makeLineFileModel(c.options);
        ASSERT_TRUE(load(writeFile("in.txt", model)));
        std::map<std::string, Dump> expected = emptyTables();
        LineCounters counters;
        addExpectedRows(expected, model, c.row, counters);
        EXPECT_EQ(dumpAll(), expected);
    }
}

TEST_F(LineLoaderTest, CountersRunOnAcrossFilesAndSharedLinksAreStoredTwice) {
    openDb(kRoadRow);
    gen::LineFileOptions o = options(gen::LineItem::Road, kRoadKey);
    o.links = 6;
    const gen::LineFileModel first = gen::makeLineFileModel(o);
    o.firstLinkSerial = 4;  // links 4-6 are in both files
    const gen::LineFileModel second = gen::makeLineFileModel(o);
    ASSERT_TRUE(load(writeFile("a.txt", first)));
    ASSERT_TRUE(load(writeFile("b.txt", second)));
    std::map<std::string, Dump> expected = emptyTables();
    LineCounters counters;
    addExpectedRows(expected, first, kRoadRow, counters);
    addExpectedRows(expected, second, kRoadRow, counters);
    EXPECT_EQ(dumpAll(), expected);
    EXPECT_EQ(conversionState().LinkIdxCounter, (std::array<std::int32_t, 2>{12, 0}));
}

TEST_F(LineLoaderTest, FilesOfAnotherItemAreLoggedAndSkipped) {
    openDb(kOrdinaryRow);
    const gen::LineFileModel other = gen::makeLineFileModel(options(gen::LineItem::Railway, kRailwayKey));
    const gen::LineFileModel unknown = gen::makeLineFileModel(options(gen::LineItem::Ordinary, "ZZZ"));
    bar_->setMaximum(50);
    bar_->setValue(7);
    label_->setText("before");
    ASSERT_TRUE(load(writeFile("rail.txt", other)));
    ASSERT_TRUE(load(writeFile("unknown.txt", unknown)));
    EXPECT_EQ(dumpAll(), emptyTables());
    EXPECT_EQ(logLines(), (std::vector<std::string>{"ファイルの種別が「海岸線」ではありません。 ファイル種別：鉄道",
                                                    "ファイルの種別が「海岸線」ではありません。 ファイル種別：不明"}));
    // A skipped file leaves the progress display alone and the input slot empty.
    EXPECT_EQ(bar_->value(), 7);
    EXPECT_EQ(label_->text().toStdString(), "before");
    EXPECT_FALSE(conversionState().InFileNo.isOpen());
    EXPECT_EQ(ui_.yieldCount(), 0);
}

TEST_F(LineLoaderTest, ProgressCountsRecordLinesAndEndsFullAndHidden) {
    openDb(kOrdinaryRow);
    const gen::LineFileModel model = gen::makeLineFileModel(options(gen::LineItem::Ordinary, kOrdinaryKey));
    bar_->hide();
    label_->hide();
    ASSERT_TRUE(load(writeFile("in.txt", model)));
    EXPECT_EQ(bar_->maximum(), model.recordLines());
    EXPECT_EQ(bar_->value(), bar_->maximum());
    EXPECT_TRUE(bar_->isHidden());
    EXPECT_TRUE(label_->isHidden());
    EXPECT_EQ(label_->text().toStdString(), "初期処理中・・・");
    EXPECT_EQ(ui_.yieldCount(), 1);  // once per loaded file, not per record
}

}  // namespace
