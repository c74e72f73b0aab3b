// Brunhale: turns the intermediate shape description beside it into a shapefile or dBASE table.
// No arguments; exit code 0 when every output file was written and closed, otherwise the code of the
// failure (Failure.h) and one line on stderr saying why.
// "--settle": writes nothing, only settles what a killed run left of the output the pair names (the earlier
// output back whole, or the new one whole); the caller of a run that a signal ended asks for it at once.
#include <cstdio>
#include <exception>
#include <string>

#include "brunhale/Failure.h"
#include "brunhale/PairConversion.h"

namespace {

int fail(int code, std::string message) {
    for (char& c : message)
        if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "Brunhale: %s\n", message.c_str());
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora::brunhale;
    try {
        if (argc == 2 && std::string(argv[1]) == "--settle") settleOutput(programFolder());
        else convertPair(programFolder());
        return static_cast<int>(ExitCode::Ok);
    } catch (const Failure& f) {
        return fail(static_cast<int>(f.code()), f.what());
    } catch (const std::exception& e) {
        return fail(static_cast<int>(ExitCode::Internal), std::string("internal error: ") + e.what());
    }
}
