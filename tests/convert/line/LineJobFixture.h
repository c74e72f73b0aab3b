#pragma once
// A line job's surroundings for tests: an own program folder with its "Log" folder, a fresh conversion
// state with catalogue rows for an ordinary line item (row 3), the road item (row 25) and the railway
// item (row 26), an open conversion log, a progress bar and label, and the scripted user interface.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <memory>
#include <string>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestApplication.h"
#include "platform/ui/TestUi.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "tests/tools/gen/LineFileGen.h"

namespace velmora::testsupport {

inline constexpr int kOrdinaryRow = 3;
inline constexpr int kRoadRow = 25;
inline constexpr int kRailwayRow = 26;

// The scripted user interface that also notes what the progress display showed at every yield, the
// moments the user can see it.
class ProgressNotingUi : public ui::TestUi {
public:
    struct Shown {
        std::string caption;
        int maximum = 0, value = 0;
        bool visible = false;
        bool operator==(const Shown&) const = default;
    };
    void yield() override {
        TestUi::yield();
        const ConversionState& s = conversionState();
        Shown now;
        if (s.ConvMsgLabel) now.caption = s.ConvMsgLabel->text().toStdString();
        if (s.ConvProgressBar) {
            now.maximum = s.ConvProgressBar->maximum();
            now.value = s.ConvProgressBar->value();
            now.visible = !s.ConvProgressBar->isHidden();
        }
        shown.push_back(now);
    }
    std::vector<Shown> shown;
};

inline const char* kOrdinaryKey = "N03-L";
inline const char* kRoadKey = "N01-RD";
inline const char* kRailwayKey = "N02-RW";

// Fills a line-table row: name and key (UTF-8), items in order.
inline void setLineRow(int row, const std::string& name, const std::string& key,
                       const std::vector<gen::LedgerItemDef>& items) {
    gen::fillLineLayerRow(conversionState().LineLayers[static_cast<std::size_t>(row)], name, key, items);
}

class LineJobFixture : public ::testing::Test {
protected:
    LineJobFixture() {
        ConversionState& s = conversionState();
        // Every row gets a key of its own: a row with an empty key would claim every file.
        for (int row = 0; row < 28; ++row)
            setLineRow(row, "行" + std::to_string(row), "KEY" + std::to_string(row) + "X", {});
        s.AppFolder = program_.path().string() + "/";
        setLineRow(kOrdinaryRow, "海岸線", kOrdinaryKey, gen::ordinaryLedgerItems());
        setLineRow(kRoadRow, "道路", kRoadKey, gen::roadLedgerItems());
        setLineRow(kRailwayRow, "鉄道", kRailwayKey, gen::ordinaryLedgerItems());
        s.SelectedKind = DataKind::Line;
        s.SelectedIndex = kOrdinaryRow;
        s.ConvProgressBar = bar_;
        s.ConvMsgLabel = label_;
        modCommon::setLogClock([] { return modCommon::LogTime{2006, 3, 15, 14, 5, 9}; });
        s.LogFilePath = program_.file("Log/job.log");
        modCommon::openLogFile(text::LineWriter::Mode::Replace);
    }
    ~LineJobFixture() override { modCommon::setLogClock({}); }

    void select(int row) { conversionState().SelectedIndex = static_cast<std::int16_t>(row); }

    // The log's lines so far, UTF-8, without line ends.
    std::vector<std::string> logLines() {
        ConversionState& s = conversionState();
        s.LogFileNo.close();
        std::string bytes = TempProgramFolder::read(s.LogFilePath);
        modCommon::openLogFile(text::LineWriter::Mode::Append);
        std::vector<std::string> lines;
        std::size_t from = 0;
        for (std::size_t at; (at = bytes.find("\r\n", from)) != std::string::npos; from = at + 2)
            lines.push_back(text::fromCp932(bytes.substr(from, at - from)));
        return lines;
    }

    // Writes a file of raw bytes into the program folder and gives its path.
    std::string writeFile(const std::string& name, const std::string& bytes) {
        const std::string path = program_.file(name);
        TempProgramFolder::write(path, bytes);
        return path;
    }
    std::string writeFile(const std::string& name, const gen::LineFileModel& model) {
        return writeFile(name, gen::formatLineFile(model));
    }

    QApplication& app_ = ui::testApplication();
    TempProgramFolder program_;
    ProgressNotingUi ui_;
    // Bar and label sit in a dialog that is never shown: making them visible opens no window (isHidden()
    // tells what the converters set).
    std::unique_ptr<QWidget> dialog_ = std::make_unique<QWidget>();
    QProgressBar* bar_ = new QProgressBar(dialog_.get());
    QLabel* label_ = new QLabel(dialog_.get());
};

// A header line: kind columns 1-3, columns 4-13 blank, the data code in 14-23, "  2006", the number in
// 30-33 and anything after column 33.
inline std::string headerLine(const std::string& kind3, const std::string& code, const std::string& number4 = "   1",
                              const std::string& rest = "      12") {
    std::string k = kind3, c = code;
    k.resize(3, ' ');
    c.resize(10, ' ');
    return k + std::string(10, ' ') + c + "  2006" + number4 + rest;
}

// Lines joined with CR LF, each line given in UTF-8 and written in CP932.
inline std::string crlf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& l : lines) out += text::toCp932(l) + "\r\n";
    return out;
}

}  // namespace velmora::testsupport
