#pragma once
// A yield for loops that would yield after every line or record they read. Each turn of the message loop
// costs a system call and the event dispatcher's locking, several microseconds: at one per line that is a
// sizeable share of a fast job. PacedYield lets the loop run only when `interval` has passed since its last
// turn, so the window is still served many times a second while the job runs (events wait at most the
// interval, which no user can tell apart from a turn per line).
#include <chrono>

namespace velmora::ui {

class PacedYield {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kDefaultInterval = std::chrono::milliseconds(10);

    explicit PacedYield(Clock::duration interval = kDefaultInterval) : interval_(interval), last_(Clock::now()) {}

    // Yields through the service when the interval has passed since the last turn (or the construction).
    void operator()();

private:
    Clock::duration interval_;
    Clock::time_point last_;
};

}  // namespace velmora::ui
