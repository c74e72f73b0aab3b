#include <gtest/gtest.h>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestUi.h"
#include "tests/convert/core/TempProgramFolder.h"

namespace fs = std::filesystem;
using namespace velmora;
using velmora::text::toCp932;
using Mode = velmora::text::LineWriter::Mode;

namespace {

const velmora::modCommon::LogTime kStamp{2006, 3, 15, 14, 5, 9};

class ConversionLogTest : public ::testing::Test {
protected:
    void SetUp() override { modCommon::setLogClock([] { return kStamp; }); }
    void TearDown() override { modCommon::setLogClock({}); }
    static std::string slurp(const fs::path& p) { return testsupport::TempProgramFolder::read(p); }
    // Opens a log of the current item, runs the calls, closes it and gives the bytes on disk.
    template <class F>
    std::string logOf(F&& calls) {
        ConversionState& s = conversionState();
        s.LogFilePath = modCommon::makeLogFilePath();
        modCommon::openLogFile(Mode::Replace);
        calls();
        s.LogFileNo.close();
        return slurp(s.LogFilePath);
    }
    testsupport::TempProgramFolder program_;
    const fs::path folder_ = program_.path();
    ui::TestUi ui_;
};

TEST_F(ConversionLogTest, EveryCodeWritesItsLineInCp932WithCrLf) {
    ConversionState& s = conversionState();
    s.SelectedKind = DataKind::Line;
    s.SelectedIndex = 3;
    s.LineLayers[3].Name = toCp932("架橋");
    s.PolygonLayers[3].Name = toCp932("農業地域");
    s.PointLayers[3].Name = toCp932("漁港");
    s.AttrLayers[3].Name = toCp932("海水浴台帳");
    const std::string t = toCp932("テキスト");

    struct Case { std::int16_t code; const char* line; };
    const Case cases[] = {
        {0, "[テキスト]データ変換開始。"},
        {1, "ファイルの種別が「農業地域」ではありません。 テキスト"},
        {2, "リンク情報の座標が前リンク情報の終点座標と一致しません。テキスト"},
        {3, "リンク情報の開始始点と最終終点が一致しません。テキスト"},
        {4, "同一のリンク情報が＋方向で存在しますので面データとしては作成しません。テキスト"},
        {5, "リンクデータが見つかりませんでした。テキスト"},
        {6, "リンク情報のポイント数が２個以下の為、面データが作成できません。テキスト"},
        {7, "エリア属性台帳にリンクするデータがありません。テキスト"},
        {8, "テキスト"},
        {9, "面データ変換終了。テキスト"},
        {10, "ポイントデータ座標値が空白です。テキスト"},
        {11, "ノード台帳にノード属性情報がありません。テキスト"},
        // The file-kind codes name the row of their own table, not of the job's kind (a line job here).
        {12, "ファイルの種別が「漁港」ではありません。 テキスト"},
        {13, "ファイルの種別が「架橋」ではありません。 テキスト"},
        {14, "ファイルの種別が「海水浴台帳」ではありません。 テキスト"},
        {15, "ポイントデータの座標値が不正です。テキスト"},
        {16, "[テキスト]付属変換開始。"},
        {17, "テキスト"},
        {98, "テキスト"},
        {99, "変換終了。   2006/03/15 14:05:09"},
        {100, "テキスト"},
        {-1, "テキスト"},
        {32767, "テキスト"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        std::string bytes = logOf([&] { modCommon::PutLogFileMsg(c.code, t); });
        EXPECT_EQ(bytes, toCp932(c.line) + "\r\n");
    }
}

TEST_F(ConversionLogTest, LinesFollowEachOtherAndRecordBytesPassUnchanged) {
    // A text cut from a record keeps its bytes, including a trail byte 0x5C ("ソ").
    const std::string sjisSo = "\x83\x5C";
    std::string bytes = logOf([&] {
        modCommon::PutLogFileMsg(0, toCp932("ラインデータ"));
        modCommon::PutLogFileMsg(11, toCp932("ノード属性番号 = ") + "12" + sjisSo);
        modCommon::PutLogFileMsg(99, "ignored");
    });
    EXPECT_EQ(bytes, toCp932("[ラインデータ]データ変換開始。") + "\r\n" +
                         toCp932("ノード台帳にノード属性情報がありません。ノード属性番号 = ") + "12" + sjisSo +
                         "\r\n" + toCp932("変換終了。   2006/03/15 14:05:09") + "\r\n");
}

TEST_F(ConversionLogTest, TheLogIsNamedAfterTheItemAndTheTimeItIsOpened) {
    struct Case { DataKind kind; int row; const char* name; modCommon::LogTime time; const char* file; };
    const Case cases[] = {
        {DataKind::Line, 25, "道路", kStamp, "道路060315140509.log"},
        {DataKind::Area, 12, "行政界", {2010, 12, 31, 23, 59, 58}, "行政界101231235958.log"},
        {DataKind::Attr, 13, "単位流域台帳", {2000, 1, 2, 3, 4, 5}, "単位流域台帳000102030405.log"},
        // "/" and "\" of a name would leave the Log folder: they become "_".
        {DataKind::Mesh, 1, "指定地域メッシュ・1/10細分区画", kStamp, "指定地域メッシュ・1_10細分区画060315140509.log"},
        {DataKind::Point, 0, "a\\b", kStamp, "a_b060315140509.log"},
        // A double-byte character whose trail byte is 0x5C is no "\".
        {DataKind::Point, 15, "ソース", kStamp, "ソース060315140509.log"},
        {DataKind::Point, 4, "", kStamp, "060315140509.log"},
    };
    ConversionState& s = conversionState();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        resetConversionState();
        s.SelectedKind = c.kind;
        s.SelectedIndex = static_cast<std::int16_t>(c.row);
        const std::string name = toCp932(c.name);
        switch (c.kind) {
            case DataKind::Point: s.PointLayers[c.row].Name = name; break;
            case DataKind::Line: s.LineLayers[c.row].Name = name; break;
            case DataKind::Area: s.PolygonLayers[c.row].Name = name; break;
            case DataKind::Mesh: s.MeshLayers[c.row].Name = name; break;
            case DataKind::Attr: s.AttrLayers[c.row].Name = name; break;
        }
        modCommon::setLogClock([t = c.time] { return t; });
        EXPECT_EQ(modCommon::makeLogFilePath(), (folder_ / "Log" / c.file).string());
    }
}

TEST_F(ConversionLogTest, ASecondJobWithinTheSameSecondGetsALogOfItsOwnAndAppendKeepsIt) {
    ConversionState& s = conversionState();
    s.SelectedKind = DataKind::Line;
    s.SelectedIndex = 25;
    s.LineLayers[25].Name = toCp932("道路");
    const std::string first = modCommon::makeLogFilePath();
    s.LogFilePath = first;
    modCommon::openLogFile(Mode::Replace);
    modCommon::PutLogFileMsg(8, "first job");
    s.LogFileNo.close();
    // The names have one-second resolution: the second job's log is numbered instead of replacing it.
    const std::string second = modCommon::makeLogFilePath();
    EXPECT_EQ(second, first.substr(0, first.size() - 4) + "_2.log");
    s.LogFilePath = second;
    modCommon::openLogFile(Mode::Replace);
    modCommon::PutLogFileMsg(8, "second job");
    s.LogFileNo.close();
    modCommon::openLogFile(Mode::Append);
    modCommon::PutLogFileMsg(8, "attached");
    s.LogFileNo.close();
    EXPECT_EQ(slurp(first), "first job\r\n");
    EXPECT_EQ(slurp(second), "second job\r\nattached\r\n");
    EXPECT_EQ(modCommon::makeLogFilePath(), first.substr(0, first.size() - 4) + "_3.log");
}

TEST_F(ConversionLogTest, AMissingLogFolderFailsTheOpening) {
    fs::remove_all(folder_ / "Log");
    ConversionState& s = conversionState();
    s.LogFilePath = modCommon::makeLogFilePath();
    try {
        modCommon::openLogFile(Mode::Replace);
        ADD_FAILURE() << "opened without a Log folder";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::PathNotFound);
    }
    EXPECT_FALSE(s.LogFileNo.isOpen());
}

TEST_F(ConversionLogTest, ErrorsShowTheBoxAndLoseOnlyTheLine) {
    ConversionState& s = conversionState();
    ui_.answer(ui::Answer::Ok).answer(ui::Answer::Ok);
    // No log open.
    modCommon::PutLogFileMsg(8, "lost");
    // A row outside the point table (rows 0-15) during a line job of row 20.
    s.SelectedKind = DataKind::Line;
    s.SelectedIndex = 20;
    std::string bytes = logOf([&] {
        modCommon::PutLogFileMsg(12, "lost too");
        modCommon::PutLogFileMsg(13, "kept");
    });
    EXPECT_EQ(bytes, toCp932("ファイルの種別が「」ではありません。 ") + "kept\r\n");
    ASSERT_EQ(ui_.boxes().size(), 2u);
    EXPECT_EQ(ui_.boxes()[0].text, "52 ファイル名またはファイル番号が不正です。");
    EXPECT_EQ(ui_.boxes()[1].text, "9 インデックスが有効範囲にありません。");
    for (const auto& b : ui_.boxes()) {
        EXPECT_EQ(b.title, "Error: modCommon (PutLogFileMsg)");
        EXPECT_EQ(b.icon, ui::Icon::Critical);
        EXPECT_TRUE(b.systemModal);
    }
}

}  // namespace
