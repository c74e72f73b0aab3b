#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"
#include "polygon/core/KsPolygonMaker.h"
#include "tests/polygon/support/AreaFixture.h"

using namespace ostrand;
using namespace polygontest;

namespace {

LayerRecord rural_layer() { return *find_layer_record(3); }

std::string open_failure(KsPolygonMaker& maker, const std::string& path) {
    try {
        maker.open(path);
    } catch (const std::string& text) {
        return text;
    } catch (const std::exception& e) {
        return std::string("std: ") + e.what();
    }
    return "";
}

// One area of two links that close a square, its ledger, and a node line.
AreaFileParts two_link_square() {
    AreaFileParts p;
    p.nodes = {velmora::datagen::node_line("533945", 1, 100, 100)};
    p.links = {GenLink{"533945", 1, {{100, 100}, {100, 200}, {200, 200}}},
               GenLink{"533945", 2, {{200, 200}, {200, 100}, {100, 100}}}};
    p.areas = {GenArea{45, 7, {fwd(1), fwd(2)}}};
    p.ledgers = {rural_ledger(7, 1)};
    return p;
}

}  // namespace

TEST(AreaReader, LinksWithContinuationLinesAndBlankPaddedCoordinates) {
    TempFolder dir("reader");
    AreaFileParts p = two_link_square();
    GenLink seven{"533945", 3, {}};
    for (int i = 0; i < 7; ++i) seven.xy.push_back({100.0 + i, 300.0 + i});
    p.links.push_back(seven);
    KsPolygonMaker maker(rural_layer(), nullptr, nullptr);
    EXPECT_TRUE(maker.open(write_area_file(dir, "a.txt", p)));
    const Ring& r = maker.links.at(LinkRef{"533945", 3, true});
    ASSERT_EQ(r.points.size(), 7u);
    EXPECT_EQ(r.points[6].x, 106.0 * 2.777777777777778e-05);
    EXPECT_EQ(r.points[6].y, 306.0 * 2.777777777777778e-05);
    EXPECT_EQ(maker.area_links.at(7).size(), 1u);
    EXPECT_EQ(maker.area_serials.at(7), std::vector<int>{45});
    EXPECT_EQ(maker.attr_records.size(), 1u);
    EXPECT_EQ(maker.last_record_count, 1);
    // The same file again adds no ledger record.
    EXPECT_FALSE(maker.open(write_area_file(dir, "a.txt", p)));
}

TEST(AreaReader, CountsOfZeroOrLessReadNoContinuationLine) {
    TempFolder dir("reader");
    AreaFileParts p = two_link_square();
    p.links.push_back(GenLink{"533945", 3, {}});
    p.areas.push_back(GenArea{46, 8, {}});
    p.ledgers.push_back(rural_ledger(8, 1));
    std::string text = area_file_text(p);
    const std::size_t at = text.find("L  533945     3533945     3     3 0          ");
    ASSERT_NE(at, std::string::npos);
    text.replace(at + 45, 6, "    -2");  // a negative vertex count
    write_file(dir.file("a.txt"), text);
    KsPolygonMaker maker(rural_layer(), nullptr, nullptr);
    maker.open(dir.file("a.txt"));
    EXPECT_TRUE(maker.links.at(LinkRef{"533945", 3, true}).points.empty());
    EXPECT_TRUE(maker.area_links.at(8)[0].empty());
    EXPECT_EQ(maker.attr_records.size(), 2u);
}

TEST(AreaReader, LineEndsOfEveryKind) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        TempFolder dir("reader");
        AreaFileParts p = two_link_square();
        p.line_end = end;
        KsPolygonMaker maker(rural_layer(), nullptr, nullptr);
        EXPECT_TRUE(maker.open(write_area_file(dir, "a.txt", p)));
        EXPECT_EQ(maker.links.size(), 2u);
        EXPECT_EQ(maker.attr_records.size(), 1u);
    }
}

TEST(AreaReader, ReferencesCodesDirectionsAndRepeatedAreas) {
    TempFolder dir("reader");
    AreaFileParts p = two_link_square();
    p.areas = {
        GenArea{45, 7, {fwd(1), GenRef{"533945", 5, 1}, back(2)}},
        GenArea{46, 7, {back(1), fwd(2)}},  // the same links in the same order: a repeat
        GenArea{47, 8, {GenRef{"533945", 1, 1}, GenRef{"533945", 2, 1}}},
    };
    p.ledgers = {rural_ledger(7, 1), rural_ledger(8, 1)};
    KsPolygonMaker maker(rural_layer(), nullptr, nullptr);
    maker.open(write_area_file(dir, "a.txt", p));
    ASSERT_EQ(maker.area_links.at(7).size(), 1u);
    const std::vector<LinkRef>& list = maker.area_links.at(7)[0];
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list[0].forward);
    EXPECT_EQ(list[1].link_no, 2);
    EXPECT_FALSE(list[1].forward);
    EXPECT_EQ(maker.area_serials.at(7), std::vector<int>{45});
    EXPECT_TRUE(maker.area_links.at(8)[0].empty());
}

TEST(AreaReader, LedgerSpreadOverLines) {
    TempFolder dir("reader");
    AreaFileParts p = two_link_square();
    p.ledgers = {"DA          7  3" + std::string("1"), "second", "third"};
    KsPolygonMaker maker(rural_layer(), nullptr, nullptr);
    maker.open(write_area_file(dir, "a.txt", p));
    EXPECT_EQ(maker.attr_records.at(7), "DA          7  31secondthird");

    // Line counts 0 and 1 read no continuation line.
    for (const char* count : {"  0", "  1"}) {
        AreaFileParts q = two_link_square();
        q.areas.push_back(GenArea{46, 8, {fwd(1), fwd(2)}});
        q.ledgers = {std::string("DA          7") + count + "1", std::string("DA          8") + count + "1"};
        KsPolygonMaker m(rural_layer(), nullptr, nullptr);
        m.open(write_area_file(dir, "b.txt", q));
        EXPECT_EQ(m.attr_records.size(), 2u) << count;
    }
}

TEST(AreaReader, ZeroCountsReadNothing) {
    TempFolder dir("reader");
    AreaFileParts p;
    KsPolygonMaker maker(rural_layer(), nullptr, nullptr);
    EXPECT_FALSE(maker.open(write_area_file(dir, "empty.txt", p)));
    EXPECT_TRUE(maker.links.empty());
    EXPECT_TRUE(maker.area_links.empty());
}

TEST(AreaReader, LongHeaderAndCountsLinesAreReadWhole) {
    TempFolder dir("reader");
    std::string text = area_file_text(two_link_square());
    const std::size_t first_end = text.find("\r\n");
    text.insert(first_end, std::string(200, ' '));
    const std::size_t second_end = text.find("\r\n", first_end + 2);
    text.insert(second_end, std::string(150, ' '));
    write_file(dir.file("long.txt"), text);
    KsPolygonMaker maker(rural_layer(), nullptr, nullptr);
    EXPECT_TRUE(maker.open(dir.file("long.txt")));
    EXPECT_EQ(maker.attr_records.size(), 1u);
}

TEST(AreaReader, AreasAndLedgersFromDifferentFilesNeverMeet) {
    TempFolder dir("reader");
    AreaFileParts areas_only = two_link_square();
    areas_only.ledgers.clear();
    AreaFileParts ledgers_only = two_link_square();
    ledgers_only.areas.clear();
    KsPolygonMaker maker(rural_layer(), nullptr, nullptr);
    EXPECT_FALSE(maker.open(write_area_file(dir, "a.txt", areas_only)));
    EXPECT_FALSE(maker.open(write_area_file(dir, "b.txt", ledgers_only)));
    EXPECT_TRUE(maker.area_links.empty());
    EXPECT_TRUE(maker.area_serials.empty());  // pruned with the lists
    EXPECT_TRUE(maker.attr_records.empty());
}

namespace {

// The file's lines, each with `blanks` added where `pad` says so (by line index and line).
std::string padded(const std::string& text, const std::function<int(std::size_t, const std::string&)>& pad) {
    std::string out;
    std::size_t index = 0;
    for (std::size_t at = 0; at < text.size(); ++index) {
        const std::size_t end = text.find("\r\n", at);
        const std::string line = text.substr(at, end - at);
        out += line + std::string(static_cast<std::size_t>(pad(index, line)), ' ') + "\r\n";
        at = end + 2;
    }
    return out;
}

void expect_same_reading(const KsPolygonMaker& a, const KsPolygonMaker& b, const char* what) {
    ASSERT_EQ(a.links.size(), b.links.size()) << what;
    for (auto i = a.links.begin(), j = b.links.begin(); i != a.links.end(); ++i, ++j) {
        EXPECT_EQ(i->first.mesh_code, j->first.mesh_code) << what;
        EXPECT_EQ(i->first.link_no, j->first.link_no) << what;
        EXPECT_EQ(i->second.points, j->second.points) << what << " link " << i->first.link_no;
    }
    ASSERT_EQ(a.area_links.size(), b.area_links.size()) << what;
    for (auto i = a.area_links.begin(), j = b.area_links.begin(); i != a.area_links.end(); ++i, ++j) {
        ASSERT_EQ(i->first, j->first) << what;
        ASSERT_EQ(i->second.size(), j->second.size()) << what;
        for (std::size_t k = 0; k < i->second.size(); ++k) {
            ASSERT_EQ(i->second[k].size(), j->second[k].size()) << what << " area " << i->first;
            for (std::size_t r = 0; r < i->second[k].size(); ++r) {
                EXPECT_EQ(i->second[k][r].mesh_code, j->second[k][r].mesh_code) << what;
                EXPECT_EQ(i->second[k][r].link_no, j->second[k][r].link_no) << what;
                EXPECT_EQ(i->second[k][r].forward, j->second[k][r].forward) << what;
            }
        }
    }
    EXPECT_EQ(a.area_serials, b.area_serials) << what;
    ASSERT_EQ(a.attr_records.size(), b.attr_records.size()) << what;
}

}  // namespace

// Lines with blanks after their last field (every line, or one full continuation line) read as the same
// links and areas: the blanks after a continuation line's entries are no part of the next entry.
TEST(AreaReader, BlanksAfterTheLastFieldChangeNothing) {
    TempFolder dir("reader");
    AreaFileParts p = two_link_square();
    GenLink twelve{"533945", 3, {}};
    for (int i = 0; i < 12; ++i) twelve.xy.push_back({100.0 + 7 * i, 300.0 - 3 * i});
    p.links.push_back(twelve);
    p.areas.push_back(GenArea{46, 8, {fwd(1), back(2), fwd(3), GenRef{"533945", 4, 1}, back(3), fwd(2), back(1)}});
    p.ledgers.push_back(rural_ledger(8, 2));
    const std::string text = area_file_text(p);
    KsPolygonMaker plain(rural_layer(), nullptr, nullptr);
    plain.open(write_area_file(dir, "plain.txt", p));
    ASSERT_EQ(plain.links.at(LinkRef{"533945", 3, true}).points.size(), 12u);
    ASSERT_EQ(plain.area_links.at(8)[0].size(), 6u);

    // A full vertex line holds 80 bytes, a full reference line 70; neither starts with a record letter.
    const auto full_continuation = [](std::size_t width) {
        return [width, done = false](std::size_t, const std::string& line) mutable {
            const bool first = !done && line.size() == width && !std::isalpha(static_cast<unsigned char>(line[0]));
            done = done || first;
            return first ? 1 : 0;
        };
    };
    const struct {
        const char* what;
        std::function<int(std::size_t, const std::string&)> pad;
    } variants[] = {
        {"20 blanks on every line", [](std::size_t, const std::string&) { return 20; }},
        {"one blank after a full vertex line", full_continuation(80)},
        {"one blank after a full reference line", full_continuation(70)},
    };
    for (const auto& v : variants) {
        const std::string changed = padded(text, v.pad);
        ASSERT_NE(changed, text) << v.what;
        write_file(dir.file("padded.txt"), changed);
        KsPolygonMaker maker(rural_layer(), nullptr, nullptr);
        EXPECT_TRUE(maker.open(dir.file("padded.txt"))) << v.what;
        expect_same_reading(plain, maker, v.what);
    }
}

namespace {

struct FailureCase {
    const char* what;
    std::string text;
    std::string failure;
};

// Files that fail to read, each with the failure text the maker throws; read from dir/f.txt.
std::vector<FailureCase> failure_cases(const TempFolder& dir) {
    const std::string good = area_file_text(two_link_square());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    const std::string dropped_last_line = good.substr(0, good.rfind("DA "));
    // A line cut before a field it needs fails the file, naming it and the line (in CP932, as every
    // failure text of the makers).
    auto cut_short = [&](int line, int length, int layout_end) {
        return velmora::text::toCp932("入力ファイル " + dir.file("f.txt") + " の " + std::to_string(line) +
                                      "行目のレコードが途中で切れています（長さ" + std::to_string(length) +
                                      "、項目の配置は" + std::to_string(layout_end) + "桁目まで）。");
    };
    // The ledger, the file's last line, padded with blanks to n bytes.
    auto ledger_line_of = [&](std::size_t n) {
        const std::size_t begin = good.rfind("DA ");
        const std::size_t length = good.size() - 2 - begin;
        return good.substr(0, good.size() - 2) + std::string(n - length, ' ') + "\r\n";
    };
    return {
        {"link kind", replaced("L  533945", "X  533945"), "Invalid layer code. KsPolygonMaker::read_link()"},
        {"area kind", replaced("A  000000", "B  000000"), "Invalid layer code. KsPolygonMaker::read_area()"},
        {"ledger kind", replaced("DA ", "DX "), "Invalid layer code. KsPolygonMaker::read_attr()"},
        {"ledger missing", dropped_last_line, "Unexpected EOF. KsPolygonMaker::read_attr()"},
        {"attribute number beyond 32 bits", replaced("DA          7", "DA 9999999999"),
         "Invalid attribute number. KsPolygonMaker::read_attr()"},
        {"area attribute number beyond 32 bits", replaced("         7     2\r\n", "9999999999     2\r\n"),
         "Invalid attribute number. KsPolygonMaker::read_area()"},
        {"link line over 127 bytes", replaced("L  533945", "L  533945" + std::string(130, ' ')),
         "Invalid layer code. KsPolygonMaker::read_link()"},
        // Lines read whole stop at 1024 bytes: no area file has longer ones.
        {"ledger line of 1024 bytes", ledger_line_of(1024), ""},
        {"ledger line of 1025 bytes", ledger_line_of(1025), "Line too long. KsPolygonMaker::open()"},
        {"node line over the bound", replaced("N  533945", "N  533945" + std::string(2000, ' ')),
         "Line too long. KsPolygonMaker::open()"},
        {"file without line ends", std::string(3000000, 'H'), "Line too long. KsPolygonMaker::open()"},
        // A line that ends before a column its record needs (a vertex or reference line cut short, a
        // record line without its count, a counts line without the ledger count).
        {"vertex line shorter than its points",
         replaced("     100     100     100     200     200     200", "     100     100"), cut_short(5, 16, 32)},
        {"reference line shorter than its references", replaced("533945     1 0533945     2 0", "533945     1 0"),
         cut_short(9, 14, 26)},
        {"link line without its vertex count",
         replaced("L  533945     1533945     1     1 0          ", "L  533945     1533945     1"), cut_short(4, 33, 51)},
        {"ledger line without its line count", replaced("DA          7", "DA   7"), cut_short(10, 10, 16)},
        {"file cut after its first link", good.substr(0, good.find("\r\nL", good.find("\r\nL") + 1) + 2),
         "Invalid layer code. KsPolygonMaker::read_link()"},
    };
}

}  // namespace

TEST(AreaReader, FailureTexts) {
    TempFolder dir("reader");
    for (const FailureCase& c : failure_cases(dir)) {
        write_file(dir.file("f.txt"), c.text);
        KsPolygonMaker maker(rural_layer(), nullptr, nullptr);
        EXPECT_EQ(open_failure(maker, dir.file("f.txt")), c.failure) << c.what;
    }
    KsPolygonMaker maker(rural_layer(), nullptr, nullptr);
    EXPECT_EQ(open_failure(maker, dir.file("missing.txt")), "File open failure. KsPolygonMaker::open()");
    EXPECT_EQ(open_failure(maker, dir.path().string()), "File open failure. KsPolygonMaker::open()");
}

namespace {

// What opening a job's files leaves: the maps, the failure text and where the reading stopped.
struct JobReading {
    std::unique_ptr<KsPolygonMaker> maker = std::make_unique<KsPolygonMaker>(rural_layer(), nullptr, nullptr);
    std::string failure;
    std::optional<velmora::text::ReadPosition> at;
};

JobReading read_job(const std::vector<std::string>& paths, bool together) {
    JobReading r;
    velmora::text::forgetReadPosition();
    try {
        if (together) {
            r.maker->open_files(paths);
        } else {
            for (const std::string& path : paths) r.maker->open(path);
        }
    } catch (const std::string& text) {
        r.failure = text;
    }
    r.at = velmora::text::lastReadPosition();
    return r;
}

void expect_same_job(const std::vector<std::string>& paths, const std::string& what) {
    const JobReading one_by_one = read_job(paths, false);
    const JobReading together = read_job(paths, true);
    EXPECT_EQ(together.failure, one_by_one.failure) << what;
    ASSERT_EQ(together.at.has_value(), one_by_one.at.has_value()) << what;
    if (one_by_one.at) {
        EXPECT_EQ(together.at->path, one_by_one.at->path) << what;
        EXPECT_EQ(together.at->line, one_by_one.at->line) << what;
    }
    expect_same_reading(*one_by_one.maker, *together.maker, what.c_str());
    EXPECT_EQ(together.maker->last_record_count, one_by_one.maker->last_record_count) << what;
}

}  // namespace

// A job's files opened together (later files' links read ahead on other threads) read as they do one by
// one: a later file's link replaces an earlier one of the same key, and a file that fails anywhere fails
// the job with the same text at the same line.
TEST(AreaReader, FilesOpenedTogetherReadAsOneByOne) {
    TempFolder dir("reader");
    std::vector<std::string> sound;
    for (int f = 0; f < 12; ++f) {
        AreaFileParts p = two_link_square();
        // Each file moves link 2 and adds links of its own, some with continuation lines.
        p.links[1].xy[1] = {200.0 + f, 100.0 - f};
        for (int k = 0; k < f % 4; ++k) {
            GenLink l{"533945", 10 + f * 10 + k, {}};
            for (int i = 0; i < 3 + 4 * k; ++i) l.xy.push_back({100.0 + i + f, 300.0 - i});
            p.links.push_back(l);
        }
        p.ledgers = {rural_ledger(7 + f % 3, 1)};
        sound.push_back(write_area_file(dir, "s" + std::to_string(f) + ".txt", p));
    }
    expect_same_job(sound, "sound files");
    EXPECT_EQ(read_job(sound, true).maker->links.at(LinkRef{"533945", 2, true}).points[1].x,
              211.0 * 2.777777777777778e-05);
    expect_same_job({sound[0]}, "one file");
    expect_same_job({}, "no file");

    std::vector<FailureCase> cases = failure_cases(dir);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string bad = dir.file("bad" + std::to_string(i) + ".txt");
        write_file(bad, cases[i].text);
        for (const std::size_t place : {std::size_t{0}, std::size_t{1}, std::size_t{5}}) {
            std::vector<std::string> paths(sound.begin(), sound.begin() + 6);
            paths.insert(paths.begin() + static_cast<std::ptrdiff_t>(place), bad);
            expect_same_job(paths, std::string(cases[i].what) + " at file " + std::to_string(place));
        }
    }
    expect_same_job({sound[0], sound[1], dir.file("missing.txt"), sound[2]}, "missing file");
    expect_same_job({sound[0], dir.path().string(), sound[2]}, "folder");
}

TEST(MeshSelection, RectanglesOfValidCodesOnly) {
    KsPolygonMaker maker(rural_layer(), "533945, 533945 ,533946,533988,53394,5339450,2939 45,", nullptr);
    ASSERT_EQ(maker.mesh_codes, (std::vector<std::string>{"533945", "533946"}));
    const Ring& r = maker.mesh_rects[0];
    ASSERT_EQ(r.points.size(), 4u);
    const double lat0 = 53.0 * 2.0 / 3.0;
    EXPECT_EQ(r.points[0].x, 5 * 0.125 + 139.0);
    EXPECT_EQ(r.points[0].y, 4 * (1.0 / 12.0) + lat0);
    EXPECT_EQ(r.points[2].x, 6 * 0.125 + 139.0);
    EXPECT_EQ(r.points[2].y, 5 * (1.0 / 12.0) + lat0);
    EXPECT_TRUE(r.box_valid);
    KsPolygonMaker none(rural_layer(), "", nullptr);
    EXPECT_TRUE(none.mesh_rects.empty());
    KsPolygonMaker edges(rural_layer(), "302200,685477,295000,692200", nullptr);
    EXPECT_EQ(edges.mesh_codes, (std::vector<std::string>{"302200", "685477"}));
}

TEST(MeshSelection, KeepsAreasTouchingASelectedMeshAndRuralOutlinesAroundIt) {
    TempFolder dir("reader");
    // Mesh 533945 spans x 139.625-139.75, y 35.6667-35.75 degrees.
    const double mx = 139.625 * 36000, my = (35.0 + 2.0 / 3.0) * 36000;
    AreaFileParts p;
    p.links = {square_link("533945", 1, mx + 100, my + 100, 100),          // inside the mesh
               square_link("533945", 2, mx - 10000, my - 10000, 200),      // far away
               square_link("533945", 3, mx - 100, my - 100, 30000)};       // around the mesh
    p.areas = {GenArea{1, 1, {fwd(1)}}, GenArea{2, 2, {fwd(2)}}, GenArea{3, 3, {fwd(3)}}};
    p.ledgers = {rural_ledger(1, 1), rural_ledger(2, 1), rural_ledger(3, 1)};
    const std::string path = write_area_file(dir, "m.txt", p);

    KsPolygonMaker rural(rural_layer(), "533945", nullptr);
    rural.open(path);
    EXPECT_EQ(rural.selected_attrs, (std::set<int>{1, 3}));
    EXPECT_EQ(rural.attr_records.size(), 2u);
    EXPECT_EQ(rural.area_serials.size(), 2u);

    KsPolygonMaker parks(*find_layer_record(2), "533945", nullptr);
    parks.open(path);
    EXPECT_EQ(parks.selected_attrs, (std::set<int>{1}));
    EXPECT_EQ(parks.attr_records.size(), 1u);
}

TEST(MeshSelection, SavedRectanglesAndTheirTable) {
    TempFolder dir("reader");
    KsPolygonMaker maker(rural_layer(), "533946,533945", nullptr);
    maker.save_mesh(dir.file("mesh.shp"));
    const std::string shp = read_file(dir.file("mesh.shp"));
    ASSERT_EQ(shp.size(), 100u + 2 * (8 + 128));  // two closed five-point rings
    const std::string dbf = read_file(dir.file("mesh.dbf"));
    ASSERT_EQ(dbf.size(), 65u + 2 * 13 + 1);
    EXPECT_EQ(dbf.substr(32, 4), std::string("MESH"));
    EXPECT_EQ(dbf[43], 'C');
    EXPECT_EQ(dbf.substr(65, 13), "       533945");
    EXPECT_EQ(dbf.substr(78, 13), "       533946");
    KsPolygonMaker none(rural_layer(), nullptr, nullptr);
    none.save_mesh(dir.file("none.shp"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.shp")));
}
