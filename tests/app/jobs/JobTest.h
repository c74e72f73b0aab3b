#pragma once
// The fixture of the job-procedure tests: an own program folder (with "Log", "in" and "out"), layer rows
// set in code, the scripted user interface, the main window (its map tool takes what a job adds), a log
// clock that moves on one second per reading (every log of a test has its own name), and Brunhale as the
// real program or as a stand-in that records each run (the first line of the header file) and exits with
// a chosen code.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QEvent>
#include <QListWidget>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "app/frmDataSet.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestApplication.h"
#include "platform/ui/TestUi.h"
#include "app/CheckLayer.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "tests/tools/gen/ShapeFileGen.h"
#include "viewer/clsMapToolControl.h"
#include "viewer/frmMapMain.h"

namespace velmora::testsupport {

namespace fs = std::filesystem;

class JobTest : public ::testing::Test {
protected:
    JobTest() {
        conversionState().AppFolder = folder_.path().string() + "/";
        fs::create_directories(folder_.path() / "in");
        fs::create_directories(folder_.path() / "out");
        modCommon::setLogClock([t = 0]() mutable {
            ++t;
            return modCommon::LogTime{2008, 4, 1, 9 + t / 3600, (t / 60) % 60, t % 60};
        });
    }
    ~JobTest() override {
        window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        modCommon::setLogClock({});
    }

    // A row of a layer table: name (UTF-8, stored as CP932 as the catalogue stores it) and item count.
    template <class Row>
    static Row& setRow(Row& row, const std::string& name, int itemCount = 1) {
        row.Name = text::toCp932(name);
        row.HeaderKey = "K" + std::to_string(itemCount);
        row.ItemCount = static_cast<std::int16_t>(itemCount);
        // Named as the catalogue names the items of a row it declares.
        for (int i = 1; i <= itemCount && i < static_cast<int>(row.ItemName.size()); ++i)
            if (row.ItemName[static_cast<std::size_t>(i)].empty()) row.ItemName[static_cast<std::size_t>(i)] = "I" + std::to_string(i);
        return row;
    }

    // A job dialog of a kind and row with the input files and the output text, as the user left it.
    std::unique_ptr<frmDataSet> dialog(DataKind kind, int row, const std::vector<std::string>& files,
                                       const std::string& output) {
        ConversionState& s = conversionState();
        s.SelectedKind = kind;
        s.SelectedIndex = static_cast<std::int16_t>(row);
        auto d = std::make_unique<frmDataSet>();
        d->Form_Load();
        for (const std::string& f : files) d->LvwInFile->addItem(QString::fromStdString(f));
        d->TxtOutPutFile->setText(QString::fromStdString(output));
        return d;
    }
    // Presses convert; true when the dialog closed after a finished job.
    static bool convert(frmDataSet& d) {
        d.setResult(QDialog::Rejected);
        d.CmdConv->click();
        return d.result() == QDialog::Accepted;
    }

    std::string in(const std::string& name, const std::string& bytes) const {
        const std::string path = (folder_.path() / "in" / name).string();
        TempProgramFolder::write(path, bytes);
        return path;
    }
    std::string out(const std::string& name) const { return (folder_.path() / "out" / name).string(); }
    std::string program(const std::string& name) const { return folder_.file(name); }

    // The logs of the test, oldest first.
    std::vector<std::string> logs() const {
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(folder_.path() / "Log")) found.push_back(e.path().string());
        std::sort(found.begin(), found.end());
        return found;
    }
    // A CP932 file's lines, UTF-8, without their ends.
    static std::vector<std::string> lines(const std::string& path) {
        const std::string bytes = TempProgramFolder::read(path);
        std::vector<std::string> result;
        std::size_t from = 0;
        for (std::size_t at; (at = bytes.find("\r\n", from)) != std::string::npos; from = at + 2)
            result.push_back(text::fromCp932(bytes.substr(from, at - from)));
        return result;
    }

    // The stand-in exits with exitCode; with failOn, only the runs whose header file begins with that
    // line fail.
    void standInWriter(int exitCode, const std::string& failOn = {}) {
        const std::string path = program("Brunhale");
        std::ofstream f(path, std::ios::trunc);
        f << "#!/bin/sh\nd=$(dirname \"$0\")\n"
             "first=$(head -n 1 \"$d/MakeShapeFile.fil_H\" | tr -d '\\r')\n"
             "printf 'run:%s\\n' \"$first\" >> \"$d/runs.log\"\n";
        if (!failOn.empty()) f << "[ \"$first\" = \"" << failOn << "\" ] || exit 0\n";
        f << "exit " << exitCode << "\n";
        f.close();
        ::chmod(path.c_str(), 0755);
    }
    void realWriter() {
        fs::remove(program("Brunhale"));
        fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/Brunhale", program("Brunhale"));
    }
    // The runs of the stand-in: "run:" and the first line of the header file it found.
    std::vector<std::string> runs() const {
        std::vector<std::string> r;
        std::ifstream f(program("runs.log"));
        for (std::string line; std::getline(f, line);) r.push_back(line);
        return r;
    }
    bool pairOnDisk() const { return fs::exists(program("MakeShapeFile.fil_H")) || fs::exists(program("MakeShapeFile.fil_D")); }

    clsMapToolControl& mapTool() { return *window_->pMapTool; }
    // The files on the main map as the conversion side reads them: layers from the top, tables newest first.
    std::vector<std::string> mapLayers() const { return modCommon::mainMap()->layerFiles(); }
    std::vector<std::string> mapTables() const { return modCommon::mainMap()->tableFiles(); }
    // A small point shapefile at `shpPath` (which ends in ".shp"), as a converter would have left it.
    static void writeLayer(const std::string& shpPath) {
        datagen::GenShapeFile f;
        f.shpType = 1;
        f.shapes = {{{{{139.7, 35.65}}}}};
        f.fields = {{"ID", 'N', 6, 0}};
        f.rows = {{"1"}};
        datagen::writeShapeFile(shpPath.substr(0, shpPath.size() - 4), f);
    }

    QApplication& app_ = ui::testApplication();
    TempProgramFolder folder_;
    ui::TestUi ui_;
    std::unique_ptr<frmMapMain> window_ = std::make_unique<frmMapMain>();
};

}  // namespace velmora::testsupport
