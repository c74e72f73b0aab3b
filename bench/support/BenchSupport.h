#pragma once
// What the benchmarks share: the median of repeated runs, a program run with its exit code, wall time and
// peak resident memory, and a stand-in Brunhale that sets each pair aside so that writing is timed alone.
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velmora::bench {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to);

// "--runs N" (at least 1) and "--scale F" from the command line, as switch and value pairs; other switches
// are passed over.
void readRunsAndScale(int argc, char** argv, int& runs, double& scale);

// The middle of the sorted figures (the upper one of an even count); 0 of none.
double median(std::vector<double> figures);

// The wall time of one call of `work`, in milliseconds; the median of `runs` such calls.
double millis(const std::function<void()>& work);
double medianMillis(const std::function<void()>& work, int runs);

struct ChildRun {
    bool started = false;
    int exitCode = -1;  // -1 when not started or not ended by exit
    double seconds = 0;
    long peakKb = 0;
};

struct ChildOptions {
    std::filesystem::path folder;  // working folder; empty: this process's
    bool quietOutput = true;       // standard output to /dev/null
    bool quietErrors = false;      // standard error to /dev/null
    std::string log;               // when given: output and errors appended to this file instead
    bool searchPath = false;       // argv[0] looked up in PATH
    // The program's own peak read from /proc while it runs, for a program with children of its own (wait4
    // would fold their peaks into it); otherwise wait4's.
    bool watchPeak = false;
};

// Starts argv[0] with `argv` and waits for it.
ChildRun runChild(const std::vector<std::string>& argv, const ChildOptions& options = {});

// A "Brunhale" in the program folder that moves each pair it is given to pairs/N/ (the folder "pairs" must
// exist), N counting from 0.
void installPairCollectingStandIn(const std::filesystem::path& program);

}  // namespace velmora::bench
