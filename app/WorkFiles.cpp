#include "app/WorkFiles.h"

#include <filesystem>
#include <string_view>

#include "convert/core/ConversionState.h"

namespace velmora::jobs {

namespace {

bool isWorkFile(std::string_view name) {
    return name.starts_with("MakeShapeFile.fil") ||
           (name.starts_with("xxtmp") && name.find(".mdb") != std::string_view::npos);
}

}  // namespace

void removeWorkFiles() {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (fs::directory_iterator it(programFolder(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code ignored;
        if (isWorkFile(name) && it->is_regular_file(ignored)) fs::remove(it->path(), ignored);
    }
}

}  // namespace velmora::jobs
