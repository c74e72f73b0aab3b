#include "convert/point/PointProgress.h"

#include "convert/core/ConversionProgress.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

using namespace velmora;

void showWriterProgress(double count) {
    progress::setMaximum(count + count * 0.1);
    progress::setCaption("点データ変換中・・・");
    ui::service().yield();
    progress::setVisible(true);
    ui::service().yield();
}

}  // namespace ModPoint
