#include "convert/point/PointCsv.h"

#include <span>
#include <string_view>

#include "convert/attr/AttrRecords.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/RunningNumber.h"
#include "convert/point/CsvItemLayout.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointNumberFit.h"
#include "convert/point/PointProgress.h"
#include "convert/point/PointRecords.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/LineReader.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

using namespace velmora;

namespace {

// A field that begins and ends with a quotation mark, without them.
std::string_view unquoted(std::string_view field) {
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') return field.substr(1, field.size() - 2);
    return field;
}

// The fields of one line, 1-based through field(); a number beyond them is run-time error 9.
class Fields {
public:
    void split(std::string_view line, char separator) {
        splitAt(line, separator, fields_);
        for (std::string_view& f : fields_) f = unquoted(f);
    }
    std::string_view field(std::int32_t n) const {
        if (n < 1 || static_cast<std::size_t>(n) > fields_.size())
            throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
        return fields_[static_cast<std::size_t>(n - 1)];
    }

private:
    std::vector<std::string_view> fields_;
};

long countLines(const std::string& path) {
    text::LineReader in(path);
    std::string line;
    long n = 0;
    while (in.next(line)) ++n;
    return n;
}

// The value of one written item; joined values are built in `joined`, which must outlive the use.
std::string_view itemValue(const Fields& fields, std::int32_t source, const SubFieldSpec& spec, bool textItem,
                           std::string& joined) {
    switch (spec.form) {
        case SubFieldSpec::Form::Whole: return fields.field(source);
        case SubFieldSpec::Form::Bytes: {
            // The length is checked in bytes, as the cut counts them: counting characters would leave a
            // Japanese value empty that the cut can take.
            const std::string_view s = fields.field(source);
            if (static_cast<long>(s.size()) < static_cast<long>(spec.start) + spec.length - 1) return {};
            return modCommon::MidByteSjis(s, spec.start, spec.length);
        }
        case SubFieldSpec::Form::Joined:
            if (!textItem) return {};
            joined.clear();
            for (std::int32_t c : spec.columns) joined += text::trimBlanks(fields.field(c));
            return joined;
        case SubFieldSpec::Form::None: break;
    }
    return {};
}

}  // namespace

bool ChkMakePoint_FileType(const std::vector<std::string>& files) {
    ConversionState& s = conversionState();
    s.InputFileFormat = files.empty() ? modCommon::FileFormat::Unknown : modCommon::ChkFileFormat(files.front());
    // A file of no format (missing, no regular file, empty) has had its own box.
    if (s.InputFileFormat == modCommon::FileFormat::Unknown) return false;
    for (std::size_t i = 1; i < files.size(); ++i) {
        const std::int16_t format = modCommon::ChkFileFormat(files[i]);
        if (format == modCommon::FileFormat::Unknown) return false;
        if (format != s.InputFileFormat) {
            modCommon::ShowInputRefusal("Text形式のファイルとCSV形式のファイルが混在しています。\r"
                                        "フィールド情報が異なるので形式が同一のもののみ選択してください。",
                                        "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
            return false;
        }
    }
    return true;
}

bool MakeShapePointFileCSV(const std::string& path, std::int32_t& pointNumber) {
    ConversionState& s = conversionState();
    try {
        const LayerDef& layer = selectedPointLayer();
        const CsvItemLayout layout = readCsvItemLayout(layer, s.AppFolder + kCsvItemLayoutFile);
        const double lines = static_cast<double>(countLines(path));
        showWriterProgress(lines);

        struct WrittenItem {
            std::int32_t source;
            const SubFieldSpec* spec;
            bool text;
        };
        std::vector<SubFieldSpec> specs;
        for (const std::string& spec : layout.SubFieldSpecs) specs.push_back(parseSubFieldSpec(spec));
        std::vector<WrittenItem> written;
        for (int i = 1; i <= layer.ItemCount; ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (layer.ItemOutput.at(k))
                written.push_back({layout.SourceColumns[k - 1], &specs[k - 1],
                                   ModAttr::isTextItem(layer.ItemType.at(k))});
        }
        const char separator = s.InputFileFormat == modCommon::FileFormat::Tab ? '\t' : ',';
        text::LineReader& in = s.InFileNo.open(path);
        // A delimited file has no header to tell its item: it counts as one of the item once it is read.
        s.ItemInputFiles.push_back(path);
        text::LineWriter& h = s.FilHFileNo.file();
        text::LineWriter& d = s.FilDFileNo.file();
        std::string line;
        in.next(line);  // the heading line
        Fields fields;
        std::vector<std::string_view> values;
        std::vector<std::string> joined(written.size());
        while (in.next(line)) {
            progress::step();
            if (text::trimBlanks(line).empty()) continue;
            fields.split(line, separator);
            shapedesc::writeLinkIdx(d, pointNumber);
            shapedesc::writeLinkData(d, text::trimBlanks(unquoted(text::trimBlanks(fields.field(layout.XColumn)))),
                                     text::trimBlanks(unquoted(text::trimBlanks(fields.field(layout.YColumn)))));
            shapedesc::writeLinkNo(h, pointNumber);
            values.clear();
            for (std::size_t w = 0; w < written.size(); ++w)
                values.push_back(itemValue(fields, written[w].source, *written[w].spec, written[w].text, joined[w]));
            fitNumbers(layer, 1, layer.ItemCount, values, inputRecord);
            trimJoinedEnds(values);
            shapedesc::writeDbfItem(h, std::span<const std::string_view>(values));
            ModLine::incremented(pointNumber);
        }
        s.InFileNo.close();
        return true;
    } catch (const std::exception& e) {
        s.InFileNo.closeQuietly();
        ui::showError(e, "Error: ModPoint (ModPoint MakeShapePointFileCSV)");
        return false;
    }
}

}  // namespace ModPoint
