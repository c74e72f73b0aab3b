#pragma once
// Why a run of Brunhale failed. Each reason has its own exit code so that a caller (or a person reading a
// log) can tell them apart; the text is the one line printed on stderr.
#include <stdexcept>
#include <string>

namespace velmora::brunhale {

enum class ExitCode : int {
    Ok = 0,
    Internal = 1,      // an error the program did not foresee
    PairMissing = 2,   // the header or coordinate file is missing or unreadable
    Malformed = 3,     // a line of the pair cannot be understood; the message names file and line
    NotWritable = 4,   // an output file cannot be created, written, closed or put in place
    TooLarge = 5,      // an output would exceed the size limit of its format
};

class Failure : public std::runtime_error {
public:
    Failure(ExitCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
    ExitCode code() const { return code_; }

private:
    ExitCode code_;
};

// A line of the pair that cannot be used: the message names the file and the line.
[[noreturn]] inline void malformedAt(const char* file, long line, const std::string& what) {
    throw Failure(ExitCode::Malformed, std::string(file) + " line " + std::to_string(line) + ": " + what);
}

}  // namespace velmora::brunhale
