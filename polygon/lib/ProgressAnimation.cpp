#include "polygon/lib/ProgressAnimation.h"

#include <algorithm>

namespace ostrand {

void ProgressAnimation::advance(int by) { position_ = std::clamp(position_ + by, 0, maximum_); }

void ProgressAnimation::start(int maximum) {
    maximum_ = std::max(maximum, 0);
    position_ = 0;
    step_ = 100;
    advance(100);
    threshold_ = maximum_ / 2;
    running_ = true;
    advance(step_);
}

void ProgressAnimation::tick() {
    if (!running_) return;
    if (maximum_ - position_ < threshold_) {
        threshold_ /= 2;
        step_ /= 2;
    }
    advance(step_);
}

void ProgressAnimation::stop() { running_ = false; }

std::vector<ProgressAnimation::Frame> ProgressAnimation::finish() {
    std::vector<Frame> frames;
    if (!running_) return frames;
    running_ = false;
    int s = (maximum_ - position_) / 20;
    if (s == 0) s = 1;
    while (position_ < maximum_ - 5) {
        const int step = s == 0 ? 1 : s;
        for (int p = position_; p < maximum_ - s; p += step) {
            advance(step);
            frames.push_back({position_, true});
        }
        s /= 2;
    }
    while (position_ < maximum_) {
        advance(1);
        frames.push_back({position_, false});
    }
    return frames;
}

}  // namespace ostrand
