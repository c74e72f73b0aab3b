// ostrandrun: runs one job of libOstrand.so as the main program calls it — dlopen of the library in the
// program folder, the export bound by name, no QApplication (boxes go to stderr, questions get No).
//
//   ostrandrun [--program-folder DIR] [--meshes CODES] [--basins CODES] [--stop-before-naming]
//              ITEM FILES OUTPUT LOG
//
// ITEM 0-10 runs Ostrand (CODES of --meshes as its mesh list, none when not given; @FILE reads the list from
// a file, for lists longer than one argument may be); --basins runs
// MakeSyusuiV6 with the catchment codes instead (ITEM is then not used). Prints "status S total T made M incomplete I" and exits
// with the job's status; 125 for a wrong command line or a library that cannot be loaded.
// --stop-before-naming stops the process (SIGSTOP) when the job is about to give its first new file a
// name: everything is written, nothing is in place yet, so a test can kill it at the worst moment.
// The environment variables of tests/tools/killat/KillAt.cpp kill it at a chosen rename or fsync.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "polygon/lib/OstrandExports.h"

namespace {

bool stop_before_naming = false;

int usage(const char* why) {
    std::fprintf(stderr,
                 "ostrandrun: %s\nusage: ostrandrun [--program-folder DIR] [--meshes CODES] [--basins CODES] "
                 "[--stop-before-naming] ITEM FILES OUTPUT LOG\n",
                 why);
    return 125;
}

}  // namespace

// The library names its finished files with linkat; this definition takes the place of the C library's
// for the whole process.
extern "C" int linkat(int olddirfd, const char* oldpath, int newdirfd, const char* newpath, int flags) {
    if (stop_before_naming) {
        stop_before_naming = false;
        std::raise(SIGSTOP);
    }
    return static_cast<int>(::syscall(SYS_linkat, olddirfd, oldpath, newdirfd, newpath, flags));
}

int main(int argc, char** argv) {
    std::string folder = VELMORA_PROGRAM_DIR;
    const char* meshes = nullptr;
    std::string meshesFromFile;
    const char* basins = nullptr;
    std::vector<const char*> args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--program-folder" && has_value) {
            folder = argv[++i];
        } else if (a == "--meshes" && has_value) {
            meshes = argv[++i];
            if (meshes[0] == '@') {
                std::ifstream f(meshes + 1);
                if (!f) return usage("cannot read the mesh list");
                meshesFromFile.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
                while (!meshesFromFile.empty() && (meshesFromFile.back() == '\n' || meshesFromFile.back() == '\r'))
                    meshesFromFile.pop_back();
                meshes = meshesFromFile.c_str();
            }
        } else if (a == "--basins" && has_value) {
            basins = argv[++i];
        } else if (a == "--stop-before-naming") {
            stop_before_naming = true;
        } else if (a.rfind("--", 0) == 0) {
            return usage(("unknown or incomplete switch " + a).c_str());
        } else {
            args.push_back(argv[i]);
        }
    }
    if (args.size() != 4) return usage("ITEM FILES OUTPUT LOG are needed");

    void* lib = ::dlopen((folder + "/libOstrand.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) return usage(::dlerror());
    std::int32_t total = 0, made = 0, incomplete = 0, rural = 0;
    std::int16_t status;
    if (basins) {
        auto run = reinterpret_cast<MakeSyusuiV6Function>(::dlsym(lib, "MakeSyusuiV6"));
        if (!run) return usage("MakeSyusuiV6 not found");
        status = run(basins, args[1], args[2], args[3], &total, &made, &incomplete);
    } else {
        auto run = reinterpret_cast<OstrandFunction>(::dlsym(lib, "Ostrand"));
        if (!run) return usage("Ostrand not found");
        status = run(static_cast<std::int16_t>(std::atoi(args[0])), args[1], args[2], args[3], meshes, &total, &made,
                     &incomplete, &rural);
    }
    std::printf("status %d total %d made %d incomplete %d\n", status, total, made, incomplete);
    return status;
}
