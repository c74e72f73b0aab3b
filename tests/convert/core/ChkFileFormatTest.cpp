#include <gtest/gtest.h>

#include "tests/platform/process/TestFolder.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "convert/core/ConversionRoutines.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestUi.h"

namespace velmora::modCommon {
namespace {

namespace fs = std::filesystem;

class ChkFileFormatTest : public testsupport::TestFolder {
protected:
    std::string write(const std::string& bytes) {
        const fs::path p = dir / (std::to_string(++count) + ".txt");
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    int count = 0;
};

struct FormatCase {
    const char* what;
    std::string bytes;
    std::int16_t format;
};

TEST_F(ChkFileFormatTest, TellsTheFormatByTheFirstLineNotBeginningWithH) {
    const FormatCase cases[] = {
        {"header then commas", text::toCp932("H0001道路\r\n1,2,3\r\n"), FileFormat::Comma},
        {"header then fixed columns", text::toCp932("H0001道路\r\nL000112345\r\n"), FileFormat::Fixed},
        {"only header lines", "H1\r\nH2\r\n", FileFormat::Fixed},
        {"last header line with a comma", "H1\r\nH2,x\r\n", FileFormat::Comma},
        {"last header line with a tab", "H1\r\nH2\tx", FileFormat::Tab},
        {"comma in a header before the tested line", "H,1\r\n123\r\n", FileFormat::Fixed},
        {"lower-case h is no header", "h1\r\n2,3\r\n", FileFormat::Fixed},
        {"lower-case h line with a comma", "h,1\r\n2\t3\r\n", FileFormat::Comma},
        {"tab-separated", "a\tb\tc\n", FileFormat::Tab},
        {"comma and tab", "a,b\tc\n", FileFormat::Mixed},
        {"only later lines hold a separator", "abc\r\nd,e\r\n", FileFormat::Fixed},
        {"CR line ends", "H1\rabc\rdef,\r", FileFormat::Fixed},
        {"LF line ends", "H1\nx,y\n", FileFormat::Comma},
        {"empty first line", "\r\n1,2\r\n", FileFormat::Fixed},
        {"full-width comma does not count", text::toCp932("１，２\r\n"), FileFormat::Fixed},
        {"double-byte text with a comma", text::toCp932("表示,ソ\r\n"), FileFormat::Comma},
    };
    ui::TestUi ui;
    for (const FormatCase& c : cases) EXPECT_EQ(ChkFileFormat(write(c.bytes)), c.format) << c.what;
}

TEST_F(ChkFileFormatTest, MissingFileShowsItsPathAndGivesZero) {
    ui::TestUi ui;
    ui.answer(ui::Answer::Ok).answer(ui::Answer::Ok);
    const std::string missing = (dir / "データ.txt").string();
    EXPECT_EQ(ChkFileFormat(missing), FileFormat::Unknown);
    EXPECT_EQ(ChkFileFormat(dir.string()), FileFormat::Unknown);
    ASSERT_EQ(ui.boxes().size(), 2u);
    EXPECT_EQ(ui.boxes()[0].text, "指定されたファイルが存在しません\r\n" + missing);
    EXPECT_EQ(ui.boxes()[0].title, "エラーメッセージ");
    EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(ui.boxes()[0].buttons, ui::Buttons::Ok);
}

// An empty file has no format: beside delimited files it would pass as fixed columns of another format.
TEST_F(ChkFileFormatTest, AnEmptyFileIsNamedAndGivesZero) {
    ui::TestUi ui;
    ui.answer(ui::Answer::Ok);
    const std::string empty = write("");
    EXPECT_EQ(ChkFileFormat(empty), FileFormat::Unknown);
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "入力ファイル " + empty + " にデータがありません。");
    EXPECT_EQ(ui.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
}

TEST_F(ChkFileFormatTest, UnreadableFileShowsTheErrorBoxAndGivesZero) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    const std::string path = write("a,b\r\n");
    fs::permissions(path, fs::perms::none);
    ui::TestUi ui;
    ui.answer(ui::Answer::Ok);
    EXPECT_EQ(ChkFileFormat(path), FileFormat::Unknown);
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "75 パスまたはファイルにアクセスできません。");
    EXPECT_EQ(ui.boxes()[0].title, "Error: ModCommon (ChkFileFormat)");
    EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Critical);
}

// /proc/self/mem opens as a regular file, but reading its first page fails.
TEST(ChkFileFormat, ReadErrorShowsTheErrorBoxAndGivesZero) {
    ui::TestUi ui;
    ui.answer(ui::Answer::Ok);
    EXPECT_EQ(ChkFileFormat("/proc/self/mem"), FileFormat::Unknown);
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "57 デバイス I/O エラーが発生しました。");
    EXPECT_EQ(ui.boxes()[0].title, "Error: ModCommon (ChkFileFormat)");
    EXPECT_TRUE(ui.boxes()[0].systemModal);
}

}  // namespace
}  // namespace velmora::modCommon
