#include "app/OstrandLibrary.h"

#include <dlfcn.h>

#include "app/ReplaceableService.h"
#include "convert/core/ConversionState.h"
#include "platform/errors/RunTimeError.h"
#include "polygon/lib/OstrandExports.h"

namespace velmora {

namespace {

// The classic runtime's number for an entry point that a library does not have.
constexpr int kEntryPointNotFound = 453;

std::string loaderText(const char* fallback) {
    const char* text = ::dlerror();
    return text ? text : fallback;
}

}  // namespace

void* OstrandBinding::symbol(const char* name, void*& kept) {
    if (kept) return kept;
    if (!library_) {
        const std::string path = conversionState().AppFolder + "libOstrand.so";
        library_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library_) throw RunTimeError(err::FileNotFound, loaderText(("cannot load " + path).c_str()));
    }
    ::dlerror();
    kept = ::dlsym(library_, name);
    if (!kept) throw RunTimeError(kEntryPointNotFound, loaderText((std::string("no entry point ") + name).c_str()));
    return kept;
}

std::int16_t OstrandBinding::Ostrand(std::int16_t dataId, const std::string& inputFiles,
                                     const std::string& outputPath, const std::string& logPath,
                                     const std::string& meshCodes, PolygonCountArray& counts) {
    auto* run = reinterpret_cast<OstrandFunction>(symbol("Ostrand", ostrand_));
    return run(dataId, inputFiles.c_str(), outputPath.c_str(), logPath.c_str(), meshCodes.c_str(), &counts[0],
               &counts[1], &counts[2], &counts[3]);
}

std::int16_t OstrandBinding::MakeSyusuiV6(const std::string& basinCodes, const std::string& inputFiles,
                                          const std::string& outputPath, const std::string& logPath,
                                          PolygonCountArray& counts) {
    auto* run = reinterpret_cast<MakeSyusuiV6Function>(symbol("MakeSyusuiV6", makeSyusui_));
    return run(basinCodes.c_str(), inputFiles.c_str(), outputPath.c_str(), logPath.c_str(), &counts[0], &counts[1],
               &counts[2]);
}

namespace {

ReplaceableService<OstrandLibrary>& slot() {
    static OstrandBinding builtIn;
    static ReplaceableService<OstrandLibrary> service(builtIn);
    return service;
}

}  // namespace

OstrandLibrary& ostrandLibrary() { return slot().get(); }

void setOstrandLibrary(OstrandLibrary* library) { slot().install(library); }

}  // namespace velmora
