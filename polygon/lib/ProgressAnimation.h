#pragma once
// The progress bar of the polygon job as a model without time: the dialog calls tick() every tenth of a
// second while the animation runs and plays the frames of finish() five milliseconds apart. The work
// gives no measure of its own progress, so the bar moves 100 units per tick up to half-way and then
// halves its speed each time the remaining distance falls below the halved threshold; it never reaches
// the end by itself. Positions stay within 0..maximum.
#include <vector>

namespace ostrand {

class ProgressAnimation {
public:
    struct Frame {
        int position;
        bool pause;  // followed by a 5 ms pause; the closing unit steps are not
    };

    int maximum() const { return maximum_; }
    int position() const { return position_; }
    bool running() const { return running_; }

    // Range 0..maximum, position 0; then the animation's own start: position 100, step 100, threshold
    // maximum / 2, and the first step.
    void start(int maximum);
    // A tenth of a second has passed: slow down when the remaining distance fell below the threshold,
    // then step again while running.
    void tick();
    // Stops where the bar stands; nothing when no animation runs.
    void stop();
    // Stops and runs the bar to its maximum in ever smaller steps, then one unit at a time; the positions
    // it takes in order. Nothing when no animation runs.
    std::vector<Frame> finish();

private:
    void advance(int by);

    int maximum_ = 100;
    int position_ = 0;
    int step_ = 1;
    int threshold_ = 0;
    bool running_ = false;
};

}  // namespace ostrand
