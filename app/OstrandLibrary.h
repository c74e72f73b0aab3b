#pragma once
// The area-polygon library as the area jobs call it: its two entry points behind one interface, so the
// jobs are tested against a recording fake. The built-in implementation binds libOstrand.so of the program
// folder: each entry point is looked up at its first call and kept, with the library, for the rest of the
// run. A library that cannot be loaded is RunTimeError(FileNotFound), an entry point it lacks
// RunTimeError(453); both carry the loader's text and are thrown from the call, so they take the job's
// failure path.
#include <array>
#include <cstdint>
#include <string>

namespace velmora {

// Total, made, incomplete and attribute records of a library job (ConversionState::PolygonCounts).
using PolygonCountArray = std::array<std::int32_t, 4>;

class OstrandLibrary {
public:
    virtual ~OstrandLibrary() = default;
    // Area polygons of one data item. Texts are UTF-8 paths joined by ","; counts receives all four.
    virtual std::int16_t Ostrand(std::int16_t dataId, const std::string& inputFiles, const std::string& outputPath,
                                 const std::string& logPath, const std::string& meshCodes,
                                 PolygonCountArray& counts) = 0;
    // Catchment polygons of the comma-joined catchment codes; counts receives the first three.
    virtual std::int16_t MakeSyusuiV6(const std::string& basinCodes, const std::string& inputFiles,
                                      const std::string& outputPath, const std::string& logPath,
                                      PolygonCountArray& counts) = 0;
};

// The entry points of libOstrand.so in the program folder (AppFolder at the first call of each).
class OstrandBinding : public OstrandLibrary {
public:
    OstrandBinding() = default;
    ~OstrandBinding() override = default;  // the library stays loaded: its threads and Qt objects may outlive a call
    OstrandBinding(const OstrandBinding&) = delete;
    OstrandBinding& operator=(const OstrandBinding&) = delete;

    std::int16_t Ostrand(std::int16_t dataId, const std::string& inputFiles, const std::string& outputPath,
                         const std::string& logPath, const std::string& meshCodes, PolygonCountArray& counts) override;
    std::int16_t MakeSyusuiV6(const std::string& basinCodes, const std::string& inputFiles,
                              const std::string& outputPath, const std::string& logPath,
                              PolygonCountArray& counts) override;

private:
    void* symbol(const char* name, void*& kept);

    void* library_ = nullptr;
    void* ostrand_ = nullptr;
    void* makeSyusui_ = nullptr;
};

// The implementation in force.
OstrandLibrary& ostrandLibrary();
// Installs an implementation (nullptr: the binding of the program folder's library); the caller keeps
// ownership.
void setOstrandLibrary(OstrandLibrary* library);

}  // namespace velmora
