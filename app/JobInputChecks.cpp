#include "app/JobInputChecks.h"

#include <QLineEdit>
#include <filesystem>
#include <string>

#include "app/OutputChecks.h"
#include "app/OutputPath.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace velmora {

namespace {

bool refuse(const char* text) {
    ui::message(text, "ﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
    return false;
}

}  // namespace

bool checkJobInputs(bool inputGiven, QLineEdit& output, DataKind kind) {
    if (!inputGiven) return refuse("変換元の入力ファイル名を指定してください。");
    if (output.text().isEmpty()) return refuse("出力先のファイル名を指定してください。");
    const std::string path = completeOutputExtension(output.text().toStdString(), kind);
    output.setText(QString::fromStdString(path));
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return refuse("出力先のフォルダが存在しません");
    std::error_code ec;
    if (!std::filesystem::is_directory(slash == 0 ? std::string("/") : path.substr(0, slash), ec))
        return refuse("出力先のフォルダが存在しません");
    if (modCommon::FilePathCheck(path)) {
        refuse("数字のみの出力ファイル名は指定できません。");
        output.setFocus();
        output.setSelection(0, static_cast<int>(output.text().size()));
        return false;
    }
    if (!text::canEncodeCp932(path)) {
        ui::message("出力ファイル名に使用できない文字が含まれています。", "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
        return false;
    }
    return true;
}

}  // namespace velmora
