#include "platform/text/Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/errors/RunTimeError.h"

namespace velmora::text {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts the whole input; on an unconvertible sequence calls onBad(in, left, out) which may skip
    // input and append a replacement, or return false to give up.
    template <class OnBad>
    bool run(std::string_view input, std::string& out, OnBad onBad) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.clear();
        out.resize(input.size() * 2 + 16);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        size_t produced = 0;
        while (inLeft > 0) {
            char* outPtr = out.data() + produced;
            size_t outLeft = out.size() - produced;
            size_t r = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            produced = out.size() - outLeft;
            if (r != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            out.resize(produced);
            if (!onBad(in, inLeft, out)) return false;
            produced = out.size();
            out.resize(produced + inLeft * 2 + 16);
        }
        out.resize(produced);
        return true;
    }

private:
    iconv_t cd_;
};

Converter& encoder() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}
Converter& decoder() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

// UTF-8 into `out`; false at the first character that has no CP932 form.
bool encodes(std::string_view utf8, std::string& out) {
    return encoder().run(utf8, out, [](char*&, size_t&, std::string&) { return false; });
}

bool asciiOnly(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

std::string toCp932(std::string_view utf8) {
    if (asciiOnly(utf8)) return std::string(utf8);
    std::string out;
    if (!encodes(utf8, out))
        throw RunTimeError(err::TypeMismatch, "Text cannot be written in Shift-JIS: " + std::string(utf8));
    return out;
}

bool hasCp932Form(std::string_view utf8) {
    std::string out;
    return asciiOnly(utf8) || encodes(utf8, out);
}

bool canEncodeCp932(std::string_view utf8) {
    if (asciiOnly(utf8)) return true;
    std::string out;
    if (!encodes(utf8, out)) return false;
    // Some characters share their CP932 code with another one and come back as that one (U+301C WAVE
    // DASH as U+FF5E, U+2212 MINUS SIGN as U+FF0D, ...): a path written with them would name another file.
    return fromCp932(out) == utf8;
}

std::string fromCp932(std::string_view cp932) {
    if (asciiOnly(cp932)) return std::string(cp932);
    std::string out;
    decoder().run(cp932, out, [](char*& in, size_t& left, std::string& o) {
        ++in;
        --left;
        o += "\xEF\xBF\xBD";
        return true;
    });
    return out;
}

}  // namespace velmora::text
