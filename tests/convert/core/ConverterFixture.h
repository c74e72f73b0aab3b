#pragma once
// A converter test's surroundings: its own program folder (with the Log folder) and a fresh conversion
// state, the scripted user interface, a progress bar and label, and the data kind selected; the log and the
// intermediate pair open on request, closed with every other file at the end.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <memory>
#include <string>
#include <vector>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestApplication.h"
#include "platform/ui/TestUi.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "tests/tools/gen/AttrFileGen.h"

namespace velmora::testsupport {

// Splits CP932 file bytes at CR LF into UTF-8 lines; a line end other than CR LF fails the test.
inline std::vector<std::string> utf8Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t p = 0;
    for (std::size_t q; (q = bytes.find("\r\n", p)) != std::string::npos; p = q + 2)
        lines.push_back(text::fromCp932(bytes.substr(p, q - p)));
    EXPECT_EQ(p, bytes.size()) << "text after the last CR LF";
    return lines;
}

class ConverterFixture : public ::testing::Test {
protected:
    // `logName`: the log's file in the Log folder.
    ConverterFixture(DataKind kind, std::string logName) : kind_(kind), logName_(std::move(logName)) {}

    TempProgramFolder folder;
    ui::TestUi ui;
    // Bar and label sit in a dialog that is never shown, as in a job dialog: showing them opens no window.
    std::unique_ptr<QWidget> dialog;
    QProgressBar* bar = nullptr;
    QLabel* label = nullptr;

    void SetUp() override {
        ui::testApplication();
        dialog = std::make_unique<QWidget>();
        bar = new QProgressBar(dialog.get());
        label = new QLabel(dialog.get());
        ConversionState& s = conversionState();
        s.AppFolder = folder.path().string() + "/";
        s.ConvProgressBar = bar;
        s.ConvMsgLabel = label;
        s.SelectedKind = kind_;
        s.DatumCode = 2000;
    }
    void TearDown() override {
        ConversionState& s = conversionState();
        for (WriterSlot* f : {&s.FilHFileNo, &s.FilDFileNo, &s.LogFileNo}) f->closeQuietly();
        s.InFileNo.closeQuietly();
    }

    void openLogAndPair() {
        ConversionState& s = conversionState();
        s.LogFilePath = folder.file("Log/" + logName_);
        modCommon::openLogFile(text::LineWriter::Mode::Replace);
        shapedesc::openPair();
    }
    std::string input(const std::string& name, const std::vector<std::string>& lines) {
        const std::string p = folder.file(name);
        gen::writeLines(p, lines);
        return p;
    }
    std::vector<std::string> logLines() {
        conversionState().LogFileNo.close();
        return utf8Lines(folder.read(folder.file("Log/" + logName_)));
    }

private:
    DataKind kind_;
    std::string logName_;
};

}  // namespace velmora::testsupport
