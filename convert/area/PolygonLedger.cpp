#include "convert/area/PolygonLedger.h"

#include "convert/area/PolygonErrors.h"
#include "convert/area/PolygonLoader.h"
#include "convert/core/ConversionState.h"
#include "convert/line/LineInput.h"
#include "convert/line/LineLoaderSteps.h"
#include "convert/line/LineRecords.h"
#include "platform/db/Appender.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/Sjis.h"

namespace velmora::ModPolygon {

AreaLedgerReader::AreaLedgerReader(int row, const LayerDef& layer) : row_(row) {
    const std::string division = text::toCp932("区分"), district = text::toCp932("地区番号");
    const std::string prefecture = text::toCp932("都道府県CD"), municipality = text::toCp932("市区町村CD");
    for (std::size_t i = 1; i <= static_cast<std::size_t>(layer.ItemCount); ++i) {
        const std::string& name = layer.ItemName.at(i);
        Derived d = Derived::None;
        if (row == kResortRow && name == division) d = Derived::Division;
        else if (row == kResortRow && name == district) d = Derived::DistrictNumber;
        else if (row == kBoundaryRow && name == prefecture) d = Derived::PrefectureCode;
        else if (row == kBoundaryRow && name == municipality) d = Derived::MunicipalityCode;
        items_.push_back({text::fromCp932(name), layer.ItemType.at(i) == "Text", d, layer.ItemWidth.at(i)});
    }
}

void AreaLedgerReader::readItems(std::string_view first, db::Appender& ledger) const {
    ledger.newRow();
    ModLine::StoreColumns(ledger, first, ModLine::LineLedgerColumns());
    // Both were stored above, so they read as 32-bit numbers.
    const std::int32_t attribute = text::cLng(ModLine::CharColumns(first, 4, 10));
    const std::int32_t lineCount = text::cLng(ModLine::CharColumns(first, 14, 3));

    std::string second;
    std::string_view line = first;
    long p = 17;
    auto numeric = [&](const Item& item) {
        ledger.setIfNumeric(item.field, ModLine::CharColumns(line, p, item.width));
        p += item.width;
    };
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (item.text) {
            // A text spans the characters its width in bytes holds: one column per double-byte character
            // less than its width, and none less for a half-width one ("第2地区" padded to 20 bytes spans 17).
            const std::string_view bytes = text::sjisByteCut(ModLine::CharColumns(line, p, -1), 1, item.width);
            const std::string_view s = text::trimBlanks(bytes);
            if (s.empty()) {
                p += item.width;
            } else {
                ledger.set(item.field, s);
                p += static_cast<long>(text::sjisCharCount(bytes));
            }
        } else if (item.derived == Derived::Division) {
            if (lineCount > 1) ledger.set(item.field, 2);
            else if (lineCount == 1) ledger.set(item.field, 1);
        } else if (item.derived == Derived::DistrictNumber) {
            ledger.set(item.field, attribute % 100);
        } else if (item.derived == Derived::PrefectureCode) {
            ledger.set(item.field, attribute / 1000);
        } else if (item.derived == Derived::MunicipalityCode) {
            ledger.set(item.field, attribute % 1000);
        } else {
            numeric(item);
        }
        // The resort item's record goes on with its second line after the fifth item, or ends there.
        if (row_ == kResortRow && i + 1 == 5) {
            if (lineCount <= 1) break;
            ModLine::ReadInputLine(second);
            line = second;
            p = 1;
        }
    }
    ledger.save();
}

bool AreaLedgerReader::read(std::string_view line, db::Appender& ledger) const {
    try {
        readItems(line, ledger);
        return true;
    } catch (const RunTimeError& e) {
        // The first record of an attribute number is the one kept.
        if (e.number() == err::DuplicateKey) return true;
        ui::showRunTimeError(e, errorTitle("SetTextToTbl_Area"));
        return false;
    }
}

bool SetTextToTbl_Area(std::string_view line, db::Appender& ledger) {
    bool ok = false;
    const bool prepared = guardedProcedure("SetTextToTbl_Area", [&] {
        auto& s = conversionState();
        ok = AreaLedgerReader(s.SelectedIndex, layerRow(s.PolygonLayers, s.SelectedIndex)).read(line, ledger);
        return true;
    });
    return prepared && ok;
}

}  // namespace velmora::ModPolygon
