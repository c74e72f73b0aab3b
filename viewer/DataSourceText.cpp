#include "viewer/DataSourceText.h"

#include <QString>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "platform/errors/RunTimeError.h"
#include "platform/map/CompanionFile.h"
#include "platform/map/ShapeTypes.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"
#include "platform/text/Sjis.h"

namespace velmora::viewer {

namespace {

const char* const kCrLf = "\r\n";
const QString kUndefined = QStringLiteral("未定義");

RunTimeError invalidCall() { return RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument"); }

// The text from 0-based `start` up to the next quotation mark; one that never comes is a failure.
QString upToQuote(const QString& line, qsizetype start) {
    const qsizetype end = start < line.size() ? line.indexOf(QLatin1Char('"'), start) : -1;
    if (end < 0) throw invalidCall();
    return line.mid(start, end - start);
}

// At most kPrjLineLimit bytes of the first line: a .prj that is no projection file (one long line, or
// no line end at all) must not be read whole. A double-byte character cut by the limit is left out.
QString firstLine(const std::string& path) {
    text::LineReader reader(path);
    std::string line;
    reader.next(line, kPrjLineLimit);
    if (line.size() > kPrjLineLimit) line = std::string(text::sjisByteCut(line, 1, kPrjLineLimit));
    return QString::fromStdString(text::fromCp932(line));
}

std::string geometryName(int shapeType) {
    if (shapeType == map::shape::Point || shapeType == map::shape::MultiPoint) return "ポイント";
    if (shapeType == map::shape::Line) return "ライン";
    return "ポリゴン";
}

}  // namespace

std::string layerDataSource(const std::string& shapePath, int shapeType) {
    std::string text;
    text += kCrLf + std::string("データタイプ：シェープファイルフィーチャクラス");
    text += kCrLf + std::string("データソース：") + shapePath;
    text += kCrLf + std::string("ジオメトリタイプ：") + geometryName(shapeType);
    text += std::string(kCrLf) + kCrLf;
    QString system = kUndefined, datum = kUndefined;
    const std::string prj = map::companionFile(shapePath, ".prj");
    if (!prj.empty()) {
        const QString line = firstLine(prj);
        // The name is quoted right after the opening bracket of a line that starts with the keyword.
        if (line.contains(QLatin1String("PROJCS[")) || line.contains(QLatin1String("GEOGCS[")))
            system = upToQuote(line, 8);
        const qsizetype d = line.indexOf(QLatin1String("DATUM["));
        if (d >= 0) datum = upToQuote(line, d + 7);
    }
    text += kCrLf + std::string("座標系：") + system.toStdString();
    text += kCrLf + std::string("測地基準系：") + datum.toStdString();
    return text;
}

std::string tableDataSource(const std::string& tablePath) {
    return kCrLf + std::string("データタイプ：属性テーブル") + kCrLf + "データソース：" + tablePath;
}

void tableFields(const std::string& dbfPath, std::vector<FieldRow>& rows) {
    std::error_code ec;
    if (dbfPath.empty() || !std::filesystem::is_regular_file(dbfPath, ec)) return;
    std::ifstream in(dbfPath, std::ios::binary);
    if (!in) throw RunTimeError(err::PathFileAccessError, "Path/File access error");
    const RunTimeError pastEnd(err::InputPastEndOfFile, "Input past end of file");
    unsigned char head[33];
    if (!in.read(reinterpret_cast<char*>(head), sizeof head)) throw pastEnd;
    const int h = head[8] | (head[9] << 8);
    // Bytes 32 to h of the file; fewer when the file ends before.
    std::string bytes(h >= 32 ? h - 31 : 0, '\0');
    in.seekg(32);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    in.close();
    for (int i = 0; i <= 512 && 32 * i < h - 33; ++i) {
        const std::size_t at = 32 * static_cast<std::size_t>(i);
        if (at + 18 > bytes.size()) throw pastEnd;
        const std::string rawName = bytes.substr(at, 11);
        FieldRow row;
        row.name = text::fromCp932(rawName.substr(0, rawName.find('\0')));
        const char type = bytes[at + 11];
        const int length = static_cast<unsigned char>(bytes[at + 16]);
        const int decimals = static_cast<unsigned char>(bytes[at + 17]);
        const auto numbers = [&](const char* typeName, int places) {
            row.dataType = typeName;
            row.length = row.digits = std::to_string(length);
            row.decimals = std::to_string(places);
        };
        if (type == 'C')
            numbers("String", 0);
        else if (type == 'N' && decimals != 0)
            numbers("Double", decimals);
        else if (type == 'N')
            numbers(length < 5 ? "Short" : "Long", 0);
        rows.push_back(row);
    }
}

}  // namespace velmora::viewer
