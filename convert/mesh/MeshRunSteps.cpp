#include "convert/mesh/MeshRunSteps.h"

#include <cmath>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/LayerDef.h"
#include "convert/line/LineRecords.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"
#include "platform/text/Sjis.h"
#include "platform/ui/UiService.h"

namespace ModMesh {

namespace text = velmora::text;
namespace progress = velmora::progress;
namespace modCommon = velmora::modCommon;

bool DistinctInputFiles(const std::vector<std::string>& files) {
    for (std::size_t i = 0; i < files.size(); ++i)
        for (std::size_t k = i + 1; k < files.size(); ++k)
            if (files[i] == files[k]) {
                modCommon::PutLogFileMsg(modCommon::kFreeLogLine,
                                         text::toCp932("同一入力ファイルが複数指定されています。" + files[i]));
                return false;
            }
    return true;
}

std::string ForeignFileText(const velmora::MeshLayerDef& layer, const std::string& path) {
    return "ファイルの種別が「" + text::fromCp932(layer.Name) + "」ではありません。 (" + path + ")";
}

bool CheckInputHeaders(const std::vector<std::string>& files, const velmora::MeshLayerDef& layer,
                       const std::function<void(std::int32_t records)>& count) {
    for (const std::string& path : files) {
        text::LineReader reader(path);
        std::string line1;
        if (!reader.next(line1)) modCommon::RefuseEmptyInput(path);
        if (!ModLine::HasHeaderKey(line1, layer.HeaderKey)) {
            // A log line and the job's end: the job's own failure box names the file (ForeignFileText).
            modCommon::PutLogFileMsg(modCommon::kFreeLogLine, text::toCp932(ForeignFileText(layer, path)));
            velmora::conversionState().OtherItemInputFiles.push_back(path);
            return false;
        }
        velmora::conversionState().ItemInputFiles.push_back(path);
        count(text::leadingNumber(text::sjisCharCut(line1, 34, 8)));
    }
    return true;
}

void ShowInitialProgress(double records) {
    progress::setMaximum(std::nearbyint(records + records * 0.1));
    progress::setCaption("初期処理中・・・");
    progress::setVisible(true);
    velmora::ui::service().yield();
}

void ResetProgress() {
    progress::setCaption("");
    progress::fill();
    progress::setVisible(false);
}

}  // namespace ModMesh
