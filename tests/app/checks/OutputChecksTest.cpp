// The output checks on a temporary folder: which files each kind of job has checked, the refusals and
// the questions, in the order the user sees them.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "convert/core/ConversionState.h"
#include "app/OutputChecks.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestUi.h"
#include "tests/app/checks/MainWindowMap.h"
#include "tests/convert/core/TempProgramFolder.h"

namespace fs = std::filesystem;

namespace velmora {
namespace {

using ui::Answer;
using ui::Buttons;
using ui::Icon;

constexpr const char* kWaveMesh = "波向・海霧・自然漁場２次メッシュ";
constexpr const char* kMeshNotice =
    "波向・海霧・自然漁場メッシュは指定ファイル名の末尾に１～４（春夏秋冬）の数字が付加され４シェープファイルが作成されます";

// A box expected: text (file names written as {base} + suffix, see expand), title, icon, buttons.
struct Box {
    std::string text;
    std::string title;
    Icon icon;
    Buttons buttons = Buttons::Ok;
};

struct Case {
    const char* name;
    DataKind kind;
    int row;
    std::int16_t pointOption, lineOption;
    std::vector<std::string> onDisk;  // suffixes of the base that exist
    std::vector<std::string> onMap;   // suffixes of the base that are layers of the map
    std::optional<Answer> answer;     // the answer to the question, when one is asked
    std::int16_t result;
    std::vector<Box> boxes;
    std::string output = "roads.shp";  // file name in the output folder
};

class OutputChecks : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder_.path() / "out");
        conversionState().MeshLayers[4].Name = text::toCp932(kWaveMesh);
        conversionState().MeshLayers[5].Name = text::toCp932("気候値");
    }
    std::string base() const { return (folder_.path() / "out" / "roads").string(); }
    // "{}" in an expected text stands for the base of the output.
    std::string expand(std::string t) const {
        for (auto at = t.find("{}"); at != std::string::npos; at = t.find("{}")) t.replace(at, 2, base());
        return t;
    }
    void run(const Case& c) {
        SCOPED_TRACE(c.name);
        for (const std::string& f : c.onDisk) testsupport::TempProgramFolder::write(base() + f, "x");
        map_.files.clear();
        for (const std::string& f : c.onMap) map_.files.push_back(base() + f);
        ConversionState& s = conversionState();
        s.SelectedKind = c.kind;
        s.SelectedIndex = static_cast<std::int16_t>(c.row);
        for (const Box& b : c.boxes) ui_.answer(b.buttons == Buttons::Ok ? Answer::Ok : c.answer.value());
        const std::string output = (folder_.path() / "out" / c.output).string();
        EXPECT_EQ(modCommon::ChkOutPutFilePath(output, c.pointOption, c.lineOption), c.result);
        ASSERT_EQ(ui_.boxes().size(), c.boxes.size());
        for (std::size_t i = 0; i < c.boxes.size(); ++i) {
            EXPECT_EQ(ui_.boxes()[i].text, expand(c.boxes[i].text)) << "box " << i;
            EXPECT_EQ(ui_.boxes()[i].title, c.boxes[i].title) << "box " << i;
            EXPECT_EQ(ui_.boxes()[i].icon, c.boxes[i].icon) << "box " << i;
            EXPECT_EQ(ui_.boxes()[i].buttons, c.boxes[i].buttons) << "box " << i;
        }
        ui_.clearRecords();
        for (const std::string& f : c.onDisk) fs::remove(base() + f);
    }

    testsupport::TempProgramFolder folder_;
    ui::TestUi ui_;
    testsupport::MainWindowMap map_;
};

const Box kOverwrite{"既にシェープファイルが存在します、上書きしますか？", "名前を付けて保存", Icon::Exclamation,
                     Buttons::YesNo};
const Box kOnMap{"既にマップに追加されているシェープファイルは上書きできません。", "ｴﾗｰﾒｯｾｰｼﾞ", Icon::Exclamation};
Box listQuestion(const std::string& files) {
    return {"既に下記のシェープファイルが存在します、上書きしますか？" + files, "名前を付けて保存", Icon::Exclamation,
            Buttons::YesNo};
}
Box listRefusal(const std::string& files) {
    return {"既にマップに下記のシェープファイルが追加されているため上書きできません" + files, "指定エラー",
            Icon::Exclamation};
}
const Box kMeshNoticeBox{kMeshNotice, "通知", Icon::Information};

TEST_F(OutputChecks, SingleFileJobs) {
    const Case cases[] = {
        {"point, nothing there", DataKind::Point, 3, 0, 0, {}, {}, {}, 0, {}},
        {"point, existing, Yes", DataKind::Point, 3, 0, 0, {".shp"}, {}, Answer::Yes, 0, {kOverwrite}},
        {"point, existing, No", DataKind::Point, 3, 0, 0, {".shp"}, {}, Answer::No, -1, {kOverwrite}},
        // The map is asked first: a layer whose file is gone is still refused.
        {"point, on the map only", DataKind::Point, 3, 0, 0, {}, {".shp"}, {}, -1, {kOnMap}},
        {"line, existing and on the map", DataKind::Line, 25, 1, 1, {".shp"}, {".shp"}, {}, -1, {kOnMap}},
        {"mesh, other row", DataKind::Mesh, 5, 0, 0, {".shp"}, {}, Answer::No, -1, {kOverwrite}},
        // The written file is the base and ".shp": a differently cased name on disk is another file.
        {"upper-case extension checks the written file", DataKind::Point, 3, 0, 0, {".shp"}, {}, Answer::Yes, 0,
         {kOverwrite}, "roads.SHP"},
        {"upper-case extension, only the typed file exists", DataKind::Point, 3, 0, 0, {".SHP"}, {}, {}, 0, {},
         "roads.SHP"},
        {"attribute table is never asked", DataKind::Attr, 13, 0, 0, {".dbf"}, {".dbf"}, {}, 0, {}, "roads.dbf"},
    };
    for (const Case& c : cases) run(c);
}

TEST_F(OutputChecks, ListJobs) {
    const Case cases[] = {
        {"area without attached outputs checks the chosen file in the list form", DataKind::Area, 0, 0, 0,
         {".shp", "_P.shp", "_L.shp"}, {}, Answer::Yes, 0, {listQuestion("\r\n{}.shp")}},
        {"area, both options; the on-map file alone is named", DataKind::Area, 0, 1, 1,
         {".shp", "_P.shp", "_L.shp"}, {"_P.shp"}, {}, -1, {listRefusal("\r\n{}_P.shp")}},
        {"area, all existing, listed in order", DataKind::Area, 1, 1, 1, {".shp", "_P.shp", "_L.shp"}, {},
         Answer::No, -1, {listQuestion("\r\n{}.shp\r\n{}_P.shp\r\n{}_L.shp")}},
        {"area, only the value 1 adds a file", DataKind::Area, 1, 2, 0, {"_P.shp"}, {}, {}, 0, {}},
        // Only existing files are looked up on the map.
        {"area, a layer that is gone passes", DataKind::Area, 0, 1, 0, {}, {"_P.shp"}, {}, 0, {}},
        {"railway, stations exist", DataKind::Line, 26, 0, 0, {"_駅名.shp"}, {}, Answer::Yes, 0,
         {listQuestion("\r\n{}_駅名.shp")}},
        {"railway, both exist, No", DataKind::Line, 26, 0, 0, {".shp", "_駅名.shp"}, {}, Answer::No, -1,
         {listQuestion("\r\n{}.shp\r\n{}_駅名.shp")}},
        {"wave mesh, nothing exists: the notice alone", DataKind::Mesh, 4, 0, 0, {}, {}, {}, 0, {kMeshNoticeBox}},
        {"wave mesh never checks the chosen name", DataKind::Mesh, 4, 0, 0, {".shp"}, {".shp"}, {}, 0,
         {kMeshNoticeBox}},
        {"wave mesh, seasons exist", DataKind::Mesh, 4, 0, 0, {"2.shp", "4.shp"}, {}, Answer::Yes, 0,
         {kMeshNoticeBox, listQuestion("\r\n{}2.shp\r\n{}4.shp")}},
        {"wave mesh, a season on the map", DataKind::Mesh, 4, 0, 0, {"1.shp", "3.shp"}, {"3.shp"}, {}, -1,
         {kMeshNoticeBox, listRefusal("\r\n{}3.shp")}},
    };
    for (const Case& c : cases) run(c);
}

TEST_F(OutputChecks, TheFolderMustExist) {
    conversionState().SelectedKind = DataKind::Point;
    ui_.answer(Answer::Ok).answer(Answer::Ok);
    const std::string missing = (folder_.path() / "none").string();
    EXPECT_EQ(modCommon::ChkOutPutFilePath(missing + "/roads.shp", 0, 0), -1);
    // A name without a folder has an empty folder.
    EXPECT_EQ(modCommon::ChkOutPutFilePath("roads.shp", 0, 0), -1);
    ASSERT_EQ(ui_.boxes().size(), 2u);
    EXPECT_EQ(ui_.boxes()[0].text, "保存先のフォルダが存在しません\r\n" + missing);
    EXPECT_EQ(ui_.boxes()[0].title, "指定エラー");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Exclamation);
    EXPECT_EQ(ui_.boxes()[1].text, "保存先のフォルダが存在しません\r\n");
}

TEST_F(OutputChecks, ARelativePathFailsTheDriveTest) {
    conversionState().SelectedKind = DataKind::Attr;
    const fs::path before = fs::current_path();
    fs::current_path(folder_.path());
    ui_.answer(Answer::Ok);
    const std::int16_t result = modCommon::ChkOutPutFilePath("out/roads.dbf", 0, 0);
    fs::current_path(before);
    EXPECT_EQ(result, -1);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "5 プロシージャの呼び出し、または引数が不正です。");
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModCommon (ChkOutPutFilePath)");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Critical);
}

// Root may write everywhere: as root the check runs in a child process that gave up root for "nobody".
TEST_F(OutputChecks, AFolderTheUserCannotWriteIsRefused) {
    const fs::path locked = folder_.path() / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    conversionState().SelectedKind = DataKind::Attr;
    const std::string path = (locked / "t.dbf").string();
    auto refused = [&] {
        ui_.answer(Answer::Ok);
        return modCommon::ChkOutPutFilePath(path, 0, 0) == -1 && ui_.boxes().size() == 1 &&
               ui_.boxes()[0].text == "指定された出力先に書き込み権限がありません、出力先を指定し直して下さい" &&
               ui_.boxes()[0].title == "指定エラー" && ui_.boxes()[0].icon == Icon::Exclamation;
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(refused());
    } else {
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
            // A checkout in a folder only root may enter (mktemp -d) hides the whole test folder from "nobody".
            if (::access(folder_.path().c_str(), X_OK) != 0) ::_exit(3);
            ::_exit(refused() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "root cannot give up root here";
        if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "the test folder lies where \"nobody\" cannot enter";
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the folder was not refused";
    }
    fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(OutputChecks, ARowOutsideTheMeshTableIsARunTimeError) {
    conversionState().SelectedKind = DataKind::Mesh;
    conversionState().SelectedIndex = 27;
    ui_.answer(Answer::Ok);
    EXPECT_EQ(modCommon::ChkOutPutFilePath(base() + ".shp", 0, 0), -1);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "9 インデックスが有効範囲にありません。");
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModCommon (ChkOutPutFilePath)");
}

TEST(FilePathCheck, TheFileNameReadsAsANumber) {
    struct Case {
        const char* path;
        bool number;
    };
    const Case cases[] = {
        {"/out/123.shp", true},
        {"/out/12.5.shp", true},  // the name is 12.5
        {"/o.ut/123", true},      // no extension after the last "/"
        {"/out/-1.shp", true},
        {"/out/+1e5.shp", true},
        {"/out/1,234.shp", true},
        {"/out/ 42 .shp", true},
        {"/out/a123.shp", false},
        {"/out/.shp", false},
        {"/out/123a.shp", false},
        {"/out/１２３.shp", false},
        {"/out/,.shp", false},
        {"123.shp", true},
        {"roads.shp", false},
    };
    ui::TestUi ui;
    for (const Case& c : cases) EXPECT_EQ(modCommon::FilePathCheck(c.path), c.number) << c.path;
}

TEST(FilePathCheck, APathWithoutFolderOrExtensionIsARunTimeErrorThatRefuses) {
    ui::TestUi ui;
    ui.answer(Answer::Ok);
    EXPECT_TRUE(modCommon::FilePathCheck("roads"));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: ModCommon (FilePathCheck)");
    EXPECT_EQ(ui.boxes()[0].icon, Icon::Critical);
    EXPECT_TRUE(ui.boxes()[0].systemModal);
}

}  // namespace
}  // namespace velmora
