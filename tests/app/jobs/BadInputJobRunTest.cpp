// Bad input through every job kind, as the convert button runs the job: each kind of broken file ends the
// job in a failure whose box names the file (and the line where there is one), whose log holds the cause,
// with nothing at the output path and no work file left in the program folder.
#include <gmock/gmock.h>

#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "tests/app/jobs/JobKindInputs.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

namespace {

enum class Fault {
    NotShiftJis,
    OtherItem,
    NoCatalogueRows,
    CutShort,
    HeaderOnly,
    NamedPipe,
    NoLineEnds,
    CorruptCoordinate,
    Missing,
    Empty,
    SeparatorInFixedRecord,
    NoItemLayoutFile,
};

const char* name(Fault f) {
    switch (f) {
        case Fault::NotShiftJis: return "NotShiftJis";
        case Fault::OtherItem: return "OtherItem";
        case Fault::NoCatalogueRows: return "NoCatalogueRows";
        case Fault::CutShort: return "CutShort";
        case Fault::HeaderOnly: return "HeaderOnly";
        case Fault::NamedPipe: return "NamedPipe";
        case Fault::NoLineEnds: return "NoLineEnds";
        case Fault::CorruptCoordinate: return "CorruptCoordinate";
        case Fault::Missing: return "Missing";
        case Fault::Empty: return "Empty";
        case Fault::SeparatorInFixedRecord: return "SeparatorInFixedRecord";
        case Fault::NoItemLayoutFile: return "NoItemLayoutFile";
    }
    return "?";
}

struct Case {
    JobKind job;
    Fault fault;
};

class BadInputJobRun : public JobKindFixture, public ::testing::WithParamInterface<Case> {
protected:
    // Breaks the sound input as the fault says; gives the text the box and the log must hold.
    std::string breakInput(const JobSetup& job, Fault fault) {
        const std::string bytes = bytesOf(input_);
        std::vector<std::string> lines = linesOf(bytes);
        const int firstData = job.headerLines + 1;
        switch (fault) {
            case Fault::NotShiftJis: {
                // A data line saved as UTF-8 (with a Japanese text where it held none).
                std::string& line = lines[static_cast<std::size_t>(firstData - 1)];
                line = text::fromCp932(line);
                if (line.find('\xE3') == std::string::npos) line.insert(3, "\xE3\x81\x82");
                writeBytes(input_, joined(lines));
                return input_ + " の " + std::to_string(firstData) + "行目";
            }
            case Fault::OtherItem: {
                std::string& header = lines.front();
                const std::size_t at = header.find(job.key);
                header.replace(at, job.key.size(), std::string(job.key.size(), 'Z'));
                writeBytes(input_, joined(lines));
                return input_;
            }
            case Fault::NoCatalogueRows: return job.itemName;
            case Fault::CutShort: {
                // The file ends inside its last record.
                std::string last = lines.back();
                lines.pop_back();
                writeBytes(input_, joined(lines) + last.substr(0, 6));
                return input_ + " の " + std::to_string(lines.size() + 1) + "行目";
            }
            case Fault::HeaderOnly:
                lines.resize(static_cast<std::size_t>(job.headerLines));
                writeBytes(input_, joined(lines));
                return input_;
            case Fault::NamedPipe:
                fs::remove(input_);
                EXPECT_EQ(::mkfifo(input_.c_str(), 0600), 0);
                return input_;
            case Fault::NoLineEnds: {
                std::string whole;
                for (const std::string& l : lines) whole += l;
                while (whole.size() <= 70000) whole += whole;
                writeBytes(input_, whole);
                return input_ + " の 1行目";
            }
            case Fault::CorruptCoordinate: {
                // An X that is neither blank nor a number: the second point record's, or the first vertex of
                // the first link record (the line after it).
                std::size_t at = 0;
                for (std::size_t i = static_cast<std::size_t>(job.headerLines); i < lines.size() && !at; ++i) {
                    const std::string kind = lines[i].substr(0, 3);
                    if (job.arguments.find("--kind point") != std::string::npos && kind == "P  " &&
                        i > static_cast<std::size_t>(job.headerLines))
                        at = i;
                    if (kind == "L  ") at = i + 1;
                }
                const std::size_t column = job.arguments.find("--kind point") != std::string::npos ? 9 : 0;
                lines[at].replace(column, 8, " 46A6491");
                writeBytes(input_, joined(lines));
                return input_ + " の " + std::to_string(at + 1) + "行目";
            }
            case Fault::Missing:
                fs::remove(input_);
                return input_;
            case Fault::Empty:
                writeBytes(input_, "");
                return "入力ファイル " + input_ + " にデータがありません。";
            case Fault::SeparatorInFixedRecord: {
                // A "," in the first record makes the file a delimited one, whose reading needs the item
                // layout file, here missing: that file is named, not the input's line.
                std::string& record = lines[static_cast<std::size_t>(firstData - 1)];
                record[record.find_last_not_of(' ')] = ',';
                writeBytes(input_, joined(lines));
                fs::remove(program_.file("DataDBFItemCS.csv"));
                notNamed_ = input_ + " の";
                return program_.file("DataDBFItemCS.csv");
            }
            case Fault::NoItemLayoutFile:
                fs::remove(program_.file("DataDBFItemCS.csv"));
                notNamed_ = input_ + " の";
                return program_.file("DataDBFItemCS.csv");
        }
        return {};
    }

    // A text the box and the log must not hold (blaming the wrong file or cause); empty for none.
    std::string notNamed_;
};

bool applies(const Case& c) {
    // A delimited point file has no header line: there is no key to be of another item, no header to stand
    // alone.
    if (c.job == JobKind::PointComma && c.fault == Fault::OtherItem) return false;
    // Coordinates in fixed columns: the point records and the link vertices of line files (the delimited
    // point columns pass as they stand; the area job's polygons come first from the library's own reader,
    // so its area-structure loader is tried without them, in AreaJobRunTest).
    if (c.fault == Fault::CorruptCoordinate) return c.job == JobKind::PointFixed || c.job == JobKind::Line;
    // Only fixed-column point files are told from delimited ones by their first record; only delimited
    // point files read an item layout file.
    if (c.fault == Fault::SeparatorInFixedRecord) return c.job == JobKind::PointFixed;
    if (c.fault == Fault::NoItemLayoutFile) return c.job == JobKind::PointComma;
    return true;
}

TEST_P(BadInputJobRun, EndsInAFailureNamingTheFileWithItsCauseLoggedAndNothingLeft) {
    const Case c = GetParam();
    if (!applies(c)) GTEST_SKIP() << "no such input for this job";
    noLayoutRows_ = c.fault == Fault::NoCatalogueRows;
    const JobSetup job = setUp(c.job);
    if (c.fault == Fault::NoCatalogueRows && c.job != JobKind::PointComma) {
        // The catalogue declares the item's items but holds no row of them.
        const std::vector<std::string> items = linesOf(bytesOf(program_.file("DataDBFItem.csv")));
        writeBytes(program_.file("DataDBFItem.csv"), joined({items.front()}));
    }
    const std::string named = breakInput(job, c.fault);
    const std::set<std::string> before = programFolderNames();

    const JobRun run = jobrun(job.arguments + " --answer no --out '" + program_.file("out/result") + "' '" + input_ + "'");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_THAT(run.output, ::testing::EndsWith("result: failure\n"));
    // The box names the file (and line).
    EXPECT_THAT(run.output, HasSubstr(named)) << run.output;
    // The log holds the cause.
    const std::vector<std::string> logs = this->logs();
    ASSERT_EQ(logs.size(), 1u) << run.output;
    EXPECT_THAT(text::fromCp932(readFile(program_.file("Log/" + logs[0]))), HasSubstr(named)) << run.output;
    if (!notNamed_.empty()) {
        EXPECT_THAT(run.output, Not(HasSubstr(notNamed_)));
        EXPECT_THAT(text::fromCp932(readFile(program_.file("Log/" + logs[0]))), Not(HasSubstr(notNamed_)));
    }
    // Nothing at the output path, nothing of the job's own in the program folder.
    EXPECT_TRUE(program_.folder().list("out").empty());
    EXPECT_EQ(programFolderNames(), before);
}

std::vector<Case> everyCase() {
    std::vector<Case> cases;
    for (JobKind j : {JobKind::PointFixed, JobKind::PointComma, JobKind::Line, JobKind::Table, JobKind::Mesh, JobKind::Area})
        for (Fault f : {Fault::NotShiftJis, Fault::OtherItem, Fault::NoCatalogueRows, Fault::CutShort, Fault::HeaderOnly,
                        Fault::NamedPipe, Fault::NoLineEnds, Fault::CorruptCoordinate, Fault::Missing, Fault::Empty,
                        Fault::SeparatorInFixedRecord, Fault::NoItemLayoutFile})
            cases.push_back({j, f});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryJobKind, BadInputJobRun, ::testing::ValuesIn(everyCase()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(name(info.param.job)) + "_" + name(info.param.fault);
                         });

// Inputs that are sound on their own, in jobs that must still say what they did.
class InputReportsJobRun : public JobRunFixture {
protected:
    InputReportsJobRun() {
        writeCatalogue(program_.path(), {{CatalogKind::Point, 12, "発電所", "P03", pointItems(layer_)},
                                         {CatalogKind::Point, 13, "ダム", "W01", pointItems(layer_)}});
        gen::writeCsvLayoutFile(program_.file("DataDBFItemCS.csv"), {layer_});
    }
    std::string pointFile(const std::string& name, long points, const std::string& key = "P03") const {
        gen::PointFileOptions o;
        o.points = points;
        if (key != "P03") o.headerKey = key;
        const std::string path = program_.file("in/" + name);
        gen::writeFixedPointFile(path, layer_, o);
        return path;
    }
    JobRun pointJob(const std::vector<std::string>& inputs) const {
        std::string arguments = "--kind point --row 12 --answer no --out '" + program_.file("out/発電所") + "'";
        for (const std::string& in : inputs) arguments += " '" + in + "'";
        return jobrun(arguments);
    }

    const gen::PointGenLayer layer_ = gen::standardPointLayer("発電所", "P03");
};

TEST_F(InputReportsJobRun, AFileWithFewerRecordsThanItsHeaderStatesKeepsItsOutputAndSaysSoBeforeTheQuestion) {
    // Whole records missing at the end: the header still counts 8.
    const std::string in = pointFile("cut.txt", 8);
    std::vector<std::string> lines = linesOf(bytesOf(in));
    lines.resize(lines.size() - 3);
    writeBytes(in, joined(lines));
    const JobRun run = pointJob({in});
    const std::string notice = "入力ファイル " + in + " の行数（6）がヘッダーに記載の件数（8）より少なくなっています。";
    EXPECT_THAT(run.output, HasSubstr("box: ﾒｯｾｰｼﾞ | " + notice));
    EXPECT_LT(run.output.find(notice), run.output.find("変換されたシェープファイルをマップに追加しますか？"));
    EXPECT_THAT(run.output, ::testing::EndsWith("result: success\n"));
    EXPECT_THAT(ogrinfo(program_.file("out/発電所.shp")), HasSubstr("Feature Count: 5"));
    EXPECT_THAT(onlyLog(), HasSubstr(notice));
}

TEST_F(InputReportsJobRun, OnlyFilesOfAnotherItemFailNamingThemAndAMixedListConvertsTheItemsFiles) {
    const std::string dam1 = pointFile("dam1.txt", 4, "W01"), dam2 = pointFile("dam2.txt", 4, "W01");
    const JobRun refused = pointJob({dam1, dam2});
    EXPECT_THAT(refused.output, HasSubstr("入力ファイルに「発電所」のデータがありません。 " + dam1 + " " + dam2));
    EXPECT_THAT(refused.output, ::testing::EndsWith("result: failure\n"));
    EXPECT_TRUE(program_.folder().list("out").empty());
    EXPECT_THAT(onlyLog(), HasSubstr("入力ファイルに「発電所」のデータがありません。 " + dam1 + " " + dam2));

    fs::remove(program_.file("Log/" + logs()[0]));
    const JobRun mixed = pointJob({dam1, pointFile("plants.txt", 6)});
    EXPECT_THAT(mixed.output, ::testing::EndsWith("result: success\n"));
    EXPECT_THAT(ogrinfo(program_.file("out/発電所.shp")), HasSubstr("Feature Count: 6"));
    EXPECT_THAT(onlyLog(), HasSubstr("ファイルの種別が「発電所」ではありません。"));
}

TEST_F(InputReportsJobRun, AFailedReadNamesTheFileAndLineInTheBoxAndTheLog) {
    // An X coordinate that is no number in the third record (line 4).
    const std::string in = pointFile("bad.txt", 5);
    std::vector<std::string> lines = linesOf(bytesOf(in));
    lines[3].replace(9, 8, "12A45678");
    writeBytes(in, joined(lines));
    const JobRun run = pointJob({in});
    EXPECT_THAT(run.output, ::testing::EndsWith("result: failure\n"));
    EXPECT_THAT(run.output, HasSubstr(in + " の 4行目"));
    EXPECT_THAT(onlyLog(), HasSubstr(in + " の 4行目"));
    EXPECT_TRUE(program_.folder().list("out").empty());
}

TEST_F(InputReportsJobRun, AnEmptyFileOrAFolderAsASecondInputIsNamedForWhatItIs) {
    const std::string comma = program_.file("in/plants.csv");
    gen::PointFileOptions o;
    o.points = 3;
    gen::writeDelimitedPointFile(comma, layer_, o, ',');
    const std::string empty = program_.file("in/empty.csv");
    writeBytes(empty, "");
    const JobRun withEmpty = pointJob({comma, empty});
    EXPECT_THAT(withEmpty.output, HasSubstr("入力ファイル " + empty + " にデータがありません。"));
    EXPECT_THAT(withEmpty.output, Not(HasSubstr("混在")));
    EXPECT_THAT(withEmpty.output, ::testing::EndsWith("result: failure\n"));

    const std::string folder = program_.file("in/folder.csv");
    fs::create_directories(folder);
    const JobRun withFolder = pointJob({comma, folder});
    EXPECT_THAT(withFolder.output, HasSubstr("入力ファイル " + folder + " は通常のファイルではありません"));
    EXPECT_THAT(withFolder.output, Not(HasSubstr("混在")));
    EXPECT_THAT(withFolder.output, ::testing::EndsWith("result: failure\n"));
    EXPECT_TRUE(program_.folder().list("out").empty());
}

}  // namespace
