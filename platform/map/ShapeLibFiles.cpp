#include "platform/map/ShapeLibFiles.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace velmora::map {

namespace {

thread_local ShapeLibFiles::Paths* current = nullptr;

SAFile openMapped(const char* name, const char* access) {
    if (!current || !name) return nullptr;
    const std::size_t n = std::strlen(name);
    if (n < 4) return nullptr;
    const char* ext = name + n - 4;
    const std::string* target = nullptr;
    if (strcasecmp(ext, ".shp") == 0) target = &current->shp;
    else if (strcasecmp(ext, ".shx") == 0) target = &current->shx;
    else if (strcasecmp(ext, ".dbf") == 0) target = &current->dbf;
    if (!target || target->empty()) return nullptr;
    // Reading only: whatever shapelib asks for, the layer never writes its files.
    (void)access;
    return reinterpret_cast<SAFile>(std::fopen(target->c_str(), "rb"));
}

// shapelib reports its own failures on stderr by default; the caller reports them as its error instead.
void quiet(const char*) {}

}  // namespace

ShapeLibFiles::ShapeLibFiles(std::string shp, std::string shx, std::string dbf)
    : paths_{std::move(shp), std::move(shx), std::move(dbf)}, previous_(current) {
    SASetupDefaultHooks(&hooks_);
    hooks_.FOpen = openMapped;
    hooks_.Error = quiet;
    current = &paths_;
}

ShapeLibFiles::~ShapeLibFiles() { current = previous_; }

}  // namespace velmora::map
