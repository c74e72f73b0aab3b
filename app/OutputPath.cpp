#include "app/OutputPath.h"

#include <strings.h>

namespace velmora {

namespace {

bool endsWithNoCase(std::string_view s, std::string_view tail) {
    // Only ASCII letters can match the extension, so the C library's comparison is enough.
    return s.size() >= tail.size() &&
           ::strncasecmp(s.data() + s.size() - tail.size(), tail.data(), tail.size()) == 0;
}

}  // namespace

std::string_view outputExtension(DataKind kind) { return kind == DataKind::Attr ? ".dbf" : ".shp"; }

std::string completeOutputExtension(const std::string& path, DataKind kind) {
    const std::string_view ext = outputExtension(kind);
    if (endsWithNoCase(path, ext)) return path;
    return path + std::string(ext);
}

std::string outputBase(const std::string& path, DataKind kind) {
    const std::string_view ext = outputExtension(kind);
    if (!endsWithNoCase(path, ext)) return path;
    return path.substr(0, path.size() - ext.size());
}

}  // namespace velmora
