#include "viewer/clsPanTool.h"

#include "viewer/MapPan.h"

void clsPanTool::pMap_MouseDown(int button, int shift, int, int) {
    if (button == velmora::map::button::Left && shift == 0) velmora::modCommon::MapPan(pMap, button);
}
