#include "app/OutputChecks.h"

#include <unistd.h>

#include <exception>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "app/CheckLayer.h"
#include "convert/core/ConversionState.h"
#include "app/MeshConversion.h"
#include "app/OutputPath.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace velmora::modCommon {

namespace fs = std::filesystem;

namespace {

// A file (not a folder) is there.
bool fileExists(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(fs::path(path), ec);
    return !ec && fs::exists(st) && !fs::is_directory(st);
}

bool folderExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(fs::path(path), ec);
}

// The folder of a path: the text before its last "/" ("/" itself for a file in the root), empty when the
// path has no "/".
std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The Linux meaning of "the drive is not read-only": the user may create files in the folder. A relative
// path has no drive: that is a run-time error, as for a path without a drive part.
bool folderWritable(const std::string& outputPath, const std::string& folder) {
    if (outputPath.empty() || outputPath.front() != '/')
        throw RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument");
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string listed(const std::string& head, const std::vector<std::string>& files) {
    std::string text = head;
    for (const std::string& f : files) text += "\r\n" + f;
    return text;
}

// The shapefiles a job of the selected kind and row writes besides (or instead of) the chosen one, or
// none when the single-file check applies.
struct Written {
    bool single = true;
    std::vector<std::string> suffixes;
};

Written writtenFiles(ConversionState& s, std::int16_t pointOption, std::int16_t lineOption) {
    switch (s.SelectedKind) {
        case DataKind::Line:
            if (s.SelectedIndex == 26) return {false, {".shp", "_駅名.shp"}};
            return {};
        case DataKind::Area: {
            Written w{false, {".shp"}};
            if (pointOption == 1) w.suffixes.push_back("_P.shp");
            if (lineOption == 1) w.suffixes.push_back("_L.shp");
            return w;
        }
        case DataKind::Mesh:
            if (isFourWayMesh(layerRow(s.MeshLayers, s.SelectedIndex)))
                return {false, {"1.shp", "2.shp", "3.shp", "4.shp"}};
            return {};
        default:
            return {};
    }
}

std::int16_t listCheck(const std::string& base, const std::vector<std::string>& suffixes) {
    std::vector<std::string> existing, onMap;
    bool failed = false;
    for (const std::string& suffix : suffixes)
        if (ChkColOutPutFilePath(base + suffix, existing, onMap) != 0) failed = true;
    if (!onMap.empty()) {
        ui::message(listed("既にマップに下記のシェープファイルが追加されているため上書きできません", onMap),
                    "指定エラー", ui::Icon::Exclamation);
        return -1;
    }
    if (!existing.empty()) {
        const ui::Answer a = ui::message(listed("既に下記のシェープファイルが存在します、上書きしますか？", existing),
                                         "名前を付けて保存", ui::Icon::Exclamation, ui::Buttons::YesNo);
        return a == ui::Answer::Yes ? 0 : -1;
    }
    return failed ? -1 : 0;
}

}  // namespace

std::int16_t ChkOutPutFilePath(const std::string& outputPath, std::int16_t pointOption,
                               std::int16_t lineOption) {
    try {
        ConversionState& s = conversionState();
        const std::string folder = folderOf(outputPath);
        if (!folderExists(folder)) {
            ui::message("保存先のフォルダが存在しません\r\n" + folder, "指定エラー", ui::Icon::Exclamation);
            return -1;
        }
        if (!folderWritable(outputPath, folder)) {
            ui::message("指定された出力先に書き込み権限がありません、出力先を指定し直して下さい", "指定エラー",
                        ui::Icon::Exclamation);
            return -1;
        }
        if (s.SelectedKind == DataKind::Attr) return 0;
        const std::string base = outputBase(outputPath, s.SelectedKind);
        const Written w = writtenFiles(s, pointOption, lineOption);
        if (w.single) return ChkNomalOutPutFilePath(base + std::string(outputExtension(s.SelectedKind)));
        if (s.SelectedKind == DataKind::Mesh)
            ui::message("波向・海霧・自然漁場メッシュは指定ファイル名の末尾に１～４（春夏秋冬）の数字が付加され４シェープファイルが作成されます",
                        "通知", ui::Icon::Information);
        return listCheck(base, w.suffixes);
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModCommon (ChkOutPutFilePath)");
        return -1;
    }
}

std::int16_t ChkNomalOutPutFilePath(const std::string& path) {
    try {
        if (checkLayer(mainMap(), path)) {
            ui::message("既にマップに追加されているシェープファイルは上書きできません。", "ｴﾗｰﾒｯｾｰｼﾞ",
                        ui::Icon::Exclamation);
            return -1;
        }
        if (fileExists(path)) {
            const ui::Answer a = ui::message("既にシェープファイルが存在します、上書きしますか？", "名前を付けて保存",
                                             ui::Icon::Exclamation, ui::Buttons::YesNo);
            return a == ui::Answer::Yes ? 0 : -1;
        }
        return 0;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModCommon (ChkNomalOutPutFilePath)");
        return -1;
    }
}

std::int16_t ChkColOutPutFilePath(const std::string& path, std::vector<std::string>& existing,
                                  std::vector<std::string>& onMap) {
    try {
        if (fileExists(path)) {
            existing.push_back(path);
            if (checkLayer(mainMap(), path)) onMap.push_back(path);
        }
        return 0;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModCommon (ChkColOutPutFilePath)");
        return -1;
    }
}

bool FilePathCheck(const std::string& path) {
    try {
        const auto slash = path.rfind('/');
        const auto dot = path.rfind('.');
        // A path with neither a folder nor an extension gives no name to cut.
        if (slash == std::string::npos && dot == std::string::npos)
            throw RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument");
        const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
        const std::size_t end = (dot != std::string::npos && dot >= start) ? dot : path.size();
        std::string name = path.substr(start, end - start);
        // Thousands separators count as part of a number ("1,234").
        std::erase(name, ',');
        return text::isNumeric(name);
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModCommon (FilePathCheck)");
        return true;
    }
}

}  // namespace velmora::modCommon
