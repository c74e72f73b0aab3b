#include "convert/mesh/MeshGeometry.h"

#include <string>

#include "convert/core/ConversionState.h"
#include "platform/errors/RunTimeError.h"
#include "platform/ui/UiService.h"

namespace ModMesh {

using velmora::RunTimeError;
namespace err = velmora::err;

namespace {

// Each step is derived from the ones before it and used unchanged: E10 is E / 10, which differs in its
// last bit from 1 / 1200, and the published rings are those of these very doubles.
struct Steps {
    double A = 2.0 / 3.0;  // latitude span of a first-level mesh
    double B = 1.0 / 8.0;  // longitude span of a second-level cell
    double C = A / 8;
    double D = B / 10;     // third-level cell
    double E = C / 10;
    double F = D / 2;      // half cell
    double G = E / 2;
    double B5 = B / 5;     // 5 × 5 cells of a second-level cell
    double C5 = C / 5;
    double D4 = D / 4;     // 4 × 4 and 10 × 10 cells of a third-level cell
    double E4 = E / 4;
    double D10 = D / 10;
    double E10 = E / 10;
};
const Steps kSteps;

[[noreturn]] void typeMismatch() { throw RunTimeError(err::TypeMismatch, "Type mismatch"); }
[[noreturn]] void invalidCall() { throw RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument"); }

// The digit group at 1-based positions from .. from+width-1.
int group(std::string_view code, std::size_t from, std::size_t width) {
    if (code.size() < from - 1 + width) typeMismatch();
    int v = 0;
    for (std::size_t i = from - 1; i < from - 1 + width; ++i) {
        const char c = code[i];
        if (c < '0' || c > '9') typeMismatch();
        v = v * 10 + (c - '0');
    }
    return v;
}

// A 16-bit index sum as the index arithmetic forms it before it meets a double.
double index16(long v) {
    if (v < -32768 || v > 32767) throw RunTimeError(err::Overflow, "Overflow");
    return static_cast<double>(v);
}

// How a subdivision places its rows: the south and north edges of row j as multiples of the row span.
struct Division {
    int level;
    int n;
    bool rowsFromNorth;
};
constexpr Division kDivisions[] = {{3, 10, false}, {3, 4, true}, {2, 5, true}};

MeshRing ringOf(double west, double south, double east, double north) {
    return {{west, west, east, east, west}, {south, north, north, south, south}};
}

}  // namespace

MeshRing CellRing(std::string_view code, int level, int subdivision, std::optional<SubCell> cell) {
    const Steps& s = kSteps;
    const int p = group(code, 1, 2), u = group(code, 3, 2), q = group(code, 5, 1), v = group(code, 6, 1);
    // South-west corner of the second-level cell.
    double x0 = (u + 100) + v * s.B;
    double y0 = p * s.A + q * s.C;

    if (!cell) {
        if (subdivision != 0 || level < 2 || level > 4) invalidCall();
        double w = s.B, h = s.C;
        if (level >= 3) {
            const int r = group(code, 7, 1), c = group(code, 8, 1);
            const int quarter = level == 4 ? group(code, 9, 1) : 1;
            x0 = x0 + c * s.D;
            y0 = y0 + r * s.E;
            w = s.D;
            h = s.E;
            if (level == 4) {
                if (quarter < 1 || quarter > 4) invalidCall();
                if (quarter == 2 || quarter == 4) x0 = x0 + s.F;
                if (quarter == 3 || quarter == 4) y0 = y0 + s.G;
                w = s.F;
                h = s.G;
            }
        }
        return ringOf(x0, y0, w + x0, h + y0);
    }

    if (level == 3) {
        const int r = group(code, 7, 1), c = group(code, 8, 1);
        x0 = x0 + c * s.D;
        y0 = y0 + r * s.E;
    }
    const Division* division = nullptr;
    for (const Division& d : kDivisions)
        if (d.level == level && d.n == subdivision) division = &d;
    if (!division) invalidCall();

    const double colSpan = subdivision == 10 ? s.D10 : subdivision == 4 ? s.D4 : s.B5;
    const double rowSpan = subdivision == 10 ? s.E10 : subdivision == 4 ? s.E4 : s.C5;
    const long i = cell->column, j = cell->row, n = subdivision;
    const double west = i * colSpan + x0, east = index16(i + 1) * colSpan + x0;
    const double southRows = division->rowsFromNorth ? index16(n - 1 - j) : static_cast<double>(j);
    const double northRows = division->rowsFromNorth ? index16(n - j) : index16(j + 1);
    return ringOf(west, southRows * rowSpan + y0, east, northRows * rowSpan + y0);
}

namespace {

template <class Compute>
bool applied(const char* procedure, MeshRing& ring, Compute&& compute) {
    try {
        const velmora::MeshLayerDef& layer =
            velmora::layerRow(velmora::conversionState().MeshLayers, velmora::conversionState().SelectedIndex);
        ring = compute(layer);
        return true;
    } catch (const RunTimeError& e) {
        velmora::ui::showRunTimeError(e, std::string("Error: ModMesh (") + procedure + ")");
        return false;
    }
}

}  // namespace

bool MeshMake(std::string_view code, MeshRing& ring) {
    return applied("MeshMake", ring, [&](const velmora::MeshLayerDef& layer) {
        return CellRing(code, layer.MeshLevel, layer.Subdivision);
    });
}

bool SaibunMeshMake(std::string_view code, std::int16_t column, std::int16_t row, MeshRing& ring) {
    return applied("SaibunMeshMake", ring, [&](const velmora::MeshLayerDef& layer) {
        return CellRing(code, layer.MeshLevel, layer.Subdivision, SubCell{column, row});
    });
}

}  // namespace ModMesh
