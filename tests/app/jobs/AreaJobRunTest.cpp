// Area jobs through the headless job runner with the real polygon library and the real Brunhale: generated
// area files in, polygons and attached outputs read back with ogrinfo, the library's boxes printed in
// their turn.
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

#include "platform/text/LineWriter.h"
#include "tests/app/jobs/JobRunFixture.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/BasinFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;
using ::testing::StartsWith;
namespace fs = std::filesystem;

namespace {

class AreaJobRunTest : public JobRunFixture {
protected:
    AreaJobRunTest() { fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/libOstrand.so", program_.file("libOstrand.so")); }

    // Generated area-structure files of a row and the catalogue row that describes them (with the
    // catchment row, which the catchment job needs).
    std::vector<std::string> structureFiles(int row, int files) {
        datagen::AreaStructureOptions o;
        o.row = row;
        o.grid.cols = 3;
        o.grid.rows = 2;
        o.grid.files = files;
        o.grid.vertices_per_link = 4;
        const datagen::AreaStructureModel m = datagen::generate_area_structure_files(program_.file("in/area"), o);
        writeAreaCatalogue({datagen::area_catalogue_line(m, "面" + std::to_string(row))},
                           datagen::area_catalogue_item_lines(m, "面" + std::to_string(row)));
        std::vector<std::string> paths;
        for (const auto& f : m.files) paths.push_back(f.path);
        return paths;
    }
    void writeAreaCatalogue(const std::vector<std::string>& rows, const std::vector<std::string>& items) {
        text::LineWriter data(program_.file("DataDBF.csv"), text::LineWriter::Mode::Replace);
        data.writeLine(text::toCp932("種別,行,名称,フラグ1,全国ファイル可,フラグ3,フラグ4,フラグ5,フラグ6,ヘッダキー,項目数,メッシュ階層,細分区画"));
        for (const std::string& r : rows) data.writeLine(r);
        data.close();
        text::LineWriter item(program_.file("DataDBFItem.csv"), text::LineWriter::Mode::Replace);
        item.writeLine(text::toCp932("種別,行,レイヤキー,項目番号,備考,項目名,型,幅,出力,開始位置"));
        for (const std::string& i : items) item.writeLine(i);
        item.close();
    }
    static std::string quoted(const std::vector<std::string>& files) {
        std::string s;
        for (const std::string& f : files) s += " '" + f + "'";
        return s;
    }
    std::string out(const std::string& name) const { return program_.file("out/" + name); }
};

std::string countsBox(int total, int made) {
    return "box: ﾒｯｾｰｼﾞ | 全ポリゴンデータ = " + std::to_string(total) + "　中　ポリゴンデータ = " + std::to_string(made) +
           " 件作成されました。 変換されたシェープファイルをマップに追加しますか？\n";
}

TEST_F(AreaJobRunTest, AreaRowZeroOverTwoFilesWritesAsManyPolygonsAsTheBoxSaysAndTheAttachedOutputs) {
    const std::vector<std::string> files = structureFiles(0, 2);
    const JobRun run = jobrun("--kind area --row 0 --out '" + out("都市") + "'" + quoted(files));
    const std::string question = "box: ﾒｯｾｰｼﾞ | 変換されたシェープファイルをマップに追加しますか？\n";
    EXPECT_EQ(run.output, countsBox(6, 6) + question + question + "result: success\n");
    EXPECT_EQ(run.exitCode, 0);

    const std::string polygons = ogrinfo(out("都市.shp"));
    EXPECT_THAT(polygons, HasSubstr("Geometry: Polygon"));
    EXPECT_THAT(polygons, HasSubstr("Feature Count: 6"));
    EXPECT_THAT(ogrinfo(out("都市_P.shp")), HasSubstr("Feature Count: 6"));
    EXPECT_THAT(ogrinfo(out("都市_L.shp")), HasSubstr("Geometry: Line String"));

    const std::string log = onlyLog();
    EXPECT_THAT(log, StartsWith("[面データ]データ変換開始。\r\n開始時刻："));
    EXPECT_THAT(log, HasSubstr("> 処理終了\r\n"));
    const auto attached = log.find("[面データ]付属変換開始。");
    ASSERT_NE(attached, std::string::npos);
    EXPECT_GT(attached, log.find("> 処理終了"));
    EXPECT_THAT(log.substr(attached), HasSubstr("変換終了。"));
    for (const char* left : {"MakeShapeFile.fil_H", "MakeShapeFile.fil_D", "xxtmpPolygonDabaDB.mdb"})
        EXPECT_FALSE(fs::exists(program_.file(left))) << left;
}

TEST_F(AreaJobRunTest, AreaRowTwoWithPolygonsWritesThemFromTheWholeFile) {
    const std::vector<std::string> files = structureFiles(2, 1);
    const JobRun run = jobrun("--kind area --row 2 --polygons yes --attached none --out '" + out("保全") + "'" +
                              quoted(files));
    EXPECT_EQ(run.output, countsBox(6, 6) + "result: success\n");
    EXPECT_THAT(ogrinfo(out("保全.shp")), HasSubstr("Feature Count: 6"));
    EXPECT_FALSE(fs::exists(out("保全_P.shp")));
}

TEST_F(AreaJobRunTest, WithoutPolygonsOnlyTheTickedOutputIsWritten) {
    const std::vector<std::string> files = structureFiles(0, 1);
    const JobRun run = jobrun("--kind area --row 0 --polygons no --attached points --out '" + out("点") + "'" +
                              quoted(files));
    EXPECT_EQ(run.output, "box: ﾒｯｾｰｼﾞ | 変換されたシェープファイルをマップに追加しますか？\nresult: success\n");
    EXPECT_FALSE(fs::exists(out("点.shp")));
    EXPECT_THAT(ogrinfo(out("点_P.shp")), HasSubstr("Feature Count: 6"));
    EXPECT_FALSE(fs::exists(out("点_L.shp")));
    EXPECT_THAT(onlyLog(), StartsWith("[面データ]付属変換開始。"));
}

TEST_F(AreaJobRunTest, ACatchmentJobWithTwoOfThreeCodesChosenInTheDialogWritesThoseTwo) {
    writeAreaCatalogue({text::toCp932("2,10,流域界・非集水域,0,0,0,0,0,0,W12-52A,0")}, {});
    writeLines(program_.file("DataSyusui.csv"), {"1,81", "2,81,81001,一の川", "2,81,81002,二の川", "2,81,81003,三の川"});
    datagen::BasinGenOptions o;
    o.cols = 3;
    o.rows = 1;
    o.codes = {"81001", "81002", "81003"};
    const datagen::BasinGenResult basins = datagen::generate_basin_files(program_.file("in/basin"), o);
    const JobRun run = jobrun("--kind area --row 10 --attached none --catchments 81001,81003 --out '" +
                              out("流域") + "'" + quoted(basins.files));
    EXPECT_EQ(run.output, countsBox(2, 2) + "result: success\n");
    const std::string info = ogrinfo(out("流域.shp"));
    EXPECT_THAT(info, HasSubstr("Feature Count: 2"));
    EXPECT_THAT(info, HasSubstr("ID[\"EPSG\",4301]"));
    EXPECT_THAT(info, HasSubstr("81001"));
    EXPECT_THAT(info, HasSubstr("81003"));
    EXPECT_THAT(info, ::testing::Not(HasSubstr("81002")));
}

TEST_F(AreaJobRunTest, TheLibrarysOwnBoxesArePrintedInTheirTurnAndTheJobFails) {
    writeAreaCatalogue({text::toCp932("2,10,流域界・非集水域,0,0,0,0,0,0,W12-52A,0")}, {});
    writeLines(program_.file("DataSyusui.csv"), {"1,99", "2,99,99999,無い川"});
    datagen::BasinGenOptions o;
    const datagen::BasinGenResult basins = datagen::generate_basin_files(program_.file("in/basin"), o);
    const JobRun run = jobrun("--kind area --row 10 --attached none --catchments 99999 --out '" + out("無") + "'" +
                              quoted(basins.files));
    // The library's box names where its reading stood.
    EXPECT_THAT(run.output, StartsWith("box: エラー | 変換できるポリゴンデータがありませんでした。 " + basins.files.front()));
    EXPECT_THAT(run.output, ::testing::EndsWith("\nbox: エラー | エラーが生じたため中止します。\nresult: failure\n"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(fs::exists(out("無.shp")));
}

TEST_F(AreaJobRunTest, PolygonsGetTheProjectionFileOfTheDatumInTheShapeWritersBytes) {
    const std::vector<std::string> files = structureFiles(0, 1);
    struct Case {
        int datum;
        const char* epsg;  // empty: no .prj
    };
    for (const Case c : {Case{2000, "4612"}, Case{0, "4301"}, Case{-1, ""}}) {
        SCOPED_TRACE(c.datum);
        const std::string name = "datum" + std::to_string(c.datum);
        // An earlier .prj beside the output is replaced, or removed when none is wanted.
        writeLines(out(name + ".prj"), {"stale"});
        const JobRun run = jobrun("--kind area --row 0 --datum " + std::to_string(c.datum) +
                                  " --attached points --out '" + out(name) + "'" + quoted(files));
        EXPECT_EQ(run.exitCode, 0) << run.output;
        if (*c.epsg) {
            // The representative points beside them got theirs from the shape writer.
            EXPECT_EQ(readFile(out(name + ".prj")), readFile(out(name + "_P.prj")));
            EXPECT_THAT(ogrinfo(out(name + ".shp")), HasSubstr(std::string("ID[\"EPSG\",") + c.epsg + "]"));
        } else {
            EXPECT_FALSE(fs::exists(out(name + ".prj")));
            EXPECT_FALSE(fs::exists(out(name + "_P.prj")));
        }
    }
}

TEST_F(AreaJobRunTest, AFileOfNoKnownItemIsLoggedAsUnknown) {
    // The catalogue holds row 0 alone: every other row has an empty header key, which must claim nothing.
    const std::vector<std::string> files = structureFiles(0, 1);
    datagen::AreaStructureOptions o;
    o.row = 5;
    const std::string unknown = datagen::generate_area_structure_files(program_.file("in/other"), o).files.at(0).path;
    const JobRun run = jobrun("--kind area --row 0 --polygons no --attached points --out '" + out("不明") + "' '" +
                              unknown + "'" + quoted(files));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_THAT(onlyLog(), HasSubstr("ではありません。 ファイル種別：不明\r\n"));
}

// The boundary lines read the links' vertices: an X that is neither blank nor a number refuses the file,
// naming it and the line, instead of ending the link's points there.
TEST_F(AreaJobRunTest, AVertexThatIsNoNumberFailsTheBoundaryLinesNamingFileAndLine) {
    const std::string file = structureFiles(0, 1).at(0);
    std::vector<std::string> lines;
    {
        std::string bytes = readFile(file), line;
        for (char c : bytes) {
            if (c == '\n') lines.push_back(line), line.clear();
            else if (c != '\r') line += c;
        }
    }
    std::size_t at = 0;
    while (at < lines.size() && lines[at].rfind("L  ", 0) != 0) ++at;
    ASSERT_LT(at + 1, lines.size());
    lines[at + 1].replace(0, 8, " 46A6491");
    {
        std::string bytes;
        for (const std::string& l : lines) bytes += l + "\r\n";
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    }
    const JobRun run = jobrun("--kind area --row 0 --polygons no --attached lines --answer no --out '" + out("線") + "' '" +
                              file + "'");
    const std::string named = file + " の " + std::to_string(at + 2) + "行目の中間点の座標";
    EXPECT_THAT(run.output, HasSubstr(named)) << run.output;
    EXPECT_THAT(run.output, ::testing::EndsWith("result: failure\n"));
    EXPECT_THAT(onlyLog(), HasSubstr(named));
}

// A forest file of 3 x 2 areas of 0.05 degree from 139.01 E, 35.51 N: the left two columns lie in mesh
// 533920, the right column reaches into 533921.
TEST_F(AreaJobRunTest, ANationwideForestJobNarrowedToAMeshWritesOnlyTheAreasTouchingIt) {
    writeAreaCatalogue({text::toCp932("2,4,森林地域,0,1,0,0,0,0,A13-60A,0")}, {});
    fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/DataView.csv", program_.file("DataView.csv"));
    datagen::AreaGenOptions o;
    o.data_id = 4;
    o.cols = 3;
    o.rows = 2;
    o.vertices_per_link = 4;
    o.cell_units = 0.05 * 36000;
    o.origin_x = 139.01 * 36000;
    o.origin_y = 35.51 * 36000;
    const std::string file = datagen::generate_area_files(program_.file("in/forest"), o).files.front();

    const JobRun narrowed = jobrun("--nationwide --meshes 533921 --kind area --row 4 --attached none --out '" +
                                   out("一部") + "' '" + file + "'");
    EXPECT_EQ(narrowed.output, countsBox(2, 2) + "result: success\n");
    EXPECT_THAT(ogrinfo(out("一部.shp")), HasSubstr("Feature Count: 2"));
    // The datum of the dialog (Tokyo by default) in the polygons' .prj.
    EXPECT_THAT(ogrinfo(out("一部.shp")), HasSubstr("ID[\"EPSG\",4301]"));

    const JobRun root = jobrun("--nationwide --all --kind area --row 4 --attached none --out '" + out("全部") + "' '" +
                               file + "'");
    EXPECT_EQ(root.output, countsBox(6, 6) + "result: success\n");
    EXPECT_THAT(ogrinfo(out("全部.shp")), HasSubstr("Feature Count: 6"));
}

}  // namespace
