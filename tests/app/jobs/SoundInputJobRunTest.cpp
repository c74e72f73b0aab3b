// Sound input through every job kind, as the convert button runs the job: each everyday variant of a sound
// file (written by another program, edited by hand) converts, and to exactly what the unvaried file gives.
#include <gmock/gmock.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <string>

#include "tests/app/jobs/JobKindInputs.h"

using namespace velmora;
using namespace velmora::testsupport;
namespace fs = std::filesystem;

namespace {

enum class Variant {
    NoFinalLineEnd,
    BlankTrailingFieldsTrimmed,
    EmptyHeaderKey,
    BlanksAfterEveryLine,
    BlankAfterAFullContinuationLine,
    EndOfFileMarkOnItsOwnLine,
    EndOfFileMarkAfterTheLastLine,
    NamesThatReadAsUtf8Too,
};

const char* name(Variant v) {
    switch (v) {
        case Variant::NoFinalLineEnd: return "NoFinalLineEnd";
        case Variant::BlankTrailingFieldsTrimmed: return "BlankTrailingFieldsTrimmed";
        case Variant::EmptyHeaderKey: return "EmptyHeaderKey";
        case Variant::BlanksAfterEveryLine: return "BlanksAfterEveryLine";
        case Variant::BlankAfterAFullContinuationLine: return "BlankAfterAFullContinuationLine";
        case Variant::EndOfFileMarkOnItsOwnLine: return "EndOfFileMarkOnItsOwnLine";
        case Variant::EndOfFileMarkAfterTheLastLine: return "EndOfFileMarkAfterTheLastLine";
        case Variant::NamesThatReadAsUtf8Too: return "NamesThatReadAsUtf8Too";
    }
    return "?";
}

// Blanks from character column `from` (1-based) to the end of the line, keeping its length.
void blankFrom(std::string& line, std::size_t from) {
    if (line.size() >= from) line.replace(from - 1, std::string::npos, line.size() - from + 1, ' ');
}

std::string trimmedEnd(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

// The fields of a CSV line (no quoting in the catalogue files).
std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',') fields.emplace_back();
        else fields.back() += c;
    }
    return fields;
}

// 﨑山 德山 增田 槇田 邊田 as Shift-JIS files hold them (﨑, 德 and 增 in their NEC-selected codes, as the
// data set writes them; iconv would give their IBM codes, which are no UTF-8).
const std::string kNamesThatReadAsUtf8Too = "\xED\x95\x8E\x52 \xED\x9E\x8E\x52 \xED\x81\x93\x63 \xEA\xA0\x93\x63 \xE7\xB2\x93\x63";

struct Case {
    JobKind job;
    Variant variant;
};

class SoundInputJobRun : public JobKindFixture, public ::testing::WithParamInterface<Case> {
protected:
    // Makes the sound input the variant starts from (both conversions read it): blank trailing fields
    // kept as blanks, the Part's meaning of which the trimmed variant must give alike.
    void prepare(JobKind kind, Variant variant) {
        if (variant != Variant::BlankTrailingFieldsTrimmed) return;
        std::vector<std::string> lines = linesOf(bytesOf(input_));
        for (std::size_t i = 1; i < lines.size(); ++i) {
            std::string& line = lines[i];
            const std::string kindText = trimmedEnd(line.substr(0, 3));
            switch (kind) {
                case JobKind::PointFixed:
                    // Y and every item after it, in the third and the last record: logged (code 10), skipped.
                    if (i == 3 || i + 1 == lines.size()) blankFrom(line, 18);
                    break;
                case JobKind::Line:
                    // The node's counterpart columns (stored when numeric) and the ledger's items from 種別 on.
                    if (kindText == "N") blankFrom(line, 49);
                    if (kindText == "DS") blankFrom(line, 37);
                    break;
                case JobKind::Table: blankFrom(line, 29); break;  // 人数: Null
                case JobKind::Mesh: blankFrom(line, 27); break;   // 区分 and 予備: empty
                default: break;
            }
        }
        writeBytes(input_, joined(lines));
    }

    // Rewrites the sound input as the variant says, keeping every record it holds.
    void vary(const JobSetup& job, Variant variant) {
        const std::vector<std::string> lines = linesOf(bytesOf(input_));
        switch (variant) {
            case Variant::NoFinalLineEnd: {
                const std::string whole = joined(lines);
                writeBytes(input_, whole.substr(0, whole.size() - 2));
                return;
            }
            case Variant::BlankTrailingFieldsTrimmed: {
                // As an editor that strips trailing blanks saves it: lines end before their blank fields.
                std::vector<std::string> trimmed;
                for (const std::string& line : lines) trimmed.push_back(trimmedEnd(line));
                writeBytes(input_, joined(trimmed));
                return;
            }
            case Variant::EmptyHeaderKey: {
                // The selected row's header key left empty: every file of a header line is the item's.
                std::vector<std::string> rows = linesOf(bytesOf(program_.file("DataDBF.csv")));
                for (std::string& row : rows) {
                    std::vector<std::string> f = csvFields(row);
                    if (f.size() <= 9 || f[9] != job.key) continue;
                    f[9].clear();
                    row.clear();
                    for (std::size_t i = 0; i < f.size(); ++i) row += (i ? "," : "") + f[i];
                }
                writeBytes(program_.file("DataDBF.csv"), joined(rows));
                return;
            }
            case Variant::BlanksAfterEveryLine: {
                std::vector<std::string> padded = lines;
                for (std::string& line : padded) line += std::string(20, ' ');
                writeBytes(input_, joined(padded));
                return;
            }
            case Variant::BlankAfterAFullContinuationLine: {
                // Five vertices (80 bytes) on a line that is no record line.
                std::vector<std::string> padded = lines;
                const auto full = std::find_if(padded.begin(), padded.end(), [](const std::string& l) {
                    return l.size() == 80 && !std::isalpha(static_cast<unsigned char>(l[0]));
                });
                ASSERT_NE(full, padded.end()) << "the sound input has no full continuation line";
                *full += ' ';
                writeBytes(input_, joined(padded));
                return;
            }
            case Variant::EndOfFileMarkOnItsOwnLine:
                // The old end-of-file mark (0x1A), as DOS-era programs wrote it.
                writeBytes(input_, joined(lines) + "\x1A");
                return;
            case Variant::EndOfFileMarkAfterTheLastLine: {
                const std::string whole = joined(lines);
                writeBytes(input_, whole.substr(0, whole.size() - 2) + "\x1A");
                return;
            }
            case Variant::NamesThatReadAsUtf8Too: {
                // After the first line's own text (the header of a fixed-column file, the heading of a
                // delimited one), names whose Shift-JIS bytes are valid UTF-8 too.
                std::vector<std::string> named = lines;
                named.front() += (job.key.empty() ? "," : "  ") + kNamesThatReadAsUtf8Too;
                writeBytes(input_, joined(named));
                return;
            }
        }
    }

    JobRun convert(const JobSetup& job, const std::string& folder) const {
        fs::create_directories(program_.file("out/" + folder));
        return jobrun(job.arguments + " --answer no --out '" + program_.file("out/" + folder + "/result") + "' '" +
                      input_ + "'");
    }

    // Every file a job wrote into its output folder, by name, with its bytes.
    std::map<std::string, std::string> outputs(const std::string& folder) const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(program_.file("out/" + folder)))
            files[e.path().filename().string()] = bytesOf(e.path().string());
        return files;
    }
};

bool applies(const Case& c) {
    switch (c.variant) {
        case Variant::NoFinalLineEnd: return true;
        // Fixed-column records only; the polygon library reads node records by their byte count.
        case Variant::BlankTrailingFieldsTrimmed: return c.job != JobKind::PointComma && c.job != JobKind::Area;
        // A delimited point file has no header line to hold a key.
        case Variant::EmptyHeaderKey: return c.job != JobKind::PointComma;
        // Padded lines are a variant of the area files' fixed columns, where entries of continuation lines
        // are counted per line.
        case Variant::BlanksAfterEveryLine:
        case Variant::BlankAfterAFullContinuationLine: return c.job == JobKind::Area;
    }
    return true;
}

TEST_P(SoundInputJobRun, ConvertsToWhatTheUnvariedFileGives) {
    const Case c = GetParam();
    if (!applies(c)) GTEST_SKIP() << "no such input for this job";
    const JobSetup job = setUp(c.job);
    prepare(c.job, c.variant);
    const JobRun plain = convert(job, "plain");
    ASSERT_THAT(plain.output, ::testing::EndsWith("result: success\n")) << plain.output;

    vary(job, c.variant);
    const std::set<std::string> before = programFolderNames();
    const JobRun varied = convert(job, "varied");
    EXPECT_THAT(varied.output, ::testing::EndsWith("result: success\n")) << varied.output;
    EXPECT_EQ(outputs("varied"), outputs("plain")) << varied.output;
    EXPECT_EQ(programFolderNames(), before);
}

std::vector<Case> everyCase() {
    std::vector<Case> cases;
    for (JobKind j : {JobKind::PointFixed, JobKind::PointComma, JobKind::Line, JobKind::Table, JobKind::Mesh, JobKind::Area})
        for (Variant v : {Variant::NoFinalLineEnd, Variant::BlankTrailingFieldsTrimmed, Variant::EmptyHeaderKey,
                          Variant::BlanksAfterEveryLine, Variant::BlankAfterAFullContinuationLine,
                          Variant::EndOfFileMarkOnItsOwnLine, Variant::EndOfFileMarkAfterTheLastLine,
                          Variant::NamesThatReadAsUtf8Too})
            cases.push_back({j, v});
    return cases;
}

// Records whose only double-byte text is such a name convert to the names they hold.
class ShiftJisNamesJobRun : public JobKindFixture {};

TEST_F(ShiftJisNamesJobRun, RecordsWhoseOnlyDoubleByteTextIsANameThatReadsAsUtf8TooConvertToTheirNames) {
    writeCatalogue(program_.path(), {{CatalogKind::Attr, 3, "海水浴台帳", "W07", kBeachItems}});
    const auto cols = std::vector<gen::AttrGenColumn>{{4, 5, false}, {9, 20, false}, {29, 8, true}};
    const std::vector<std::string> names = {"﨑山", "德山", "增田", "槇田", "邊田"};
    std::vector<std::string> lines = {gen::attrHeaderLine({"", "W07", "", "2008", "1", 5})};
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string row = gen::attrTRow(cols, {"A000" + std::to_string(i + 1), "NAME", "1"});
        row.replace(row.find("NAME"), 4, kNamesThatReadAsUtf8Too.substr(5 * i, 4));
        lines.push_back(row);
    }
    gen::writeLines(input_, lines);
    const JobRun run = jobrun("--kind attr --row 3 --answer no --out '" + program_.file("out/result") + "' '" + input_ + "'");
    ASSERT_THAT(run.output, ::testing::EndsWith("result: success\n")) << run.output;
    EXPECT_EQ(fieldValues(ogrinfo(program_.file("out/result.dbf")), "名称"), names);
}

INSTANTIATE_TEST_SUITE_P(EveryJobKind, SoundInputJobRun, ::testing::ValuesIn(everyCase()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(name(info.param.job)) + "_" + name(info.param.variant);
                         });

}  // namespace
