#include "convert/core/ConversionState.h"

#include <memory>
#include <new>
#include <unistd.h>

#include "platform/memory/LargePages.h"

namespace velmora {

const std::string& ConversionState::layerName(DataKind kind, long row) {
    switch (kind) {
        case DataKind::Point: return layerRow(PointLayers, row).Name;
        case DataKind::Line: return layerRow(LineLayers, row).Name;
        case DataKind::Area: return layerRow(PolygonLayers, row).Name;
        case DataKind::Mesh: return layerRow(MeshLayers, row).Name;
        case DataKind::Attr: return layerRow(AttrLayers, row).Name;
    }
    throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
}

namespace {

// Allocated once: the layer tables are several megabytes, too large for a stack temporary. They sit in
// large pages where the system gives them: built 4 KB at a time they cost a thousand page faults at every
// start of the program. The mapping comes zeroed, so the state is what value-initialisation makes of it.
struct StateRelease {
    std::size_t bytes = 0;  // 0: allocated with new
    void operator()(ConversionState* p) const {
        if (bytes == 0) return delete p;
        std::destroy_at(p);
        memory::unmapLargePages(p, bytes);
    }
};

ConversionState& stateObject() {
    static const std::unique_ptr<ConversionState, StateRelease> state = [] {
        const std::size_t bytes = (sizeof(ConversionState) + memory::kLargePage - 1) / memory::kLargePage * memory::kLargePage;
        void* p = memory::mapLargePages(bytes);
        if (!p) return std::unique_ptr<ConversionState, StateRelease>(new ConversionState());
        return std::unique_ptr<ConversionState, StateRelease>(::new (p) ConversionState, StateRelease{bytes});
    }();
    return *state;
}

std::string executableFolder() {
    std::string buf(4096, '\0');
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0) return ".";
    buf.resize(static_cast<std::size_t>(n));
    auto slash = buf.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : buf.substr(0, slash);
}

std::string& programFolderOverride() {
    static std::string folder;
    return folder;
}

}  // namespace

ConversionState& conversionState() { return stateObject(); }

void resetConversionState() {
    ConversionState* p = &stateObject();
    std::destroy_at(p);
    std::construct_at(p);
}

const std::string& programFolder() {
    static const std::string executable = executableFolder();
    const std::string& o = programFolderOverride();
    return o.empty() ? executable : o;
}

void setProgramFolder(const std::string& folder) {
    std::string f = folder;
    while (f.size() > 1 && f.back() == '/') f.pop_back();
    programFolderOverride() = f;
}

}  // namespace velmora
