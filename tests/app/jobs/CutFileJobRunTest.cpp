// Files that hold fewer lines than their headers state, through every job kind as the convert button runs
// it: whole records missing at the end convert what is there, keep the output, and say so in the log and
// in a box before the closing question. Sound files of every kind, multi-line records included, convert
// without that box.
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

#include "tests/app/jobs/JobKindInputs.h"
#include "tests/app/jobs/JobRunFixture.h"
#include "tests/convert/attr/AttrTableItems.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/AttrFileGen.h"
#include "tests/tools/gen/MeshFileGen.h"
#include "tests/tools/gen/PointFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

enum class Kind { Point, MergedPoints, Table, LedgerTable, Coastline, Road, Railway, Mesh, ForestMesh, Area, ResortArea };

const char* name(Kind k) {
    switch (k) {
        case Kind::Point: return "Point";
        case Kind::MergedPoints: return "MergedPoints";
        case Kind::Table: return "Table";
        case Kind::LedgerTable: return "LedgerTable";
        case Kind::Coastline: return "Coastline";
        case Kind::Road: return "Road";
        case Kind::Railway: return "Railway";
        case Kind::Mesh: return "Mesh";
        case Kind::ForestMesh: return "ForestMesh";
        case Kind::Area: return "Area";
        case Kind::ResortArea: return "ResortArea";
    }
    return "?";
}

struct Case {
    Kind kind;
    int cut;  // whole lines taken from the end of the file; 0: the file as written
};

// What a kind's job needs and what a cut of it must tell.
struct Job {
    std::string arguments;  // --kind, --row and options
    std::string before;     // quoted input files that come before the input
    std::string output;     // the file that must be there afterwards
    // The part of the notice after the input's path, for a file cut by `cut` lines.
    std::string notice;
};

class CutFileJobRun : public JobRunFixture, public ::testing::WithParamInterface<Case> {
protected:
    // Writes the kind's sound input and its catalogue rows.
    Job setUp(Kind kind, int cut) {
        const std::string out = program_.file("out/result");
        auto counted = [&](long stated, long read) {
            return " の行数（" + std::to_string(read) + "）がヘッダーに記載の件数（" + std::to_string(stated) + "）";
        };
        auto ledgers = [&](long stated) {
            return " の台帳の行数（" + std::to_string(stated - cut) + "）が2行目に記載の行数（" + std::to_string(stated) + "）";
        };
        switch (kind) {
            case Kind::Point:
            case Kind::MergedPoints: {
                const gen::PointGenLayer layer = gen::standardPointLayer("発電所", "P03");
                writeCatalogue(program_.path(), {pointCatalogueRow(12, layer)});
                gen::PointFileOptions o;
                o.points = 5;
                gen::writeFixedPointFile(input_, layer, o);
                // Two files go through the work database.
                std::string before;
                if (kind == Kind::MergedPoints) {
                    o.first = 100;
                    gen::writeFixedPointFile(program_.file("in/first.txt"), layer, o);
                    before = "'" + program_.file("in/first.txt") + "' ";
                }
                // The header states 5 records; the file holds them after its header line.
                return {"--kind point --row 12", before, out + ".shp", counted(5, 6 - cut)};
            }
            case Kind::Table: {
                writeCatalogue(program_.path(), {{CatalogKind::Attr, 3, "海水浴台帳", "W07",
                                                  {{"コード", "Text", 4, 5}, {"名称", "Text1", 9, 20}, {"人数", "Long", 29, 8}}}});
                const auto cols = std::vector<gen::AttrGenColumn>{{4, 5, false}, {9, 20, false}, {29, 8, true}};
                gen::writeLines(input_, {gen::attrHeaderLine({"", "W07", "", "2008", "1", 3}),
                                         gen::attrTRow(cols, {"A0001", "由比ヶ浜", "120"}),
                                         gen::attrTRow(cols, {"A0002", "逗子", "7"}),
                                         gen::attrTRow(cols, {"A0003", "葉山", "15"})});
                return {"--kind attr --row 3", "", out + ".dbf", counted(3, 3 - cut)};
            }
            case Kind::LedgerTable: {
                // The ledger-joined table: each record a "T" row and its "DT" ledger row; the header counts
                // them all.
                writeCatalogue(program_.path(), {{CatalogKind::Attr, 10, "河川・水系域テーブル", "W03", riverTableItems(true)}});
                std::vector<std::string> lines = {gen::attrHeaderLine({"", "W03", "", "1977", "1", 6})};
                for (int r = 1; r <= 3; ++r) {
                    const std::string system = std::to_string(81000 + r), river = std::to_string(r);
                    lines.push_back(gen::attrTRow(riverTableColumns(), {system, river, "川" + river, "1", "1200", "300",
                                                                        "", "1977", "7", "名"}));
                    lines.push_back(gen::attrDtRow(system + "00" + river, "1", "水系" + river));
                }
                gen::writeLines(input_, lines);
                return {"--kind attr --row 10", "", out + ".dbf", counted(6, 6 - cut)};
            }
            case Kind::Coastline:
            case Kind::Road:
            case Kind::Railway: {
                const int row = kind == Kind::Coastline ? 3 : kind == Kind::Road ? 25 : 26;
                gen::LineFileOptions o = coastlineFile(1);
                o.item = kind == Kind::Coastline ? gen::LineItem::Ordinary
                         : kind == Kind::Road    ? gen::LineItem::Road
                                                 : gen::LineItem::Railway;
                o.stations = kind == Kind::Railway ? 4 : 0;
                writeCatalogue(program_.path(), {{CatalogKind::Line, row, "線" + std::to_string(row), o.headerKey,
                                                  lineItems(kind == Kind::Road ? gen::roadLedgerItems()
                                                                               : gen::ordinaryLedgerItems())}});
                const gen::LineFileModel m = gen::makeLineFileModel(o);
                gen::writeLineFile(input_, m);
                return {"--kind line --row " + std::to_string(row), "", out + ".shp", ledgers(m.ledgerLines())};
            }
            case Kind::Mesh:
            case Kind::ForestMesh: {
                const bool forest = kind == Kind::ForestMesh;
                writeCatalogue(program_.path(),
                               {{CatalogKind::Mesh, forest ? 2 : 0, forest ? "森林・国公有地メッシュ" : "指定地域メッシュ", "M99",
                                 forest ? lineItems(gen::layerItems(gen::MeshLayerKind::Forest))
                                        : meshCatalogueItems(gen::MeshFileFormat::Fixed, 0),
                                 3, 0}});
                gen::MeshFileOptions o;
                o.records = 12;
                if (forest) {
                    // Each ledger record is three lines: "DM", the account name, its address.
                    o.kind = gen::MeshLayerKind::Forest;
                    o.ledgerRecords = 3;
                }
                const gen::MeshFileModel m = gen::makeMeshFileModel(o);
                gen::writeMeshFile(input_, m);
                // The header states the file's lines, its own included.
                const long lines = 1 + static_cast<long>(m.records.size() + m.ledgerLines.size());
                return {"--kind mesh --row " + std::string(forest ? "2" : "0"), "", out + ".shp",
                        counted(lines, lines - cut)};
            }
            case Kind::Area:
            case Kind::ResortArea: {
                // Row 7's ledger records are two lines each.
                const int row = kind == Kind::Area ? 0 : 7;
                datagen::AreaStructureOptions o;
                o.row = row;
                o.grid.cols = 2;
                o.grid.rows = 2;
                o.grid.vertices_per_link = 7;
                const datagen::AreaStructureModel m = datagen::generate_area_structure_files(program_.file("in/area"), o);
                fs::rename(m.files.front().path, input_);
                writeAreaCatalogue(program_.path(), m, "面");
                long ledgerLines = 0;
                for (const datagen::AreaLedgerModel& l : m.files.front().ledgers) ledgerLines += l.line_count;
                return {"--kind area --row " + std::to_string(row) + " --polygons no --attached both", "",
                        out + "_P.shp", ledgers(ledgerLines)};
            }
        }
        return {};
    }

    std::string input_ = program_.file("in/input.txt");
};

TEST_P(CutFileJobRun, KeepsTheOutputAndTellsACutBeforeTheQuestionAndASoundFileGetsNoSuchBox) {
    const Case c = GetParam();
    const Job job = setUp(c.kind, c.cut);
    std::vector<std::string> lines = linesOf(bytesOf(input_));
    ASSERT_GT(lines.size(), static_cast<std::size_t>(c.cut) + 2);
    if (c.cut > 0) {
        lines.resize(lines.size() - static_cast<std::size_t>(c.cut));
        writeBytes(input_, joined(lines));
    }

    const JobRun run = jobrun(job.arguments + " --answer no --out '" + program_.file("out/result") + "' " + job.before +
                              "'" + input_ + "'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_THAT(run.output, ::testing::EndsWith("result: success\n"));
    EXPECT_TRUE(fs::exists(job.output)) << run.output;
    const std::string log = onlyLog();
    const std::string question = "をマップに追加しますか？";
    if (c.cut == 0) {
        EXPECT_THAT(run.output, Not(HasSubstr("途中で切れている"))) << run.output;
        EXPECT_THAT(log, Not(HasSubstr("途中で切れている")));
        return;
    }
    const std::string notice = "入力ファイル " + input_ + job.notice;
    EXPECT_THAT(run.output, HasSubstr("box: ﾒｯｾｰｼﾞ | " + notice)) << run.output;
    EXPECT_THAT(run.output, HasSubstr("ファイルが途中で切れている可能性があります。"));
    ASSERT_NE(run.output.find(question), std::string::npos) << run.output;
    EXPECT_LT(run.output.find(notice), run.output.find(question));
    EXPECT_THAT(log, HasSubstr(notice));
}

std::vector<Case> everyCase() {
    std::vector<Case> cases;
    // Whole records missing at the end: two point records (a header that counts its records passes one
    // line short, as one that counts its own line does), the table's last record, the last ledger lines of
    // line files (two point files go through the work database; the ledger-joined table's records are a "T"
    // and a "DT" row), cells of a mesh file, a forest ledger record of three lines, area ledger records.
    const std::pair<Kind, int> cuts[] = {{Kind::Point, 2},      {Kind::MergedPoints, 2}, {Kind::Table, 1},
                                         {Kind::LedgerTable, 2}, {Kind::Coastline, 2},    {Kind::Road, 3},
                                         {Kind::Railway, 1},     {Kind::Mesh, 3},         {Kind::ForestMesh, 3},
                                         {Kind::Area, 2},        {Kind::ResortArea, 2}};
    for (const auto& [kind, cut] : cuts) {
        cases.push_back({kind, 0});
        cases.push_back({kind, cut});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryJobKind, CutFileJobRun, ::testing::ValuesIn(everyCase()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(name(info.param.kind)) +
                                    (info.param.cut == 0 ? "_Sound" : "_Cut" + std::to_string(info.param.cut));
                         });

}  // namespace
