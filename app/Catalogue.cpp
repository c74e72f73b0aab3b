#include "app/Catalogue.h"

#include <exception>
#include <string>

#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/LineReader.h"
#include "platform/text/Sjis.h"
#include "platform/ui/UiService.h"

namespace velmora::catalogue {

namespace {

const std::string kFormName = "frmDataSelect";

std::string errorTitle(const char* procedure) { return "Error: " + kFormName + " (" + procedure + ")"; }

// Column i of a line; a line with fewer columns is a subscript error, as for the split array.
std::string_view field(const Fields& fields, std::size_t i) {
    if (i >= fields.size()) throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
    return fields[i];
}

// Row number of a catalogue line within its table.
template <class Table>
auto& tableRow(Table& table, const Fields& fields) {
    return layerRow(table, text::cLng(field(fields, 1)));
}

template <class Row>
void storeHead(const Fields& fields, Row& row) {
    row.Name = std::string(field(fields, 2));
    row.Flag1 = text::cBool(field(fields, 3));
    row.AllowNationwide = text::cBool(field(fields, 4));
    row.Flag3 = text::cBool(field(fields, 5));
    row.Flag4 = text::cBool(field(fields, 6));
    row.Flag5 = text::cBool(field(fields, 7));
    row.Flag6 = text::cBool(field(fields, 8));
    row.HeaderKey = std::string(field(fields, 9));
    row.ItemCount = text::cInt(field(fields, 10));
}

template <class Row>
void storeItem(const Fields& fields, Row& row) {
    const std::string_view number = field(fields, 3);
    if (number.empty()) return;
    const long n = text::cLng(number);
    if (n < 0 || n > static_cast<long>(Row::MaxItem))
        throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
    const auto i = static_cast<std::size_t>(n);
    row.ItemName[i] = std::string(field(fields, 5));
    row.ItemType[i] = std::string(field(fields, 6));
    row.ItemWidth[i] = text::cInt(field(fields, 7));
    row.ItemOutput[i] = text::cBool(field(fields, 8));
    row.ItemStart[i] = text::cInt(field(fields, 9));
}

void showKeyMismatch() {
    ui::message("CSVファイルの情報が不正です。\rCSVファイルを確認後、再度変換処理を行ってください。",
                "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::None, ui::Buttons::Ok);
}

// Runs one row procedure; its run-time error abandons the line and shows the procedure's box.
template <class F>
void guarded(const char* procedure, F&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        ui::showError(e, errorTitle(procedure));
    }
}

// The row procedures of each file.
struct DataLine {
    static void plain(const Fields& f, LayerDef& row) { SetCsvFile1ToTable(f, row); }
    static void mesh(const Fields& f, MeshLayerDef& row) { SetCsvFile1ToTableMesh(f, row); }
};
struct ItemLine {
    static void plain(const Fields& f, LayerDef& row) { SetCsvFile2ToTable(f, row); }
    static void mesh(const Fields& f, MeshLayerDef& row) { SetCsvFile2ToTableMesh(f, row); }
};

// Reads one catalogue file and hands each line to the row procedure of its kind (Line: DataLine or
// ItemLine). Errors of the file itself, of column 0 and of column 1 end the load.
template <class Line>
void loadFile(ConversionState& s, const std::string& path) {
    text::LineReader in(path);
    std::string line;
    if (!in.next(line)) throw RunTimeError(err::InputPastEndOfFile, "Input past end of file");
    while (in.next(line)) {
        if (line.empty()) continue;
        const Fields fields = splitFields(line);
        // Column 0 is compared as a number; a kind outside 0-4 (or a fraction) leaves the line ignored.
        const double kind = text::toDouble(fields[0]);
        if (kind == 0) {
            Line::plain(fields, tableRow(s.PointLayers, fields));
        } else if (kind == 1) {
            Line::plain(fields, tableRow(s.LineLayers, fields));
        } else if (kind == 2) {
            Line::plain(fields, tableRow(s.PolygonLayers, fields));
        } else if (kind == 3) {
            Line::plain(fields, tableRow(s.AttrLayers, fields));
        } else if (kind == 4) {
            Line::mesh(fields, tableRow(s.MeshLayers, fields));
        }
    }
}

}  // namespace

Fields splitFields(std::string_view line) {
    Fields fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

bool SetKisoJyoho(ConversionState& state) {
    try {
        loadFile<DataLine>(state, state.AppFolder + "DataDBF.csv");
        loadFile<ItemLine>(state, state.AppFolder + "DataDBFItem.csv");
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, errorTitle("SetKisoJyoho"));
        return false;
    }
}

void SetCsvFile1ToTable(const Fields& fields, LayerDef& row) {
    guarded("SetCsvFile1ToTable", [&] { storeHead(fields, row); });
}

void SetCsvFile1ToTableMesh(const Fields& fields, MeshLayerDef& row) {
    guarded("SetCsvFile1ToTableMesh", [&] {
        storeHead(fields, row);
        row.MeshLevel = text::cInt(field(fields, 11));
        row.Subdivision = text::cInt(field(fields, 12));
    });
}

void SetCsvFile2ToTable(const Fields& fields, LayerDef& row) {
    guarded("SetCsvFile2ToTable", [&] {
        // Containment at character boundaries, as a search in the decoded text finds it; an empty Name is
        // contained in every key.
        if (!text::sjisContains(field(fields, 2), row.Name)) return showKeyMismatch();
        storeItem(fields, row);
    });
}

void SetCsvFile2ToTableMesh(const Fields& fields, MeshLayerDef& row) {
    guarded("SetCsvFile2ToTableMesh", [&] {
        if (field(fields, 2) != row.Name) return showKeyMismatch();
        storeItem(fields, row);
    });
}

}  // namespace velmora::catalogue
