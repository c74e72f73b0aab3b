#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/text/LineReader.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/LineWriter.h"
#include "platform/text/Sjis.h"

using namespace velmora::text;
namespace fs = std::filesystem;

namespace {
fs::path tempFolder() { return fs::temp_directory_path() / ("velmora-lineio-" + std::to_string(::getpid())); }

// The folder of this process's files, removed when the tests of the process are done.
class LineIoFolder : public ::testing::Environment {
public:
    void TearDown() override { fs::remove_all(tempFolder()); }
};
const auto* const lineIoFolder = ::testing::AddGlobalTestEnvironment(new LineIoFolder);

fs::path tempFile(const std::string& name) {
    fs::create_directories(tempFolder());
    return tempFolder() / name;
}
std::vector<std::string> readAll(const fs::path& p) {
    LineReader r(p.string());
    std::vector<std::string> lines;
    std::string line;
    while (r.next(line)) lines.push_back(line);
    return lines;
}
}  // namespace

TEST(LineReader, AcceptsEveryLineEnd) {
    fs::path p = tempFile("ends.txt");
    std::ofstream(p, std::ios::binary) << "a\r\nb\rc\nd\r\n\r\ne";
    EXPECT_EQ(readAll(p), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    std::ofstream(p, std::ios::binary) << "";
    EXPECT_TRUE(readAll(p).empty());
}

// A CR that ends the file is a line end like any other: the reader looks past it for an LF and finds the
// end of the file instead. The last line must come back as it stands, whatever came before it.
TEST(LineReader, ALoneCrAtTheEndOfTheFileEndsTheLastLine) {
    fs::path p = tempFile("cr.txt");
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\rb\r", {"a", "b"}},
        {"53390001,2,13\r53390002,3,26\r", {"53390001,2,13", "53390002,3,26"}},
        {"x\r\ny,1\r", {"x", "y,1"}},
        {"only\r", {"only"}},
        {"\r", {""}},
    };
    for (const auto& [bytes, lines] : cases) {
        std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_EQ(readAll(p), lines) << bytes;
    }
}

// Line ends are looked for eight bytes at a time: every end, at every place in and across such words.
TEST(LineReader, FindsEveryLineEndWhereverItStands) {
    fs::path p = tempFile("places.txt");
    std::string content;
    std::vector<std::string> expected;
    for (std::size_t length = 1; length <= 19; ++length)  // an empty line after a lone CR would make CR LF
        for (const char* end : {"\r\n", "\r", "\n"}) {
            expected.push_back(std::string(length, static_cast<char>('a' + length)));
            content += expected.back() + end;
        }
    std::ofstream(p, std::ios::binary) << content;
    EXPECT_EQ(readAll(p), expected);
}

TEST(LineReader, LongLinesAndCrLfAcrossBufferEdges) {
    fs::path p = tempFile("long.txt");
    std::string big(70000, 'x');
    {
        std::ofstream o(p, std::ios::binary);
        o << std::string(65535, 'y') << "\r\n" << big << "\r\nz";
    }
    // The raw read: next() itself refuses lines over kLongestLine.
    std::vector<std::string> lines;
    LineReader r(p.string());
    for (std::string line; r.next(line, std::size_t{1} << 20);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 65535u);
    EXPECT_EQ(lines[1], big);
    EXPECT_EQ(lines[2], "z");
}

TEST(LineReader, BoundedReadStopsInsideALongerLine) {
    fs::path p = tempFile("bounded.txt");
    {
        std::ofstream o(p, std::ios::binary);
        o << "abcd\r\n" << std::string(65534, 'y') << "\r" << "\n" << std::string(200000, 'x');
    }
    LineReader r(p.string());
    std::string line;
    ASSERT_TRUE(r.next(line, 4));
    EXPECT_EQ(line, "abcd");  // a line of exactly the bound
    ASSERT_TRUE(r.next(line, 65534));
    EXPECT_EQ(line.size(), 65534u);  // its CR LF split by the buffer's edge
    ASSERT_TRUE(r.next(line, 100));
    EXPECT_EQ(line, std::string(101, 'x'));  // one byte more than the bound tells the longer line
    ASSERT_TRUE(r.next(line, 1u << 20));
    EXPECT_EQ(line.size(), 200000u - 101u);  // the reader went on from inside it
    EXPECT_FALSE(r.next(line, 100));
}

// The old end-of-file mark ends the file: alone on the last line, or at the end of it, it is no data, for
// the checked read and the raw one alike. Anywhere else it is a byte of the line.
TEST(LineReader, AnEndOfFileMarkThatEndsTheFileIsNoData) {
    const fs::path p = tempFile("eof-mark.txt");
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\r\nb\r\n\x1A", {"a", "b"}},
        {"a\r\nb\r\n\x1A\r\n", {"a", "b"}},
        {"a\r\nb\x1A", {"a", "b"}},
        {"a\r\nb\x1A\r\n", {"a", "b"}},
        {"a\r\n\x1A\x1A", {"a"}},
        {"\x1A", {}},
        {"a\x1A\r\nb\r\n", {"a\x1A", "b"}},
        {"a\r\n\x1A\r\nb", {"a", "\x1A", "b"}},
    };
    for (const auto& [bytes, lines] : cases) {
        std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_EQ(readAll(p), lines) << bytes;
        LineReader raw(p.string());
        std::vector<std::string> rawLines;
        for (std::string line; raw.next(line, 100);) rawLines.push_back(line);
        EXPECT_EQ(rawLines, lines) << bytes;
        EXPECT_EQ(raw.lineNumber(), static_cast<long>(lines.size())) << bytes;
    }
}

// Error boxes name a file that cannot be opened rather than where another reader stood.
TEST(LineReader, AFileThatCannotBeOpenedIsThePlaceErrorBoxesName) {
    const fs::path other = tempFile("other.txt");
    std::ofstream(other, std::ios::binary) << "a\r\nb\r\n";
    LineReader reading(other.string());
    std::string line;
    reading.next(line);
    const fs::path missing = tempFile("missing.txt");
    try {
        LineReader r(missing.string());
        ADD_FAILURE() << "opened";
    } catch (const velmora::RunTimeError& e) {
        EXPECT_EQ(e.number(), velmora::err::FileNotFound);
        EXPECT_EQ(e.description(), "ファイルが見つかりません。");
    }
    ASSERT_TRUE(lastReadPosition().has_value());
    EXPECT_EQ(positionText(*lastReadPosition()), missing.string());
}

// A line too long, a line of no CP932 text or a file that is no regular file end the reading with a
// message naming file and line; the raw bounded read checks nothing.
TEST(LineReader, RefusesWhatNoInputFileHoldsNamingFileAndLine) {
    const auto refusal = [](const std::function<void()>& read) {
        try {
            read();
        } catch (const velmora::RunTimeError& e) {
            EXPECT_EQ(e.number(), velmora::err::InputRefused);
            return e.description();
        }
        return std::string("no refusal");
    };
    const fs::path p = tempFile("refused.txt");
    std::ofstream(p, std::ios::binary) << "H  header\r\nT  \xe3\x81\x82\xe3\x81\x84\r\n";
    EXPECT_EQ(refusal([&] { readAll(p); }), "入力ファイル " + p.string() +
                                                  " の 2行目はUTF-8の文字で書かれています。Shift-JIS（CP932）のファイルを指定してください。");
    std::ofstream(p, std::ios::binary) << "H\r\nT\r\nT \x80\r\n";
    EXPECT_EQ(refusal([&] { readAll(p); }), "入力ファイル " + p.string() + " の 3行目にShift-JIS（CP932）ではない文字があります。");
    std::ofstream(p, std::ios::binary) << std::string(LineReader::kLongestLine + 1, 'A');
    EXPECT_EQ(refusal([&] { readAll(p); }), "入力ファイル " + p.string() + " の 1行目が長すぎます（65536バイトを超えています）。");
    {
        LineReader raw(p.string());
        std::string line;
        ASSERT_TRUE(raw.next(line, 10));
        EXPECT_EQ(line.size(), 11u);
    }

    const fs::path pipe = tempFile("pipe.txt");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(refusal([&] { LineReader r(pipe.string()); }),
              "入力ファイル " + pipe.string() + " は通常のファイルではありません（フォルダ、名前付きパイプ、デバイスなど）。");
    EXPECT_EQ(refusal([&] { LineReader r(tempFolder().string()); }),
              "入力ファイル " + tempFolder().string() + " は通常のファイルではありません（フォルダ、名前付きパイプ、デバイスなど）。");
}

// Error boxes name where reading stood: the open reader's line, or the line a reader was closed at before
// it told the end of its file; reading to the end leaves no place.
TEST(LineReader, KeepsItsPlaceForTheErrorBoxUntilItHasToldTheEnd) {
    const fs::path p = tempFile("place.txt");
    std::ofstream(p, std::ios::binary) << "a\r\nb\r\nc";
    forgetReadPosition();
    std::string line;
    {
        LineReader r(p.string());
        r.next(line);
        r.next(line);
        ASSERT_TRUE(lastReadPosition().has_value());
        EXPECT_EQ(positionText(*lastReadPosition()), p.string() + " の 2行目");
        r.next(line);  // the last line: the end is not told yet
    }
    ASSERT_TRUE(lastReadPosition().has_value());
    EXPECT_EQ(lastReadPosition()->line, 3);
    readAll(p);
    EXPECT_FALSE(lastReadPosition().has_value());
}

TEST(LineWriter, EndsLinesWithCrLfAndEncodesUtf8) {
    fs::path p = tempFile("out.txt");
    {
        LineWriter w(p.string(), LineWriter::Mode::Replace);
        w.writeLine("abc");
        w.writeUtf8Line("日本");
        w.close();
        w.close();
    }
    {
        LineWriter w(p.string(), LineWriter::Mode::Append);
        w.writeLine("z");
    }
    std::stringstream ss;
    ss << std::ifstream(p, std::ios::binary).rdbuf();
    EXPECT_EQ(ss.str(), "abc\r\n\x93\xfa\x96\x7b\r\nz\r\n");
}
