#pragma once
// The Japanese descriptions of the run-time errors, the one place their texts are kept. A thrower names
// the error by its number and the classic English description, optionally followed by a detail (a path,
// a field, the engine's own message); the description shown is the Japanese text of that wording with
// the detail after it in full-width parentheses.
#include <string>
#include <string_view>
#include <vector>

namespace velmora::errors {

// One wording of an error. A "*" in the English text stands for a name inside it (a table, a file); the
// Japanese text takes the same name at its own "*". The first wording of a number is its plain description.
struct Wording {
    int number;
    const char* english;
    const char* japanese;
};

// Every wording the program can raise, grouped by number.
const std::vector<Wording>& wordings();

// The description for `text` raised as error `number`. A text already in Japanese is kept; one in no known
// wording becomes the number's plain description with the text as its detail; a number without any
// wording gets the text of an error the program defines itself. Number 0 keeps its text as it stands.
std::string describe(int number, std::string_view text);

}  // namespace velmora::errors
