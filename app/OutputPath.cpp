#include "app/OutputPath.h"

#include "convert/shapedesc/ShapeDescriptionBaseName.h"

namespace velmora {

std::string_view outputExtension(DataKind kind) { return kind == DataKind::Attr ? ".dbf" : ".shp"; }

std::string outputBase(const std::string& path, DataKind kind) {
    return shapedesc::outputBaseName(path, outputExtension(kind));
}

std::string completeOutputExtension(const std::string& path, DataKind kind) {
    // The path ends with the extension exactly when the base rule removes something.
    if (outputBase(path, kind).size() != path.size()) return path;
    return path + std::string(outputExtension(kind));
}

}  // namespace velmora
