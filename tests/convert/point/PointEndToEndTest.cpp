// Point jobs through the headless job runner with the real Brunhale, as the convert button runs them:
// generated input files, the catalogue rows and item layout that describe them, and the outputs read back
// with ogrinfo.
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

#include "tests/app/jobs/JobRunFixture.h"
#include "platform/text/Sjis.h"
#include "tests/tools/gen/PointFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

constexpr const char* kClosingQuestion = "box: ﾒｯｾｰｼﾞ | 変換されたシェープファイルをマップに追加しますか？\n";

class PointEndToEnd : public JobRunFixture {
protected:
    PointEndToEnd() {
        writeCatalogue(program_.path(), {pointCatalogueRow(12, layer_), pointCatalogueRow(1, port_), pointCatalogueRow(8, landPrice_)});
        gen::writeCsvLayoutFile(program_.file("DataDBFItemCS.csv"), {layer_, landPriceCsv_});
    }
    // A point job of row 12 (or 1) over the inputs into out/<output>.
    JobRun pointJob(const std::string& output, const std::vector<std::string>& inputs, int row = 12,
                    const std::string& answers = "--answer no") const {
        std::string args = "--kind point --row " + std::to_string(row) + " --datum 2000 " + answers + " --out '" +
                           program_.file("out/" + output) + "'";
        for (const std::string& in : inputs) args += " '" + in + "'";
        return jobrun(args);
    }
    std::string fixed(const std::string& name, long points, long first = 0) const {
        gen::PointFileOptions o;
        o.points = points;
        o.first = first;
        const std::string path = program_.file("in/" + name);
        gen::writeFixedPointFile(path, layer_, o);
        return path;
    }
    std::string delimited(const std::string& name, long points, long first, char separator) const {
        gen::PointFileOptions o;
        o.points = points;
        o.first = first;
        o.quoted = separator == ',';
        const std::string path = program_.file("in/" + name);
        gen::writeDelimitedPointFile(path, layer_, o, separator);
        return path;
    }
    std::string out(const std::string& name) const { return program_.file("out/" + name); }

    gen::PointGenLayer layer_ = gen::standardPointLayer();
    gen::PointGenLayer port_ = gen::portLayer(593);
    gen::PointGenLayer landPrice_ = gen::landPriceLayer(277);
    gen::PointGenLayer landPriceCsv_ = gen::landPriceCsvLayer("2005");
};

TEST_F(PointEndToEnd, OneFixedColumnFileBecomesAPointShapefile) {
    const JobRun run = pointJob("発電所.shp", {fixed("a.txt", 5)});
    EXPECT_EQ(run.output, std::string(kClosingQuestion) + "result: success\n");
    const std::string info = ogrinfo(out("発電所.shp"));
    EXPECT_THAT(info, HasSubstr("Geometry: Point"));
    EXPECT_THAT(info, HasSubstr("Feature Count: 5"));
    const gen::GenPoint p = gen::genPoint(layer_, {}, 0);
    EXPECT_THAT(info, HasSubstr("名称 (String) = " + p.values[2]));
    EXPECT_THAT(info, HasSubstr("POINT (" + gen::degreesText(p.x) + " " + gen::degreesText(p.y) + ")"));
    EXPECT_THAT(readFile(out("発電所.prj")), HasSubstr("JGD_2000"));
    for (const char* left : {"MakeShapeFile.fil_H", "MakeShapeFile.fil_D"}) EXPECT_FALSE(fileExists(program_.file(left)));
}

TEST_F(PointEndToEnd, ThreeFixedColumnFilesMergeIntoTheirDistinctPoints) {
    // 0-99, 50-149 and 100-199: 200 distinct points.
    const JobRun run = pointJob("merged.shp", {fixed("a.txt", 100), fixed("b.txt", 100, 50), fixed("c.txt", 100, 100)});
    EXPECT_EQ(run.output, std::string(kClosingQuestion) + "result: success\n");
    const std::string info = ogrinfo(out("merged.shp"));
    EXPECT_THAT(info, HasSubstr("Feature Count: 200"));
    EXPECT_EQ(fieldValues(info, "出力").front(), gen::genPoint(layer_, {}, 0).values[4]);
    EXPECT_FALSE(fileExists(program_.file("xxtmpPointDabaDB.mdb")));
}

TEST_F(PointEndToEnd, CommaAndTabSeparatedJobs) {
    for (char separator : {',', '\t'}) {
        SCOPED_TRACE(separator == ',' ? "comma" : "tab");
        const std::string a = delimited(std::string("a") + separator + ".txt", 30, 0, separator);
        const std::string b = delimited(std::string("b") + separator + ".txt", 20, 30, separator);
        const JobRun run = pointJob(separator == ',' ? "csv.shp" : "tsv.shp", {a, b});
        EXPECT_EQ(run.output, std::string(kClosingQuestion) + "result: success\n");
        const std::string info = ogrinfo(out(separator == ',' ? "csv.shp" : "tsv.shp"));
        EXPECT_THAT(info, HasSubstr("Feature Count: 50"));
        const gen::GenPoint last = gen::genPoint(layer_, {}, 49);
        EXPECT_EQ(fieldValues(info, "名称").back(), last.values[2]);
        EXPECT_THAT(info, HasSubstr("POINT (" + gen::degreesText(last.x) + " " + gen::degreesText(last.y) + ")"));
    }
}

TEST_F(PointEndToEnd, ThePortRowWritesTheShapefileAndNineTablesJoinedByLinkKey) {
    gen::PointFileOptions o;
    o.points = 6;
    o.blankYEvery = 3;  // ids 1, 2, 4, 5
    const std::string in = program_.file("in/port.txt");
    gen::writeFixedPointFile(in, port_, o);
    const JobRun run = pointJob("港湾.shp", {in}, 1, "--answer yes --answer no");
    // The runner prints a box's line break as a blank.
    EXPECT_EQ(run.output, "box: ﾒｯｯｾｰｼﾞ | 港湾データは属性データ属性データのフィールド数が、２５６フィールドを超えている為 "
                          "基礎データと年別情報毎に分割して作成します。\n" +
                              std::string(kClosingQuestion) + "result: success\n");
    const std::vector<std::string> ids = {"1", "2", "4", "5"};
    const std::string shape = ogrinfo(out("港湾.shp"));
    EXPECT_THAT(shape, HasSubstr("Feature Count: 4"));
    EXPECT_EQ(fieldValues(shape, "LinkKey"), ids);
    for (int k = 53; k <= 61; ++k) {
        SCOPED_TRACE(k);
        const std::string table = ogrinfo(out("港湾_S" + std::to_string(k) + ".dbf"));
        EXPECT_EQ(fieldValues(table, "LinkKey"), ids);
        EXPECT_FALSE(fileExists(out("港湾_S" + std::to_string(k) + ".shp")));
    }
    // Item 126 + 52 × 4 + 1 (a number) of the fifth point, in _S57.
    const gen::GenPoint fifth = gen::genPoint(port_, o, 4);
    EXPECT_EQ(fieldValues(ogrinfo(out("港湾_S57.dbf")), "項目335").back(), fifth.values[334]);
}

TEST_F(PointEndToEnd, ALandPriceFileOf2001SplitIntoTheShapefileAndItsTableJoinedByLinkKey) {
    gen::PointFileOptions o;
    o.points = 3;
    o.year = "2001";
    const std::string in = program_.file("in/chika.txt");
    gen::writeFixedPointFile(in, landPrice_, o);
    const JobRun run = pointJob("地価.shp", {in}, 8, "--answer yes --answer no");
    EXPECT_THAT(run.output, ::testing::EndsWith(std::string(kClosingQuestion) + "result: success\n"));
    const std::string shape = ogrinfo(out("地価.shp")), table = ogrinfo(out("地価_Z.dbf"));
    EXPECT_THAT(shape, HasSubstr("Feature Count: 3"));
    EXPECT_EQ(fieldValues(shape, "LinkKey"), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(fieldValues(table, "LinkKey"), (std::vector<std::string>{"1", "2", "3"}));
    const gen::GenPoint third = gen::genPoint(landPrice_, o, 2);
    EXPECT_EQ(fieldValues(shape, "価格2").back(), third.values[1]);
    EXPECT_EQ(fieldValues(table, "価格277").back(), third.values[276]);
    EXPECT_FALSE(fileExists(out("地価_Z2.dbf")));

    // Files of a year without a fixed-column layout, or of two years, are refused before anything is written.
    o.year = "2002";
    gen::writeFixedPointFile(program_.file("in/2002.txt"), landPrice_, o);
    const JobRun refused = pointJob("地価.shp", {program_.file("in/2002.txt")}, 8, "--answer yes");
    EXPECT_THAT(refused.output, HasSubstr("box: ｴﾗｰﾒｯｾｰｼﾞ | データの作成年度（2002）に対応する項目配置がありません。\n"));
    EXPECT_THAT(refused.output, ::testing::EndsWith("result: failure\n"));
    const JobRun mixed = pointJob("地価.shp", {in, program_.file("in/2002.txt")}, 8, "--answer yes");
    EXPECT_THAT(mixed.output, HasSubstr("box: ｴﾗｰﾒｯｾｰｼﾞ | データの作成年度が混在しています。"));
    EXPECT_THAT(ogrinfo(out("地価.shp")), HasSubstr("Feature Count: 3"));
}

TEST_F(PointEndToEnd, LandPriceFilesMergedSplitOrNot) {
    gen::PointFileOptions o;
    o.points = 4;
    o.year = "2001";
    const std::string a = program_.file("in/a.txt"), b = program_.file("in/b.txt");
    gen::writeFixedPointFile(a, landPrice_, o);
    o.first = 2;  // points 2 and 3 in both files
    gen::writeFixedPointFile(b, landPrice_, o);
    const JobRun split = pointJob("merged.shp", {a, b}, 8, "--answer yes --answer no");
    EXPECT_THAT(split.output, ::testing::EndsWith(std::string(kClosingQuestion) + "result: success\n"));
    EXPECT_EQ(fieldValues(ogrinfo(out("merged.shp")), "LinkKey"), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(fieldValues(ogrinfo(out("merged_Z.dbf")), "価格277").back(), gen::genPoint(landPrice_, o, 5).values[276]);

    // One table of every written item.
    const JobRun whole = pointJob("whole.shp", {a, b}, 8, "--answer no --answer no");
    EXPECT_THAT(whole.output, ::testing::EndsWith(std::string(kClosingQuestion) + "result: success\n"));
    const std::string info = ogrinfo(out("whole.shp"));
    EXPECT_THAT(info, HasSubstr("Feature Count: 6"));
    EXPECT_EQ(fieldValues(info, "価格100").front(), gen::genPoint(landPrice_, {}, 0).values[99]);
}

TEST_F(PointEndToEnd, LandPriceFilesOfEarlierYearsInTheirYearlyLayouts) {
    struct Case {
        const char* name;
        int files;  // the second file repeats points 2 and 3 of the first
        bool split;
    };
    const Case cases[] = {{"one-split", 1, true}, {"one-whole", 1, false}, {"merged-split", 2, true}, {"merged-whole", 2, false}};
    std::vector<std::string> kept;  // the outputs of these jobs, which the refused ones below must not touch
    for (int year : {1983, 1990}) {
        const gen::PointGenLayer file = gen::landPriceFileLayout(landPrice_, year);
        gen::PointFileOptions o;
        o.points = 4;
        o.year = std::to_string(year);
        std::vector<std::string> inputs;
        for (int f = 0; f < 2; ++f) {
            o.first = 2 * f;
            inputs.push_back(program_.file("in/chika" + std::to_string(year) + "-" + std::to_string(f) + ".txt"));
            gen::writeFixedPointFile(inputs.back(), file, o);
        }
        for (const Case& c : cases) {
            const std::string name = std::to_string(year) + "-" + c.name;
            SCOPED_TRACE(name);
            const JobRun run = pointJob(name + ".shp", {inputs.begin(), inputs.begin() + c.files}, 8,
                                        c.split ? "--answer yes --answer no" : "--answer no --answer no");
            EXPECT_THAT(run.output, ::testing::EndsWith(std::string(kClosingQuestion) + "result: success\n"));
            const std::size_t points = c.files == 1 ? 4 : 6;
            const std::string shape = ogrinfo(out(name + ".shp"));
            const std::string table = c.split ? ogrinfo(out(name + "_Z.dbf")) : shape;
            EXPECT_THAT(shape, HasSubstr("Feature Count: " + std::to_string(points)));
            if (c.split) {
                EXPECT_EQ(fieldValues(table, "LinkKey"), fieldValues(shape, "LinkKey"));
            }
            // Every item of the year holds the point's own value; the items of later years are not written.
            for (int item = 1; item <= 277; ++item) {
                std::vector<std::string> expected;
                if (gen::landPriceItemYear(item) <= year)
                    for (std::size_t k = 0; k < points; ++k)
                        expected.push_back(gen::genPoint(landPrice_, {}, static_cast<long>(k)).values[item - 1]);
                const std::string& info = item <= 59 ? shape : table;
                ASSERT_EQ(fieldValues(info, "価格" + std::to_string(item)), expected) << "item " << item;
            }
            for (const char* suffix : {".shp", ".dbf", "_Z.dbf"})
                if (fileExists(out(name + suffix))) kept.push_back(out(name + suffix));
        }
    }
    std::vector<std::string> before;
    for (const std::string& f : kept) before.push_back(readFile(f));

    // Years without a fixed-column layout are refused before anything is written.
    for (int year : {1981, 2002}) {
        SCOPED_TRACE(year);
        gen::PointFileOptions o;
        o.points = 2;
        o.year = std::to_string(year);
        const std::string in = program_.file("in/refused" + o.year + ".txt");
        gen::writeFixedPointFile(in, gen::landPriceFileLayout(landPrice_, year), o);
        const JobRun refused = pointJob("1983-one-split.shp", {in}, 8, "--answer yes --answer no");
        EXPECT_THAT(refused.output,
                    HasSubstr("box: ｴﾗｰﾒｯｾｰｼﾞ | データの作成年度（" + o.year + "）に対応する項目配置がありません。\n"));
        EXPECT_THAT(refused.output, ::testing::EndsWith("result: failure\n"));
    }
    for (std::size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(readFile(kept[i]), before[i]) << kept[i];
}

TEST_F(PointEndToEnd, DelimitedLandPriceFilesOneOrSeveralSplitOrNot) {
    gen::PointFileOptions o;
    o.points = 4;
    o.arcSeconds = true;
    auto file = [&](const std::string& name, long first, char separator) {
        o.first = first;
        const std::string path = program_.file("in/" + name);
        gen::writeDelimitedPointFile(path, landPriceCsv_, o, separator);
        return path;
    };
    struct Case {
        const char* name;
        std::vector<std::string> inputs;
        const char* answers;
        long features;
        bool table;
    };
    const Case cases[] = {
        {"csv-split", {file("a.csv", 0, ',')}, "--answer yes --answer no", 4, true},
        {"tsv-whole", {file("a.tsv", 0, '\t')}, "--answer no --answer no", 4, false},
        // Points 2 and 3 are in both files.
        {"csv-merged-split", {file("b1.csv", 0, ','), file("b2.csv", 2, ',')}, "--answer yes --answer no", 6, true},
        {"tsv-merged-whole", {file("c1.tsv", 0, '\t'), file("c2.tsv", 2, '\t')}, "--answer no --answer no", 6, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const JobRun run = pointJob(std::string(c.name) + ".shp", c.inputs, 8, c.answers);
        EXPECT_THAT(run.output, ::testing::EndsWith(std::string(kClosingQuestion) + "result: success\n"));
        const std::string info = ogrinfo(out(std::string(c.name) + ".shp"));
        EXPECT_THAT(info, HasSubstr("Feature Count: " + std::to_string(c.features)));
        const gen::GenPoint first = gen::genPoint(landPriceCsv_, o, 0);
        EXPECT_EQ(fieldValues(info, "名称").front(), first.values[2]);
        // The class is the first four bytes of its column.
        EXPECT_EQ(fieldValues(info, "区分").front(),
                  text::fromCp932(std::string(text::sjisByteCut(text::toCp932(first.values[3]), 1, 4))));
        EXPECT_EQ(fileExists(out(std::string(c.name) + "_Z.dbf")), c.table);
        if (c.table) {
            EXPECT_EQ(fieldValues(ogrinfo(out(std::string(c.name) + "_Z.dbf")), "LinkKey").size(),
                      static_cast<std::size_t>(c.features));
        }
    }
}

TEST_F(PointEndToEnd, FailedJobsSayWhyAndLeaveEarlierOutputsAlone) {
    ASSERT_EQ(pointJob("kept.shp", {fixed("good.txt", 3)}).exitCode, 0);
    const std::string before = readFile(out("kept.shp")) + readFile(out("kept.dbf"));
    const std::string noHeader = program_.file("in/noheader.txt");
    writeLines(noHeader, {"P  533945 4860000 1260000"});
    const std::string badMesh = program_.file("in/badmesh.txt");
    {
        gen::PointFileOptions o;
        o.points = 3;
        o.badMeshEvery = 2;
        gen::writeFixedPointFile(badMesh, layer_, o);
    }
    const std::string shortCsv = program_.file("in/short.csv");
    writeLines(shortCsv, {"経度,緯度", "135"});
    // A delimited land-price file whose first point has letters for its X.
    const std::string letters = program_.file("in/letters.csv");
    {
        gen::PointFileOptions o;
        o.points = 2;
        o.arcSeconds = true;
        gen::writeDelimitedPointFile(letters, landPriceCsv_, o, ',');
        std::string bytes = readFile(letters);
        const std::size_t second = bytes.find('\n') + 1;
        bytes.replace(second, bytes.find(',', second) - second, "abc");
        std::ofstream(letters, std::ios::binary) << bytes;
    }
    const std::string missing = program_.file("in/missing.txt");
    struct Case {
        const char* name;
        std::vector<std::string> inputs;
        std::string box;
        int row = 12;
    };
    const Case cases[] = {
        {"NoHeaderLine", {noHeader}, "box: ｴﾗｰﾒｯｾｰｼﾞ | ファイルの形式が正しくありません。\n"},
        {"MergeOfAMeshCodeOfLetters", {fixed("m1.txt", 2), badMesh},
         "box: Error: ModPoint (ModPoint SetPointTextToTbl2) | 3421 "},
        {"LineShorterThanTheLayout", {shortCsv}, "box: Error: ModPoint (ModPoint MakeShapePointFileCSV) | 9 "},
        {"MixedFormats", {fixed("m2.txt", 2), shortCsv}, "box: ｴﾗｰﾒｯｾｰｼﾞ | Text形式のファイルとCSV形式のファイルが混在しています。"},
        {"MissingFile", {missing}, "box: エラーメッセージ | 指定されたファイルが存在しません " + missing + "\n"},
        {"LandPriceCoordinateOfLetters", {letters}, "box: Error: ModPoint (ModPoint XYtoDataCSV) | ", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const JobRun run = pointJob("kept.shp", c.inputs, c.row, "--answer yes");
        EXPECT_THAT(run.output, HasSubstr(c.box));
        // Each cause is told once.
        EXPECT_EQ(run.output.find(c.box), run.output.rfind(c.box));
        EXPECT_THAT(run.output, ::testing::EndsWith("result: failure\n"));
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(readFile(out("kept.shp")) + readFile(out("kept.dbf")), before);
    }
}

}  // namespace

TEST_F(PointEndToEnd, TheShapeWritersReasonInTheLogQuotesTheValueAsItReads) {
    // Two delimited files joined into one: the second heading line stands among the points, and its names
    // reach the shape writer as coordinates, which it refuses.
    const std::string a = delimited("a.csv", 2, 0, ','), b = delimited("b.csv", 2, 2, ',');
    const std::string joined = program_.file("in/joined.csv");
    std::ofstream(joined, std::ios::binary) << readFile(a) + readFile(b);
    const JobRun run = pointJob("joined.shp", {joined});
    EXPECT_THAT(run.output, ::testing::EndsWith("result: failure\n"));
    EXPECT_THAT(onlyLog(), HasSubstr("coordinate \"経度,緯度\" is not a pair of numbers"));
}

// A number that reads as one but is wider than its field as the field holds it would make the shape writer
// refuse the whole output: it is written empty, and the first of its item is logged with its record.
TEST_F(PointEndToEnd, NumbersTooWideForTheirFieldAreWrittenEmptyAndLogged) {
    auto edited = [&](const std::string& path, auto&& edit) {
        std::string bytes = readFile(path);
        edit(bytes);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    };
    // 基数 (Integer, 5 bytes at byte 66) of the first record: "-1e4" is -10000 in the field (and a 16-bit
    // number in the merge's work table).
    auto wideFixed = [&](const std::string& name) {
        return edited(fixed(name, 3), [](std::string& b) { b.replace(b.find("\nP") + 66, 5, " -1e4"); });
    };
    // Column 6 of the first point line.
    auto wideCsv = [&](const std::string& name) {
        return edited(delimited(name, 3, 0, ','), [](std::string& b) {
            const std::size_t line = b.find('\n') + 1;
            std::size_t at = line;
            for (int c = 1; c < 6; ++c) at = b.find(',', at) + 1;
            b.replace(at, b.find('\r', at) - at, "123456789");
        });
    };
    struct Case {
        const char* name;
        std::vector<std::string> inputs;
    };
    const Case cases[] = {{"whole-file", {wideFixed("w1.txt")}},
                          {"merge", {wideFixed("w2.txt"), fixed("w3.txt", 2, 10)}},
                          {"comma", {wideCsv("w4.csv")}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(program_.file("Log"));
        fs::create_directory(program_.file("Log"));
        const JobRun run = pointJob(std::string(c.name) + ".shp", c.inputs);
        EXPECT_EQ(run.output, std::string(kClosingQuestion) + "result: success\n");
        const std::vector<std::string> count = fieldValues(ogrinfo(out(std::string(c.name) + ".shp")), "基数");
        ASSERT_FALSE(count.empty());
        EXPECT_EQ(count.front(), "(null)");
        EXPECT_NE(count.back(), "(null)");
        EXPECT_THAT(onlyLog(), HasSubstr("数値が項目の桁数に収まらないため空欄にしました。 項目：基数 値："));
    }
}
