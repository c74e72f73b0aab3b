#include "tests/tools/gen/ShapeFileGen.h"

#include "platform/text/Cp932.h"

#include <shapefil.h>

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <stdexcept>

namespace fs = std::filesystem;

namespace velmora::datagen {

namespace {

void fail(const std::string& what) { throw std::runtime_error("shapefile generator: " + what); }

std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

void writeShapes(const std::string& base, const GenShapeFile& file) {
    // shapelib takes a final extension off the name it is given; "a.b" must stay "a.b".
    SHPHandle h = SHPCreate((base + ".shp").c_str(), file.shpType);
    if (!h) fail("cannot create " + base + ".shp");
    std::unique_ptr<SHPInfo, void (*)(SHPHandle)> handle(h, &SHPClose);
    for (const auto& s : file.shapes) {
        std::vector<double> x, y;
        std::vector<int> starts;
        for (auto part : s.parts) {
            const bool ring = file.shpType % 10 == 5;
            if (ring && !part.empty() && part.front() != part.back()) part.push_back(part.front());
            starts.push_back(static_cast<int>(x.size()));
            for (auto [px, py] : part) {
                x.push_back(px);
                y.push_back(py);
            }
        }
        SHPObject* o = s.parts.empty()
                           ? SHPCreateSimpleObject(SHPT_NULL, 0, nullptr, nullptr, nullptr)
                           : SHPCreateObject(file.shpType, -1, static_cast<int>(starts.size()), starts.data(), nullptr,
                                             static_cast<int>(x.size()), x.data(), y.data(), nullptr, nullptr);
        const int written = SHPWriteObject(h, -1, o);
        SHPDestroyObject(o);
        if (written < 0) fail("cannot write a shape of " + base);
    }
}

void writeTable(const std::string& base, const GenShapeFile& file) {
    DBFHandle h = DBFCreateEx((base + ".dbf").c_str(), "LDID/13");
    if (!h) fail("cannot create " + base + ".dbf");
    std::unique_ptr<DBFInfo, void (*)(DBFHandle)> handle(h, &DBFClose);
    for (const auto& f : file.fields) {
        const std::string name = text::toCp932(f.name);
        if (DBFAddNativeFieldType(h, name.c_str(), f.type, f.width, f.decimals) < 0) fail("cannot add field " + f.name);
    }
    for (std::size_t r = 0; r < file.shapes.size(); ++r) {
        for (std::size_t f = 0; f < file.fields.size(); ++f) {
            const std::string v = r < file.rows.size() && f < file.rows[r].size() ? file.rows[r][f] : "";
            const char type = file.fields[f].type;
            int ok;
            if (v.empty()) ok = DBFWriteNULLAttribute(h, int(r), int(f));
            else if (type == 'N' || type == 'F') ok = DBFWriteDoubleAttribute(h, int(r), int(f), std::stod(v));
            else if (type == 'C') ok = DBFWriteStringAttribute(h, int(r), int(f), text::toCp932(v).c_str());
            else ok = DBFWriteAttributeDirectly(h, int(r), int(f), const_cast<char*>(v.c_str()));
            if (!ok) fail("cannot write a value of " + base);
        }
    }
}

}  // namespace

std::vector<std::pair<double, double>> rectangleRing(double left, double bottom, double right, double top) {
    return {{left, bottom}, {left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

std::string writeShapeFile(const std::string& base, const GenShapeFile& file) {
    writeShapes(base, file);
    if (file.dbf) writeTable(base, file);
    if (file.prj) {
        std::ofstream prj(base + ".prj", std::ios::binary);
        prj << "GEOGCS[\"GCS_JGD_2000\",DATUM[\"D_JGD_2000\",SPHEROID[\"GRS_1980\",6378137.0,298.257222101]],"
               "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
        if (!prj) fail("cannot write " + base + ".prj");
    }
    std::string shp = base + ".shp";
    if (file.upperCase) {
        const fs::path folder = fs::path(base).parent_path();
        const std::string name = fs::path(base).filename().string();
        for (const char* ext : {".shp", ".shx", ".dbf", ".prj"}) {
            const fs::path from = folder / (name + ext);
            if (!fs::exists(from)) continue;
            const fs::path to = folder / upper(name + ext);
            fs::rename(from, to);
            if (std::string(ext) == ".shp") shp = to.string();
        }
    }
    return shp;
}

std::string writeMeshCellLayer(const std::string& base, long cells) {
    // Japan's arc from Yonaguni to the east of Hokkaido, in degrees.
    static const std::vector<std::pair<double, double>> arc = {
        {123.0, 24.4}, {124.2, 24.4}, {127.7, 26.3}, {129.5, 28.4}, {130.5, 31.5}, {130.9, 33.9},
        {132.5, 34.4}, {135.4, 34.7}, {137.0, 35.1}, {139.7, 35.7}, {140.9, 37.9}, {141.0, 40.0},
        {140.7, 41.8}, {141.3, 43.0}, {142.4, 44.2}, {144.4, 43.6}, {145.5, 43.3}};
    // First-level meshes (40' x 1 deg) along the arc and their neighbours, in the order the arc meets them.
    std::vector<std::pair<int, int>> meshes;  // (p, u): lat = p / 1.5, lon = u + 100
    std::set<std::pair<int, int>> seen;
    for (std::size_t i = 0; i + 1 < arc.size(); ++i) {
        for (int s = 0; s < 20; ++s) {
            const double t = s / 20.0;
            const double lon = arc[i].first + (arc[i + 1].first - arc[i].first) * t;
            const double lat = arc[i].second + (arc[i + 1].second - arc[i].second) * t;
            const int p0 = static_cast<int>(std::floor(lat * 1.5)), u0 = static_cast<int>(std::floor(lon)) - 100;
            for (int dp = -1; dp <= 1; ++dp)
                for (int du = -1; du <= 1; ++du)
                    if (seen.insert({p0 + dp, u0 + du}).second) meshes.push_back({p0 + dp, u0 + du});
        }
    }
    const long capacity = static_cast<long>(meshes.size()) * 6400;
    if (cells < 0 || cells > capacity) fail("at most " + std::to_string(capacity) + " mesh cells");
    GenShapeFile file;
    file.shpType = SHPT_POLYGON;
    file.fields = {{"MESHCODE", 'C', 8, 0}, {"VALUE", 'N', 6, 0}};
    file.prj = true;
    file.shapes.reserve(cells);
    file.rows.reserve(cells);
    const long perMesh = meshes.empty() ? 0 : (cells + long(meshes.size()) - 1) / long(meshes.size());
    long left = cells;
    for (const auto& [p, u] : meshes) {
        const long here = std::min(left, perMesh);
        left -= here;
        // A block of about as many rows as columns of the mesh's 80 x 80 cells, centred in the mesh.
        const long cols = std::min(80L, static_cast<long>(std::ceil(std::sqrt(static_cast<double>(here)))));
        const long rows = cols > 0 ? (here + cols - 1) / cols : 0;
        const long firstRow = 40 - rows / 2, firstCol = 40 - cols / 2;
        for (long k = 0; k < here; ++k) {
            const long row = firstRow + k / cols, col = firstCol + k % cols;
            const long latIndex = long(p) * 80 + row;  // in 30" steps
            const long lonIndex = long(u) * 80 + col;  // in 45" steps from 100 E
            const double south = latIndex * 30.0 / 3600.0, west = 100.0 + lonIndex * 45.0 / 3600.0;
            file.shapes.push_back({{rectangleRing(west, south, west + 45.0 / 3600.0, south + 30.0 / 3600.0)}});
            auto two = [](long v) { return (v < 10 ? "0" : "") + std::to_string(v); };
            const std::string code = two(p) + two(u) + std::to_string(row / 10) + std::to_string(col / 10) +
                                     std::to_string(row % 10) + std::to_string(col % 10);
            file.rows.push_back({code, std::to_string((latIndex * 7 + lonIndex * 13) % 1000)});
        }
    }
    return writeShapeFile(base, file);
}

}  // namespace velmora::datagen
