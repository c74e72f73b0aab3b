#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text/LineReader.h"
#include "platform/text/LineWriter.h"

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
    auto lines = readAll(p);
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
    ASSERT_TRUE(r.next(line));
    EXPECT_EQ(line.size(), 200000u - 101u);  // the reader went on from inside it
    EXPECT_FALSE(r.next(line, 100));
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
