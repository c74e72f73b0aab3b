#include "convert/shapedesc/ShapeDescriptionFiles.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/errors/RunTimeError.h"

namespace velmora::shapedesc {

namespace {

[[noreturn]] void accessError() { throw RunTimeError(err::PathFileAccessError, "Path/File access error"); }
[[noreturn]] void notFound() { throw RunTimeError(err::FileNotFound, "File not found"); }

}  // namespace

std::string programFile(std::string_view name) { return programFolder() + "/" + std::string(name); }

std::string descriptionPath(std::string_view suffix) { return programFile("MakeShapeFile.fil" + std::string(suffix)); }

void openPair() {
    ConversionState& s = conversionState();
    s.FilHFileNo.open(headerFilePath(), text::LineWriter::Mode::Replace);
    s.FilDFileNo.open(coordinateFilePath(), text::LineWriter::Mode::Replace);
}

void openDescriptionFile(WriterSlot& slot, std::string_view suffix) {
    slot.open(descriptionPath(suffix), text::LineWriter::Mode::Replace);
}

void closePair() {
    ConversionState& s = conversionState();
    // The coordinate file is closed even when closing the header file reports an error.
    try {
        s.FilHFileNo.close();
    } catch (...) {
        s.FilDFileNo.closeQuietly();
        throw;
    }
    s.FilDFileNo.close();
}

void deleteDescriptionFile(std::string_view suffix) {
    std::string path = descriptionPath(suffix);
    if (std::remove(path.c_str()) != 0 && errno != ENOENT) accessError();
}

void deletePair() {
    deleteDescriptionFile(HeaderSuffix);
    deleteDescriptionFile(CoordinateSuffix);
}

void moveOntoHeaderFile(std::string_view suffix) {
    std::string from = descriptionPath(suffix);
    if (std::rename(from.c_str(), headerFilePath().c_str()) != 0) {
        if (errno == ENOENT) notFound();
        accessError();
    }
}

void copyPairOnto(int k) {
    namespace fs = std::filesystem;
    std::string digit = std::to_string(k);
    for (std::string_view suffix : {HeaderSuffix, CoordinateSuffix}) {
        std::string from = descriptionPath(std::string(suffix) + digit);
        std::error_code ec;
        fs::copy_file(from, descriptionPath(suffix), fs::copy_options::overwrite_existing, ec);
        if (ec) {
            if (ec == std::errc::no_such_file_or_directory && !fs::exists(from)) notFound();
            accessError();
        }
    }
}

}  // namespace velmora::shapedesc
