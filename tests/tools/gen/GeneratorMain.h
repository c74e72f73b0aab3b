#pragma once
// The command line of a generator tool "NAME OUT [options]": without OUT the usage line and exit code 2;
// each switch after OUT handed to `option`, which takes its value through `next` ("SWITCH needs a value"
// when there is none) and gives false for a switch it does not know; then `run(OUT)`. Any failure is
// printed as "NAME: what" with exit code 1.
#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

namespace velmora::gen {

using NextValue = std::function<std::string()>;

inline int runGenerator(const char* name, int argc, char** argv,
                        const std::function<bool(const std::string& sw, const NextValue& next)>& option,
                        const std::function<void(const std::string& out)>& run) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT [options]\n", name);
        return 2;
    }
    const std::string out = argv[1];
    try {
        for (int i = 2; i < argc; ++i) {
            const std::string a = argv[i];
            const NextValue next = [&]() -> std::string {
                if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
                return argv[++i];
            };
            if (!option(a, next)) throw std::invalid_argument("unknown switch " + a);
        }
        run(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", name, e.what());
        return 1;
    }
    return 0;
}

}  // namespace velmora::gen
