#include "tests/brunhale/Readback.h"

#include <shapefil.h>

#include <stdexcept>

#include "platform/text/Cp932.h"
#include "tests/brunhale/BrunhaleFolder.h"

namespace velmora::testsupport {

ShapefileRead readShapefile(const std::string& base) {
    SHPHandle h = SHPOpen((base + ".shp").c_str(), "rb");
    if (!h) throw std::runtime_error("cannot open " + base + ".shp");
    ShapefileRead r;
    int n = 0;
    double mn[4], mx[4];
    SHPGetInfo(h, &n, &r.type, mn, mx);
    for (int i = 0; i < n; ++i) {
        SHPObject* o = SHPReadObject(h, i);
        ShapeRead s;
        s.type = o->nSHPType;
        for (int p = 0; p < o->nParts; ++p) s.partStarts.push_back(o->panPartStart[p]);
        for (int v = 0; v < o->nVertices; ++v) s.vertices.emplace_back(o->padfX[v], o->padfY[v]);
        SHPDestroyObject(o);
        r.shapes.push_back(std::move(s));
    }
    SHPClose(h);
    return r;
}

TableRead readTable(const std::string& dbfPath) {
    DBFHandle h = DBFOpen(dbfPath.c_str(), "rb");
    if (!h) throw std::runtime_error("cannot open " + dbfPath);
    TableRead t;
    int nf = DBFGetFieldCount(h);
    for (int i = 0; i < nf; ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int w = 0, d = 0;
        DBFGetFieldInfo(h, i, name, &w, &d);
        t.fields.push_back({text::fromCp932(name), DBFGetNativeFieldType(h, i), w, d});
    }
    for (int r = 0; r < DBFGetRecordCount(h); ++r) {
        std::vector<std::optional<std::string>> row;
        for (int i = 0; i < nf; ++i) {
            if (DBFIsAttributeNULL(h, r, i)) row.emplace_back();
            else row.emplace_back(text::fromCp932(DBFReadStringAttribute(h, r, i)));
        }
        t.rows.push_back(std::move(row));
        const char* rec = DBFReadTuple(h, r);
        int offset = 1;
        for (int i = 0; i < nf; ++i) {
            int w = t.fields[i].width;
            t.rawCells.emplace_back(rec + offset, static_cast<std::size_t>(w));
            offset += w;
        }
    }
    DBFClose(h);
    std::string bytes = readFile(dbfPath);
    if (bytes.size() > 29) t.languageDriver = static_cast<unsigned char>(bytes[29]);
    return t;
}

}  // namespace velmora::testsupport
