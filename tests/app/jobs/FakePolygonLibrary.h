#pragma once
// A recording fake of the area-polygon library, installed while it lives. Each call is recorded with its
// arguments; the fake gives the chosen status and counts, replaces the log's contents with the chosen
// lines (as the library does) and runs `during` inside the call (putting a file on the map, throwing).
#include <functional>
#include <string>
#include <vector>

#include "app/OstrandLibrary.h"
#include "convert/core/ConversionState.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineWriter.h"

namespace velmora::testsupport {

class RecordingLibrary : public OstrandLibrary {
public:
    struct Call {
        std::string entryPoint;
        int dataId = -1;
        std::string basinCodes;
        std::string inputFiles, outputPath, logPath, meshCodes;
        bool logOpenDuringCall = false;
    };

    RecordingLibrary() { setOstrandLibrary(this); }
    ~RecordingLibrary() override { setOstrandLibrary(nullptr); }

    std::int16_t Ostrand(std::int16_t dataId, const std::string& inputFiles, const std::string& outputPath,
                         const std::string& logPath, const std::string& meshCodes, PolygonCountArray& counts) override {
        return call({"Ostrand", dataId, "", inputFiles, outputPath, logPath, meshCodes}, counts);
    }
    std::int16_t MakeSyusuiV6(const std::string& basinCodes, const std::string& inputFiles,
                              const std::string& outputPath, const std::string& logPath,
                              PolygonCountArray& counts) override {
        return call({"MakeSyusuiV6", 20, basinCodes, inputFiles, outputPath, logPath, ""}, counts);
    }

    std::vector<Call> calls;
    std::int16_t status = 0;
    PolygonCountArray counts{};
    std::vector<std::string> logLines = {"[面データ]データ変換開始。", "> 処理終了"};  // UTF-8
    std::function<void()> during;

private:
    std::int16_t call(Call c, PolygonCountArray& out) {
        c.logOpenDuringCall = conversionState().LogFileNo.isOpen();
        calls.push_back(c);
        if (status == 0) {
            text::LineWriter log(c.logPath, text::LineWriter::Mode::Replace);
            for (const std::string& line : logLines) log.writeLine(text::toCp932(line));
            log.close();
        }
        if (during) during();
        out = counts;
        return status;
    }
};

}  // namespace velmora::testsupport
