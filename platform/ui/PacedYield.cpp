#include "platform/ui/PacedYield.h"

#include "platform/ui/UiService.h"

namespace velmora::ui {

void PacedYield::operator()() {
    const Clock::time_point now = Clock::now();
    if (now - last_ < interval_) return;
    service().yield();
    // Measured after the turn, so that a slow turn (a repaint) does not make the next one due at once.
    last_ = Clock::now();
}

}  // namespace velmora::ui
