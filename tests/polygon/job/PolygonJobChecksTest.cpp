// The checks of a polygon job: refused arguments, the grouping of input files by data code, and the
// three refusals of the input files with their boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "polygon/core/PolygonJob.h"
#include "tests/polygon/job/JobFiles.h"
#include "tests/polygon/job/RecordingJobUi.h"

namespace {

using ostrand::BoxAnswer;
using ostrand::BoxIcon;
using ostrand::JobResult;
using ostrand::PolygonJob;
using ostrand::PolygonStats;
using polygontest::counts_file;
using polygontest::grid_file;
using polygontest::RecordingJobUi;
using polygontest::sj;
using polygontest::TempFolder;

struct ArgumentCase {
    const char* what;
    int data_id;
    bool input, output, log;
    const char* mesh;
    const char* basin;
    JobResult expected;
};

class ArgumentRefusal : public testing::TestWithParam<ArgumentCase> {};

// Every refused argument ends the job before any file is looked at: no box, no log file, counts untouched.
TEST_P(ArgumentRefusal, RefusesSilentlyWithoutLog) {
    const ArgumentCase& c = GetParam();
    TempFolder dir("job-args");
    const std::string input = grid_file(dir, "in", 3);
    const std::string output = dir.file("out.shp"), log = dir.file("job.log");
    RecordingJobUi ui;
    PolygonJob job(c.data_id, c.input ? input.c_str() : nullptr, c.output ? output.c_str() : nullptr,
                   c.log ? log.c_str() : nullptr, c.mesh, c.basin, ui);
    PolygonStats stats{7, 7, 7, 7, 7};
    EXPECT_EQ(job.run(&stats), c.expected) << c.what;
    EXPECT_TRUE(ui.boxes.empty()) << c.what;
    EXPECT_FALSE(std::filesystem::exists(log)) << c.what;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.shp"))) << c.what;
    EXPECT_EQ(stats.made, 7) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ArgumentRefusal,
    testing::Values(ArgumentCase{"unknown item", 11, true, true, true, "", nullptr, JobResult::BadDataId},
                    ArgumentCase{"negative item", -1, true, true, true, "", nullptr, JobResult::BadDataId},
                    ArgumentCase{"catchments without codes", 20, true, true, true, nullptr, nullptr,
                                 JobResult::BadDataId},
                    ArgumentCase{"catchments with empty codes before missing files", 20, false, false, false,
                                 nullptr, "", JobResult::BadDataId},
                    ArgumentCase{"no input", 3, false, true, true, "", nullptr, JobResult::NoInputFiles},
                    ArgumentCase{"no output", 3, true, false, true, "", nullptr, JobResult::NoOutputPath},
                    ArgumentCase{"no log", 3, true, true, false, "", nullptr, JobResult::NoLogPath},
                    ArgumentCase{"rural without mesh list", 3, true, true, true, nullptr, nullptr,
                                 JobResult::NoMeshCodes},
                    ArgumentCase{"resort without mesh list", 7, true, true, true, nullptr, nullptr,
                                 JobResult::NoMeshCodes},
                    ArgumentCase{"missing input wins over missing mesh list", 3, false, true, true, nullptr,
                                 nullptr, JobResult::NoInputFiles}),
    [](const testing::TestParamInfo<ArgumentCase>& i) { return "case" + std::to_string(i.index); });

TEST(ArgumentChecks, MeshListRequiredOnlyWhereItNarrows) {
    TempFolder dir("job-mesh");
    const std::string out = dir.file("o.shp"), log = dir.file("l.log");
    struct Case {
        int id;
        const char* mesh;
        bool passes;
    } cases[] = {{3, "", true}, {9, "", true}, {5, nullptr, true}, {8, nullptr, true}, {10, nullptr, true},
                 {0, "533945", true}, {2, nullptr, false}, {4, nullptr, false}, {6, nullptr, false}};
    for (const Case& c : cases) {
        const std::string in = counts_file(dir, "f.txt", ostrand::find_layer_record(c.id)->code, 1, 1, 1);
        RecordingJobUi ui;
        PolygonJob job(c.id, in.c_str(), out.c_str(), log.c_str(), c.mesh, nullptr, ui);
        EXPECT_EQ(job.check_input(), c.passes) << c.id;
        if (c.passes) {
            EXPECT_EQ(job.layer.data_id, c.id);
            // The list is dropped for the items that do not narrow by mesh.
            const bool kept = c.id == 3 || c.id == 9;
            EXPECT_EQ(job.mesh_codes != nullptr, kept) << c.id;
        } else {
            EXPECT_EQ(job.result, JobResult::NoMeshCodes);
        }
    }
}

// A job of data item 3 over the given comma list, checked only.
struct Checked {
    std::string list;
    RecordingJobUi ui;
    PolygonJob job;
    bool passed;
    Checked(int id, std::string files, std::deque<BoxAnswer> answers = {})
        : list(std::move(files)), job(id, list.c_str(), "/tmp/o.shp", "/tmp/o.log", "", nullptr, ui), passed(false) {
        ui.answers = std::move(answers);
        passed = job.check_input();
    }
    Checked(const Checked&) = delete;
    // The log lines after the time stamp.
    std::vector<std::string> lines_after_start() const {
        return {job.log_lines.begin() + 2, job.log_lines.end()};
    }
};

TEST(InputChecks, AllMatchingGoesOnWithoutQuestion) {
    TempFolder dir("job-all");
    const std::string a = grid_file(dir, "a", 3), b = grid_file(dir, "b", 3);
    Checked c(3, a + " , " + b);
    ASSERT_TRUE(c.passed);
    EXPECT_TRUE(c.ui.boxes.empty());
    EXPECT_EQ(c.job.files, (std::vector<std::string>{a, b}));
    EXPECT_EQ(c.lines_after_start(),
              (std::vector<std::string>{sj("> 入力ファイルのデータコードをチェックします。"),
                                        sj("[農業地域]に該当するファイル："), a, b,
                                        sj("[農業地域]に該当しないファイル："), sj("なし"), ""}));
}

TEST(InputChecks, GroupsFilesAndListsThem) {
    TempFolder dir("job-group");
    const std::string good = grid_file(dir, "good", 3);
    const std::string other = grid_file(dir, "other", 4);                           // A13-60A
    const std::string empty = counts_file(dir, "empty.txt", "A12-60A", 0, 0, 0);    // matches, counts 0
    const std::string missing = dir.file("missing.txt");
    const std::string list = good + "," + other + "," + good + "," + other + ",," + empty + "," + missing;
    Checked c(3, list, {BoxAnswer::Yes});
    ASSERT_TRUE(c.passed);
    EXPECT_EQ(c.job.files, std::vector<std::string>{good});
    EXPECT_EQ(c.lines_after_start(),
              (std::vector<std::string>{sj("> 入力ファイルのデータコードをチェックします。"),
                                        "", sj("ファイルが開けませんでした。"),
                                        missing, sj("ファイルが開けませんでした。"),
                                        sj("[農業地域]に該当するファイル："), good,
                                        sj("[農業地域]に該当しないファイル："), other, other, "", empty, missing,
                                        ""}));
    ASSERT_EQ(c.ui.boxes.size(), 1u);
    EXPECT_EQ(c.ui.boxes[0].text, "[農業地域]以外のファイルが含まれます。\n[農業地域]のファイルのみを使って処理を続けますか？");
    EXPECT_EQ(c.ui.boxes[0].caption, "メッセージ");
    EXPECT_EQ(c.ui.boxes[0].icon, BoxIcon::Question);
    EXPECT_TRUE(c.ui.boxes[0].yes_no);
    EXPECT_FALSE(c.ui.boxes[0].on_window);
}

TEST(InputChecks, DeclinedQuestionRefuses) {
    TempFolder dir("job-decline");
    Checked c(3, grid_file(dir, "good", 3) + "," + grid_file(dir, "other", 4), {BoxAnswer::No});
    EXPECT_FALSE(c.passed);
    EXPECT_EQ(c.job.result, JobResult::UserDeclined);
}

TEST(InputChecks, NoMatchingFileRefusesAndKeepsNothing) {
    TempFolder dir("job-none");
    const std::string other = grid_file(dir, "other", 4);
    Checked c(3, other);
    EXPECT_FALSE(c.passed);
    EXPECT_EQ(c.job.result, JobResult::NoMatchingFiles);
    ASSERT_EQ(c.ui.boxes.size(), 1u);
    EXPECT_EQ(c.ui.boxes[0].text,
              "[農業地域]に該当するファイルがありませんでした。\nファイル選択をやりなおしてください。\n" + other);
    EXPECT_EQ(c.ui.boxes[0].icon, BoxIcon::Information);
    EXPECT_EQ(c.lines_after_start()[2], sj("なし"));
}

// Which header lines make a file one of the item's.
TEST(InputChecks, DataCodeRules) {
    TempFolder dir("job-codes");
    struct Case {
        int id;
        std::string header;
        bool matches;
    } cases[] = {
        {8, velmora::datagen::header_line("N03-07A", 2), true},
        {8, velmora::datagen::header_line("N03-99A", 2), true},
        {8, velmora::datagen::header_line("N03-07B", 2), false},
        {0, velmora::datagen::header_line("A09-02B", 2), false},
        {0, velmora::datagen::header_line("A09-02A", 2), true},
        {10, velmora::datagen::header_line("W09-50A", 2), true},
        {0, std::string(13, ' ') + "A09-02A" + std::string(12, ' '), false},  // exactly 32 bytes
        {0, std::string(13, ' ') + "A09-02A" + std::string(13, ' '), true},   // 33 bytes
    };
    const std::string counts = velmora::datagen::counts_line(3, 0, 1, 1, 1);
    for (const Case& c : cases) {
        const std::string path = dir.file("f.txt");
        polygontest::write_file(path, c.header + "\r\n" + counts + "\r\n");
        Checked k(c.id, path);
        EXPECT_EQ(k.passed, c.matches) << c.header;
    }
}

// A counts line the makers cannot use sets its file aside with a note; one whose counts are all 0 is
// merely not of the item.
TEST(InputChecks, MalformedCountsLineSetsFileAside) {
    TempFolder dir("job-counts");
    const std::string good = grid_file(dir, "good", 3);
    const std::string header = velmora::datagen::header_line("A12-60A", 2) + "\r\n";
    const std::string gap(16, ' ');
    const std::string eight = "       8";
    struct Case {
        const char* what;
        std::string counts;  // without its line end; empty with no line at all
        bool aside;
    } cases[] = {
        {"no counts line", "", true},
        {"too short for the ledger count", "       3       1", true},
        {"letters as the link count", eight + eight + "     abc" + eight + gap + eight, true},
        {"a count followed by letters", eight + eight + "      4x" + eight + gap + eight, true},
        {"blank area count", eight + eight + eight + "        " + gap + eight, true},
        {"negative node count", eight + "      -1" + eight + eight + gap + eight, true},
        {"negative ledger count", eight + eight + eight + eight + gap + "      -2", true},
        {"areas without a ledger", eight + eight + eight + eight + gap + "       0", true},
        {"links only", eight + eight + eight + "       0" + gap + "       0", false},
        {"a ledger count cut by the line end", eight + eight + eight + eight + gap + "   8", false},
        {"all zero (not of the item, no note)", std::string(56, '0'), false},
    };
    for (const Case& k : cases) {
        const std::string path = dir.file("counts.txt");
        polygontest::write_file(path, header + (k.counts.empty() ? "" : k.counts + "\r\n"));
        Checked c(3, good + "," + path, {BoxAnswer::Yes});
        ASSERT_TRUE(c.passed) << k.what;
        const std::vector<std::string> lines = c.lines_after_start();
        const bool noted = lines.size() > 2 && lines[1] == path && lines[2] == sj("ファイルのレコード数が読み取れませんでした。");
        EXPECT_EQ(noted, k.aside) << k.what;
        const bool kept = std::count(c.job.files.begin(), c.job.files.end(), path) == 1;
        EXPECT_EQ(kept, !k.aside && k.counts != std::string(56, '0')) << k.what;
    }

    // Nothing left: the job is refused as one without a file of its item.
    const std::string bad = dir.file("bad.txt");
    polygontest::write_file(bad, header + eight + eight + eight + eight + gap + "       0\r\n");
    Checked none(3, bad);
    EXPECT_FALSE(none.passed);
    EXPECT_EQ(none.job.result, JobResult::NoMatchingFiles);
}

// Neither line is read further than the longest line of an area file (1024 bytes).
TEST(InputChecks, OverlongLinesSetTheFileAside) {
    TempFolder dir("job-overlong");
    const std::string good = grid_file(dir, "good", 3);
    const std::string header = velmora::datagen::header_line("A12-60A", 2);
    const std::string counts = velmora::datagen::counts_line(3, 0, 1, 1, 1);
    const std::string no_ends = dir.file("no-ends.txt"), long_counts = dir.file("long-counts.txt");
    const std::string longest = dir.file("longest.txt");
    polygontest::write_file(no_ends, header + std::string(3000000, ' '));
    polygontest::write_file(long_counts, header + "\r\n" + counts + std::string(1025 - counts.size(), ' ') + "\r\n");
    polygontest::write_file(longest, header + std::string(1024 - header.size(), ' ') + "\r\n" + counts +
                                         std::string(1024 - counts.size(), ' ') + "\r\n");
    Checked c(3, good + "," + no_ends + "," + long_counts + "," + longest, {BoxAnswer::Yes});
    ASSERT_TRUE(c.passed);
    EXPECT_EQ(c.job.files, (std::vector<std::string>{good, longest}));
    const std::vector<std::string> lines = c.lines_after_start();
    EXPECT_EQ(lines[1], long_counts);
    EXPECT_EQ(lines[2], sj("ファイルのレコード数が読み取れませんでした。"));
    EXPECT_NE(std::find(lines.begin(), lines.end(), no_ends), lines.end());  // among the other files
}

TEST(InputChecks, MixedYearsOfAdministrativeAreas) {
    TempFolder dir("job-years");
    const std::string y7 = grid_file(dir, "y7", 8, 1, 1, "N03-07A");
    const std::string y7b = grid_file(dir, "y7b", 8, 1, 1, "N03-07A");
    const std::string y8 = grid_file(dir, "y8", 8, 1, 1, "N03-08A");
    // A file of another year whose counts are all 0 does not match, yet its year still counts.
    const std::string y8empty = counts_file(dir, "y8e.txt", "N03-08A", 0, 0, 0);

    Checked same(8, y7 + "," + y7b);
    EXPECT_TRUE(same.passed);

    for (const std::string& list : {y7 + "," + y8, y7 + "," + y8empty}) {
        Checked mixed(8, list);
        EXPECT_FALSE(mixed.passed);
        EXPECT_EQ(mixed.job.result, JobResult::MixedYears);
        ASSERT_EQ(mixed.ui.boxes.size(), 1u);
        EXPECT_EQ(mixed.ui.boxes[0].text, "[行政界・海岸線]で作成年度の異なるデータが混在しています\n"
                                          "同一の作成年度のファイルのみを選択してください。");
    }
}

// The list's pieces are trimmed as UTF-8: "ā@" holds the bytes 0x81 0x40 of a CP932 ideographic space,
// and an ideographic space (U+3000) inside a name stays; blanks around the pieces go.
TEST(InputChecks, PathListIsTrimmedAsUtf8) {
    TempFolder dir("job-utf8");
    const std::string macron = grid_file(dir, "\xC4\x81@", 3);
    const std::string inner = grid_file(dir, "a\xE3\x80\x80b", 3);
    Checked c(3, "\xE3\x80\x80 " + macron + "\t, " + inner + "\xE3\x80\x80");
    ASSERT_TRUE(c.passed);
    EXPECT_EQ(c.job.files, (std::vector<std::string>{macron, inner}));
}

TEST(InputChecks, PathsAreWrittenToTheLogInCp932) {
    TempFolder dir("job-paths");
    const std::string jp = grid_file(dir, "日本", 3);
    const std::string emoji = dir.file("x\xF0\x9F\x98\x80y.txt");  // a character CP932 cannot hold
    Checked c(3, jp + "," + emoji, {BoxAnswer::Yes});
    ASSERT_TRUE(c.passed);
    const std::vector<std::string> lines = c.lines_after_start();
    EXPECT_EQ(lines[1], dir.file("x?y.txt"));
    EXPECT_EQ(lines[4], sj(jp));
}

}  // namespace
