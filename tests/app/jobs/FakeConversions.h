#pragma once
// Recording fakes of the point and mesh converters, installed while they live. Each call is recorded as
// "Name(file names)"; an operation named in `failing` gives false, and `onCall` runs first (side effects
// a test needs: throwing, changing the layer row, writing the output). Where the job relies on a
// converter's effect on shared files, the fakes do it as the converters do: the format check sets
// InputFileFormat, header blocks go into the pair ("POINT"), "_Z" ("Z") and "_Z2" ("Z2", opened for
// layers of more than 313 items), the port converter ends and closes the log, and the one-table
// land-price converters close the pair (their own writer runs are left out).
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "app/MeshConversion.h"
#include "app/PointConversion.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"

namespace velmora::testsupport {

inline std::string fileNames(const std::vector<std::string>& files) {
    std::string names;
    for (const std::string& f : files) names += (names.empty() ? "" : ",") + std::filesystem::path(f).filename().string();
    return names;
}

class FakeConverter {
public:
    std::vector<std::string> calls;
    std::set<std::string> failing;
    std::function<void(const std::string& name)> onCall;

protected:
    bool call(const std::string& name, const std::vector<std::string>& files = {}) {
        calls.push_back(name + "(" + fileNames(files) + ")");
        if (onCall) onCall(name);
        return failing.count(name) == 0;
    }
};

class RecordingPoint : public PointConversion, public FakeConverter {
public:
    RecordingPoint() { setPointConversion(this); }
    ~RecordingPoint() override { setPointConversion(nullptr); }

    bool ChkMakePoint_FileType(const FileList& files) override {
        conversionState().InputFileFormat = modCommon::ChkFileFormat(files.front());
        return call("ChkMakePoint_FileType", files);
    }
    bool ChkMakePoint_FileYear(const FileList& files) override { return call("ChkMakePoint_FileYear", files); }
    bool MakePoint_Chika_SetIniData() override { return call("MakePoint_Chika_SetIniData"); }
    bool MakeShapePointFileData_ini() override {
        header("POINT");
        return call("MakeShapePointFileData_ini");
    }
    bool MakeShapePointFileData_ini_Chika() override {
        ConversionState& s = conversionState();
        header("POINT");
        s.FilZFileNo.file().writeLine("Z");
        if (layerRow(s.PointLayers, s.SelectedIndex).ItemCount > 313) {
            shapedesc::openDescriptionFile(s.FilZ2FileNo, "_Z2");
            s.FilZ2FileNo.file().writeLine("Z2");
        }
        return call("MakeShapePointFileData_ini_Chika");
    }
    bool MakeShapePointFileData_ini_Kouwan() override { return call("MakeShapePointFileData_ini_Kouwan"); }
    bool MakeShapePointFileData(const std::string& path) override { return call("MakeShapePointFileData", {path}); }
    bool MakeShapePointFileData_ALL(const std::string& path, bool& written) override {
        written = false;
        return call("MakeShapePointFileData_ALL", {path});
    }
    bool ChkSelectMeshCode(std::string_view) override { return call("ChkSelectMeshCode"); }
    bool MakeShapePointFileCSV(const std::string& path, std::int32_t& pointNumber) override {
        ++pointNumber;
        return call("MakeShapePointFileCSV", {path});
    }
    bool MakePoint_Multi(const FileList& files) override { return call("MakePoint_Multi", files); }
    bool MakePoint_Chika(const std::string& path) override { return call("MakePoint_Chika", {path}); }
    bool MakePoint_Chika2(const FileList& files) override { return call("MakePoint_Chika2", files); }
    bool MakePoint_ChikaCSV(const std::string& path) override {
        header("POINT");
        conversionState().FilZFileNo.file().writeLine("Z");
        return call("MakePoint_ChikaCSV", {path});
    }
    bool MakePoint_ChikaCSV2(const FileList& files) override {
        header("POINT");
        conversionState().FilZFileNo.file().writeLine("Z");
        return call("MakePoint_ChikaCSV2", files);
    }
    bool MakePoint_Chika3(const FileList& files) override { return wholeTable("MakePoint_Chika3", files); }
    bool MakePoint_ChikaCSV3(const FileList& files) override { return wholeTable("MakePoint_ChikaCSV3", files); }
    bool MakePoint_ChikaCSV4(const std::string& path) override { return wholeTable("MakePoint_ChikaCSV4", {path}); }
    bool MakePoint_Kouwan(const std::string& path, bool& completed) override {
        meshRangeCountAtPort = conversionState().MeshRangeCount;
        completed = call("MakePoint_Kouwan", {path});
        shapedesc::closePair();
        shapedesc::deletePair();
        modCommon::PutLogFileMsg(99, "");
        conversionState().LogFileNo.close();
        return completed;
    }

    int meshRangeCountAtPort = 0;

private:
    static void header(const char* line) { conversionState().FilHFileNo.file().writeLine(line); }
    bool wholeTable(const char* name, const FileList& files) {
        shapedesc::closePair();
        return call(name, files);
    }
};

class RecordingMesh : public MeshConversion, public FakeConverter {
public:
    RecordingMesh() { setMeshConversion(this); }
    ~RecordingMesh() override { setMeshConversion(nullptr); }

    bool MakeShapeMESHFileData(const FileList& files, const std::string& outputPath,
                               const std::vector<std::string>& meshCodes) override {
        record(outputPath, meshCodes);
        return call("MakeShapeMESHFileData", files);
    }
    bool TokusyuMakeShape(const FileList& files, const std::string& outputPath,
                          const std::vector<std::string>& meshCodes) override {
        record(outputPath, meshCodes);
        return call("TokusyuMakeShape", files);
    }

    std::vector<std::string> outputs;
    std::vector<std::vector<std::string>> meshCodeLists;

private:
    void record(const std::string& output, const std::vector<std::string>& codes) {
        outputs.push_back(output);
        meshCodeLists.push_back(codes);
    }
};

}  // namespace velmora::testsupport
