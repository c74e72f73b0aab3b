// A small program for the runner's tests. What it does comes from its first argument or, when it has none
// (the runner passes none to the shape writer), from the environment variable VELMORA_CHILD:
//   exit N     exit with code N
//   sleep MS   sleep, then exit 0
//   signal N   kill itself with signal N
//   pipe       write to a closed pipe (SIGPIPE must have its default action)
//   stderr N   write N bytes to standard error, the last four "end\n", in pieces; then exit 3
// When VELMORA_CHILD_PIDFILE names a file, the program first writes its process id there.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv) {
    if (const char* pidFile = std::getenv("VELMORA_CHILD_PIDFILE")) {
        if (std::FILE* f = std::fopen(pidFile, "w")) {
            std::fprintf(f, "%ld\n", static_cast<long>(getpid()));
            std::fclose(f);
        }
    }
    std::string what = argc > 2 ? std::string(argv[1]) + " " + argv[2] : "";
    if (what.empty() && std::getenv("VELMORA_CHILD")) what = std::getenv("VELMORA_CHILD");
    const auto blank = what.find(' ');
    const std::string verb = what.substr(0, blank);
    const long n = blank == std::string::npos ? 0 : std::strtol(what.c_str() + blank + 1, nullptr, 10);
    if (verb == "exit") return static_cast<int>(n);
    if (verb == "sleep") {
        std::this_thread::sleep_for(std::chrono::milliseconds(n));
        return 0;
    }
    if (verb == "signal") {
        std::raise(static_cast<int>(n));
        return 100;
    }
    if (verb == "pipe") {
        int fds[2];
        if (pipe(fds) != 0) return 101;
        close(fds[0]);
        (void)!write(fds[1], "x", 1);
        return 102;  // reached only when SIGPIPE was ignored
    }
    if (verb == "stderr") {
        std::string text(static_cast<std::size_t>(n), 'x');
        if (n >= 4) text.replace(text.size() - 4, 4, "end\n");
        for (std::size_t done = 0; done < text.size(); done += 1000) {
            (void)!write(2, text.data() + done, std::min<std::size_t>(1000, text.size() - done));
            if (done % 50000 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return 3;
    }
    std::fprintf(stderr, "unknown: %s\n", what.c_str());
    return 99;
}
