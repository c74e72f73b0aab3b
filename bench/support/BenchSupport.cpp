#include "bench/support/BenchSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace velmora::bench {

double seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

void readRunsAndScale(int argc, char** argv, int& runs, double& scale) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
        else if (a == "--scale") scale = std::atof(argv[i + 1]);
    }
}

double median(std::vector<double> figures) {
    if (figures.empty()) return 0;
    std::sort(figures.begin(), figures.end());
    return figures[figures.size() / 2];
}

double millis(const std::function<void()>& work) {
    const auto t0 = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double medianMillis(const std::function<void()>& work, int runs) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) t.push_back(millis(work));
    return median(t);
}

namespace {

// The resident high-water mark of a running process (kB), or -1 once it is gone.
long highWaterMark(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

}  // namespace

ChildRun runChild(const std::vector<std::string>& argv, const ChildOptions& options) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!options.folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, options.folder.c_str());
    if (!options.log.empty()) {
        posix_spawn_file_actions_addopen(&actions, 1, options.log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    } else {
        if (options.quietOutput) posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        if (options.quietErrors) posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    ChildRun r;
    const auto start = Clock::now();
    pid_t pid = 0;
    r.started = (options.searchPath ? posix_spawnp : posix_spawn)(&pid, args[0], &actions, nullptr, args.data(),
                                                                  environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (r.started) {
        int status = 0;
        rusage usage{};
        while (options.watchPeak && ::wait4(pid, &status, WNOHANG, &usage) == 0) {
            r.peakKb = std::max(r.peakKb, highWaterMark(pid));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (!options.watchPeak) {
            ::wait4(pid, &status, 0, &usage);
            r.peakKb = usage.ru_maxrss;
        }
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    r.seconds = seconds(start, Clock::now());
    return r;
}

void installPairCollectingStandIn(const std::filesystem::path& program) {
    const std::filesystem::path p = program / "Brunhale";
    std::ofstream(p, std::ios::trunc) << "#!/bin/sh\nd=$(dirname \"$0\")\nn=$(ls \"$d\"/pairs | wc -l)\n"
                                         "mkdir \"$d/pairs/$n\"\n"
                                         "mv \"$d/MakeShapeFile.fil_H\" \"$d/MakeShapeFile.fil_D\" \"$d/pairs/$n/\"\n";
    ::chmod(p.c_str(), 0755);
}

}  // namespace velmora::bench
