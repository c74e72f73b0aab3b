#pragma once
// An area job's surroundings for tests of the boundary-line and representative-point converter: the line
// job's program folder, log, progress display and scripted user interface, with area catalogue rows
// (each with its own header key), the work database made and open, and a stand-in for Brunhale that
// keeps a copy of the pair it was given ("captured_H", "captured_D") and exits with a chosen code.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "convert/area/PolygonDb.h"
#include "convert/area/PolygonLoader.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "platform/db/Database.h"
#include "tests/convert/line/LineJobFixture.h"
#include "tests/convert/line/TableDump.h"
#include "tests/tools/gen/AreaFileGen.h"

namespace velmora::testsupport {

// Fills an area row: name and key (UTF-8), items in order.
inline void setAreaRow(int row, const std::string& name, const std::string& key,
                       const std::vector<datagen::AreaLedgerItemDef>& items) {
    datagen::fill_area_layer_row(conversionState().PolygonLayers.at(static_cast<std::size_t>(row)), name, key, items);
}

inline std::string areaRowName(int row) { return "面" + std::to_string(row); }

class AreaJobFixture : public LineJobFixture {
protected:
    AreaJobFixture() {
        ConversionState& s = conversionState();
        for (int row = 0; row < 13; ++row)
            setAreaRow(row, areaRowName(row), row <= 10 ? datagen::area_row_header_key(row) : "AKEY" + std::to_string(row),
                       datagen::area_ledger_items(row));
        s.SelectedKind = DataKind::Area;
        std::filesystem::create_directory(program_.path() / "out");
        s.OutputPath = out("area.shp");
        s.DatumCode = 2000;
        installStandIn(0);
    }

    // Makes the database of the selected row and opens it; the counters start again.
    void openDb(int row) {
        select(row);
        db_.close();
        ASSERT_TRUE(ModPolygon::MakePolygonDb());
        db_ = db::Database::open(ModPolygon::PolygonDbPath());
        conversionState().LinkIdxCounter = {0, 0};
    }
    bool load(const std::string& path) { return ModPolygon::PolySetTextToTbl(db_, path); }
    Dump dump(const std::string& table) { return dumpTable(db_, table); }

    void installStandIn(int exitCode) {
        const std::string path = program_.file("Brunhale");
        std::ofstream(path, std::ios::trunc) << "#!/bin/sh\nd=$(dirname \"$0\")\n"
                                                "cp \"$d/MakeShapeFile.fil_H\" \"$d/captured_H\"\n"
                                                "cp \"$d/MakeShapeFile.fil_D\" \"$d/captured_D\"\n"
                                                "exit "
                                             << exitCode << "\n";
        ::chmod(path.c_str(), 0755);
    }
    // Lines of a file of the program folder, UTF-8, without their CR LF; none when it does not exist.
    std::vector<std::string> linesOf(const std::string& name) {
        std::vector<std::string> lines;
        const std::string bytes = TempProgramFolder::read(program_.file(name));
        std::size_t from = 0;
        for (std::size_t at; (at = bytes.find("\r\n", from)) != std::string::npos; from = at + 2)
            lines.push_back(text::fromCp932(bytes.substr(from, at - from)));
        return lines;
    }
    std::vector<std::string> capturedHeader() { return linesOf("captured_H"); }
    std::vector<std::string> capturedCoordinates() { return linesOf("captured_D"); }
    bool brunhaleRan() { return std::filesystem::exists(program_.file("captured_H")); }
    bool pairGone() {
        return !std::filesystem::exists(shapedesc::headerFilePath()) &&
               !std::filesystem::exists(shapedesc::coordinateFilePath());
    }
    std::string out(const std::string& name) { return program_.file("out/" + name); }

    db::Database db_;
};

// Hand-written records of area-structure files, column by column (UTF-8 until crlf() writes them).
inline std::string num(long long v, int width) { return datagen::fmt_int(v, width); }
inline std::string areaCounts() { return "      20       0       0       0       0       0       0"; }
inline std::string nodeRecord(int mesh, int serial, long x, long y) {
    return "N  " + num(mesh, 6) + num(serial, 6) + num(x, 8) + num(y, 8) + " 0" + std::string(10, ' ') + "  2" + " 0" +
           std::string(12, ' ');
}
inline std::string linkRecord(int startMesh, int startNo, int endMesh, int endNo, int serial, const std::string& count6) {
    return "L  " + num(startMesh, 6) + num(startNo, 6) + num(endMesh, 6) + num(endNo, 6) + num(serial, 6) + " 0" +
           num(serial, 10) + count6;
}
inline std::string vertexSlot(long x, long y) { return num(x, 8) + num(y, 8); }
inline std::string areaRecord(int mesh, long x, long y, int serial, const std::string& attribute10, int refs) {
    return "A  " + num(mesh, 6) + num(x, 8) + num(y, 8) + num(serial, 8) + " 1" + attribute10 + num(refs, 6);
}
inline std::string refSlot(int mesh, int number, int flag) { return num(mesh, 6) + num(number, 6) + num(flag, 2); }
// A ledger record's first line: kind, attribute number, line count, then the item columns from 17.
inline std::string daRecord(long long attribute, int lines, const std::string& items) {
    return "DA " + num(attribute, 10) + num(lines, 3) + items;
}

}  // namespace velmora::testsupport
