// Whole polygon jobs through the headless interface: the log byte for byte, the progress calls, the
// window failure, a failure while saving, and a log that cannot be written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "polygon/core/PolygonJob.h"
#include "polygon/core/TextUtil.h"
#include "tests/polygon/job/JobFiles.h"
#include "tests/polygon/support/AreaFixture.h"
#include "tests/polygon/job/RecordingJobUi.h"

namespace {

using ostrand::BoxAnswer;
using ostrand::BoxIcon;
using ostrand::JobResult;
using ostrand::PolygonJob;
using ostrand::PolygonStats;
using polygontest::grid_file;
using polygontest::read_file;
using polygontest::RecordingJobUi;
using polygontest::sj;
using polygontest::TempFolder;
using testing::EndsWith;
using testing::HasSubstr;

// The start of a job, and three seconds later every other reading (the end, and the date of the table).
class FixedClock : public testing::Test {
protected:
    void SetUp() override {
        ostrand::set_clock([this] {
            ostrand::LocalTime t{2005, 11, 15, 6, 7, 9};
            if (calls_++ > 0) t.second += 3;
            return t;
        });
    }
    void TearDown() override { ostrand::set_clock({}); }
    int calls_ = 0;
};

using JobRun = FixedClock;

TEST_F(JobRun, LogOfASmallJobByteForByte) {
    TempFolder dir("job-log");
    const std::string good = grid_file(dir, "good", 3), other = grid_file(dir, "other", 4);
    const std::string list = good + "," + other, out = dir.file("out.shp"), log = dir.file("job.log");
    polygontest::write_file(log, "previous contents that the job replaces\r\n");
    RecordingJobUi ui;
    ui.answers = {BoxAnswer::Yes};
    PolygonJob job(3, list.c_str(), out.c_str(), log.c_str(), "", nullptr, ui);
    PolygonStats stats;
    ASSERT_EQ(job.run(&stats), JobResult::Ok);

    const std::string expected = sj("[面データ]データ変換開始。\r\n"
                                    "開始時刻：2005/11/15 06:07:09\r\n\r\n"
                                    "> 入力ファイルのデータコードをチェックします。\r\n"
                                    "[農業地域]に該当するファイル：\r\n") +
                                 good + "\r\n" + sj("[農業地域]に該当しないファイル：\r\n") + other +
                                 "\r\n\r\n" +
                                 sj("> 処理開始\r\n"
                                    "> 処理終了\r\n"
                                    "終了時刻：2005/11/15 06:07:12\r\n\r\n");
    EXPECT_EQ(read_file(log), expected);

    EXPECT_EQ(stats.total, 4);
    EXPECT_EQ(stats.made, 4);
    EXPECT_EQ(stats.incomplete, 0);
    EXPECT_EQ(stats.rural_records, 4);
    for (const char* ext : {".shp", ".shx", ".dbf"}) EXPECT_TRUE(std::filesystem::exists(dir.file("out") + ext));
    EXPECT_EQ(ui.events, (std::vector<std::string>{
                             "read 国土数値情報データ(*.txt)を読み込んでいます。", "start 10000",
                             "read 国土数値情報データ(*.txt)を読み込みました。",
                             "convert ポリゴンデータに変換しています。", "convert ポリゴンデータに変換しました。",
                             "shape Shapeファイル(*.shp, *.shx)を保存しています。",
                             "shape Shapeファイル(*.shp, *.shx)を保存しました。",
                             "dbf 属性データファイル(*.dbf)を保存しています。",
                             "dbf 属性データファイル(*.dbf)を保存しました。", "finish"}));
    ASSERT_EQ(ui.boxes.size(), 1u);  // the question about the other file only
}

// A job over one generated file of its data item, in a folder of its own.
struct GridJob {
    int id;
    TempFolder dir{"job-run"};
    std::string in, out, log;
    PolygonStats stats;
    explicit GridJob(int data_id, const std::string& out_name = "o.shp", const std::string& log_name = "l.log")
        : id(data_id), in(grid_file(dir, "in", data_id)), out(dir.file(out_name)), log(dir.file(log_name)) {}
    JobResult run(RecordingJobUi& ui) {
        PolygonJob job(id, in.c_str(), out.c_str(), log.c_str(), "", nullptr, ui);
        return job.run(&stats);
    }
};

TEST_F(JobRun, ForestBarRunsOverItsLongerRange) {
    GridJob job(4);
    RecordingJobUi ui;
    ASSERT_EQ(job.run(ui), JobResult::Ok);
    EXPECT_EQ(ui.events.at(1), "start 400000");
}

TEST_F(JobRun, WindowThatNeverAppearsLeavesOneLine) {
    GridJob job(3);
    job.stats = {5, 5, 5, 5, 5};
    RecordingJobUi ui(ostrand::HeadlessJobUi::Options{true});
    EXPECT_EQ(job.run(ui), JobResult::WindowFailed);
    EXPECT_THAT(read_file(job.log), EndsWith(sj("[農業地域]に該当しないファイル：\r\nなし\r\n\r\n"
                                                "システムエラー：ウィンドウの作成に失敗しました。\r\n")));
    EXPECT_TRUE(ui.events.empty());
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(job.stats.made, 5);
    EXPECT_FALSE(std::filesystem::exists(job.out));
}

TEST_F(JobRun, FailureWhileSavingShowsTwoBoxesAndLogsTheAbort) {
    GridJob job(3, "no-such-folder/o.shp");
    RecordingJobUi ui;
    EXPECT_EQ(job.run(ui), JobResult::ProcessingError);

    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_FALSE(ui.boxes[0].text.empty());
    EXPECT_EQ(ui.boxes[0].caption, "エラー");
    EXPECT_EQ(ui.boxes[0].icon, BoxIcon::Warning);
    EXPECT_TRUE(ui.boxes[0].on_window);
    EXPECT_EQ(ui.boxes[1].text, "エラーが生じたため中止します。");
    EXPECT_EQ(ui.boxes[1].caption, "エラー");
    EXPECT_EQ(ui.boxes[1].icon, BoxIcon::Information);
    EXPECT_EQ(ui.events.back(), "stop");
    EXPECT_EQ(std::count(ui.events.begin(), ui.events.end(), "finish"), 0);
    EXPECT_THAT(read_file(job.log),
                EndsWith(sj("> エラーが生じたため処理を中止しました。Shapeファイルは作成されていません。\r\n"
                            "終了時刻：2005/11/15 06:07:12\r\n\r\n")));
}

// A job that keeps no polygon has no output to offer: it fails, and an earlier output of that name is
// neither replaced nor passed off as the result.
TEST_F(JobRun, NoUsableAreaFailsAndKeepsTheEarlierOutput) {
    TempFolder dir("job-nothing");
    polygontest::AreaFileParts parts;  // one area over a link that does not close
    parts.links = {velmora::datagen::GenLink{"533945", 1, {{0, 0}, {3600, 0}, {3600, 3600}}}};
    parts.areas = {velmora::datagen::GenArea{1, 1, {polygontest::fwd(1)}}};
    parts.ledgers = {polygontest::rural_ledger(1, 1)};
    const std::string in = polygontest::write_area_file(dir, "in.txt", parts);
    const std::string out = dir.file("o.shp"), log = dir.file("l.log");
    for (const char* ext : {".shp", ".shx", ".dbf"}) polygontest::write_file(dir.file("o") + ext, ext);
    RecordingJobUi ui;
    PolygonJob job(3, in.c_str(), out.c_str(), log.c_str(), "", nullptr, ui);
    PolygonStats stats{9, 9, 9, 9, 9};
    EXPECT_EQ(job.run(&stats), JobResult::ProcessingError);
    ASSERT_EQ(ui.boxes.size(), 2u);
    // The box names the file (where reading stood), and the log keeps the cause.
    EXPECT_EQ(ui.boxes[0].text.rfind("変換できるポリゴンデータがありませんでした。\r" + in, 0), 0u);
    for (const char* ext : {".shp", ".shx", ".dbf"}) EXPECT_EQ(read_file(dir.file("o") + ext), ext);
    EXPECT_THAT(read_file(log), HasSubstr(sj("変換できるポリゴンデータがありませんでした。 ")));
    EXPECT_THAT(read_file(log), HasSubstr(sj("> エラーが生じたため処理を中止しました。Shapeファイルは作成されていません。\r\n")));
}

// A file set aside for its counts line is named in the log of the job that goes on without it.
TEST_F(JobRun, FileWithUnusableCountsIsNamedInTheLog) {
    TempFolder dir("job-counts");
    const std::string good = grid_file(dir, "good", 3);
    const std::string bad = dir.file("bad.txt");
    polygontest::write_file(bad, velmora::datagen::header_line("A12-60A", 2) + "\r\n" +
                                     velmora::datagen::counts_line(9, 0, 4, 5, 0) + "\r\n");
    const std::string list = good + "," + bad, out = dir.file("o.shp"), log = dir.file("l.log");
    RecordingJobUi ui;
    ui.answers = {BoxAnswer::Yes};
    PolygonJob job(3, list.c_str(), out.c_str(), log.c_str(), "", nullptr, ui);
    PolygonStats stats;
    EXPECT_EQ(job.run(&stats), JobResult::Ok);
    EXPECT_THAT(read_file(log), HasSubstr(bad + "\r\n" + sj("ファイルのレコード数が読み取れませんでした。\r\n")));
    for (const char* ext : {".shp", ".shx", ".dbf"}) EXPECT_TRUE(std::filesystem::exists(dir.file("o") + ext));
}

TEST_F(JobRun, LogThatCannotBeWrittenKeepsTheStatus) {
    GridJob job(3, "o.shp", "missing/l.log");
    RecordingJobUi ui;
    EXPECT_EQ(job.run(ui), JobResult::Ok);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "ログファイルの保存に失敗しました");
    EXPECT_EQ(ui.boxes[0].caption, "メッセージ");
    EXPECT_EQ(ui.boxes[0].icon, BoxIcon::Warning);
    EXPECT_FALSE(ui.boxes[0].on_window);
}

}  // namespace
