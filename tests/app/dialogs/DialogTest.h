#pragma once
// The fixture of the dialog tests: a temporary program folder with the sample catalogue, the scripted
// user interface, a main window whose map the test fills, and job procedures that record their calls.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "convert/core/ConversionState.h"
#include "app/JobProcedures.h"
#include "app/frmDataSelect.h"
#include "app/frmDataSet.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestUi.h"
#include "tests/app/checks/MainWindowMap.h"
#include "tests/convert/core/TempProgramFolder.h"

namespace velmora::testsupport {

// Job procedures that record which one ran (and the output text it saw) and do what the test says.
class RecordingJobs : public FileListJobProcedures {
public:
    using Job = std::function<bool(frmDataSet&)>;

    RecordingJobs() { setFileListJobProcedures(this); }
    ~RecordingJobs() override { setFileListJobProcedures(nullptr); }

    bool MakePoint(frmDataSet& d) override { return run("MakePoint", d); }
    bool MakeLine(frmDataSet& d) override { return run("MakeLine", d); }
    bool MakePolygon(frmDataSet& d) override { return run("MakePolygon", d); }
    bool MakeMesh(frmDataSet& d) override { return run("MakeMesh", d); }
    bool MakeAttr(frmDataSet& d) override { return run("MakeAttr", d); }

    Job job = [](frmDataSet&) { return true; };
    std::vector<std::string> calls;
    std::vector<std::string> outputs;

private:
    bool run(const char* name, frmDataSet& d);
};

class DialogTest : public ::testing::Test {
protected:
    DialogTest() {
        for (const char* name : {"DataDBF.csv", "DataDBFItem.csv"})
            std::filesystem::copy_file(std::filesystem::path(VELMORA_FIXTURES) / "catalogue" / "sample" / name,
                                       folder_.path() / name);
        // The nationwide dialog's mesh tree: one prefecture of one mesh.
        TempProgramFolder::write(folder_.path() / "DataView.csv", text::toCp932("1,01,北海道\r\n2,01,644142,南西端\r\n"));
        // The catchment dialog's tree: none.
        TempProgramFolder::write(folder_.path() / "DataSyusui.csv", "");
        std::filesystem::create_directories(folder_.path() / "in");
        std::filesystem::create_directories(folder_.path() / "out");
        frmDataSelect::lastInputFolder().clear();
        frmDataSet::rememberedInputFolder().clear();
        frmDataSet::rememberedOutputFolder().clear();
    }
    ~DialogTest() override {
        delete frmDataSelect::current();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // An input file in the folder "in" with the given first line.
    std::string input(const std::string& name, const std::string& firstLine = "header") const {
        const std::string path = (folder_.path() / "in" / name).string();
        TempProgramFolder::write(path, firstLine + "\r\n");
        return path;
    }
    std::string out(const std::string& name) const { return (folder_.path() / "out" / name).string(); }

    // The loaded data-kind dialog (the sample catalogue read).
    frmDataSelect& dataSelect() {
        frmDataSelect* d = frmDataSelect::loaded(nullptr);
        if (!d) throw std::runtime_error("the catalogue did not load");
        return *d;
    }

    // A file-list job dialog for a kind and row, loaded with the files as the data-kind dialog's list.
    std::unique_ptr<frmDataSet> jobDialog(DataKind kind, int row, const std::vector<std::string>& files) {
        frmDataSelect& select = dataSelect();
        ConversionState& s = conversionState();
        s.SelectedKind = kind;
        s.SelectedIndex = static_cast<std::int16_t>(row);
        select.P_ListInputFile->clear();
        for (const std::string& f : files) select.P_ListInputFile->addItem(QString::fromStdString(f));
        auto d = std::make_unique<frmDataSet>();
        d->Form_Load();
        return d;
    }

    TempProgramFolder folder_;
    ui::TestUi ui_;
    MainWindowMap map_;
    RecordingJobs jobs_;
};

inline bool RecordingJobs::run(const char* name, frmDataSet& d) {
    calls.push_back(name);
    outputs.push_back(d.TxtOutPutFile->text().toStdString());
    return job(d);
}

}  // namespace velmora::testsupport
