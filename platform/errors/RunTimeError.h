#pragma once
// The one run-time error of the program: an error number (borrowed from the classic runtime where one
// fits) and a description. Procedures that own an error box catch it and show "number description".
// The thrower gives the classic English wording (and any detail after it); the description is its
// Japanese text from the one table of descriptions (ErrorDescriptions.h), which what() gives as well.
#include <stdexcept>
#include <string>

#include "platform/errors/ErrorDescriptions.h"

namespace velmora {

class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int number, const std::string& wording)
        : std::runtime_error(errors::describe(number, wording)), number_(number) {}
    int number() const { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

// Error numbers in use, with the English wording that throwers give.
namespace err {
inline constexpr int InvalidProcedureCall = 5;   // "Invalid procedure call or argument"
inline constexpr int Overflow = 6;               // "Overflow"
inline constexpr int SubscriptOutOfRange = 9;    // "Subscript out of range"
inline constexpr int TypeMismatch = 13;          // "Type mismatch"
inline constexpr int BadFileNameOrNumber = 52;   // "Bad file name or number"
inline constexpr int FileNotFound = 53;          // "File not found"
inline constexpr int DeviceIoError = 57;         // "Device I/O error"
inline constexpr int InputPastEndOfFile = 62;    // "Input past end of file"
inline constexpr int PathFileAccessError = 75;   // "Path/File access error"
inline constexpr int PathNotFound = 76;          // "Path not found"
inline constexpr int DuplicateKey = 3022;        // duplicate value in a unique index
// An input the program refuses by its own rule (no regular file, a line too long or not CP932): the
// description is a whole Japanese message naming the file and line, shown without a number.
inline constexpr int InputRefused = 0;
}  // namespace err

}  // namespace velmora
