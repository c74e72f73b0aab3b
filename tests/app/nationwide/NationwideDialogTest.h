#pragma once
// The fixture of the nationwide dialog tests: the dialog tests' program folder and sample catalogue, a
// DataView.csv the test writes, and nationwide job procedures that record their calls.
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/JobProcedures.h"
#include "app/frmDataSetALL.h"
#include "platform/text/Cp932.h"
#include "tests/app/dialogs/DialogTest.h"

namespace velmora::testsupport {

class RecordingNationwideJobs : public NationwideJobProcedures {
public:
    using Job = std::function<bool(frmDataSetALL&)>;
    RecordingNationwideJobs() { setNationwideJobProcedures(this); }
    ~RecordingNationwideJobs() override { setNationwideJobProcedures(nullptr); }

    bool MakePoint(frmDataSetALL& d) override { return run("MakePoint", d); }
    bool MakeLine(frmDataSetALL& d) override { return run("MakeLine", d); }
    bool MakePolygon(frmDataSetALL& d) override { return run("MakePolygon", d); }
    bool MakeMesh(frmDataSetALL& d) override { return run("MakeMesh", d); }

    Job job = [](frmDataSetALL&) { return true; };
    std::vector<std::string> calls;
    std::vector<std::string> outputs;
    std::vector<int> datumCodes;

private:
    bool run(const char* name, frmDataSetALL& d) {
        calls.push_back(name);
        outputs.push_back(d.TxtOutPutFile->text().toStdString());
        datumCodes.push_back(conversionState().DatumCode);
        return job(d);
    }
};

class NationwideDialogTest : public DialogTest {
protected:
    // DataView.csv of the program folder, the lines given in UTF-8 (written CP932, CR LF).
    void meshTreeFile(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& l : lines) bytes += text::toCp932(l) + "\r\n";
        TempProgramFolder::write(folder_.file("DataView.csv"), bytes);
    }
    // The nationwide dialog of a kind and row, loaded with one input file.
    std::unique_ptr<frmDataSetALL> nationwideDialog(DataKind kind, int row, const std::string& file) {
        frmDataSelect& select = dataSelect();
        ConversionState& s = conversionState();
        s.SelectedKind = kind;
        s.SelectedIndex = static_cast<std::int16_t>(row);
        select.P_ListInputFile->clear();
        select.P_ListInputFile->addItem(QString::fromStdString(file));
        auto d = std::make_unique<frmDataSetALL>();
        d->Form_Load();
        return d;
    }
    // The keys of the tree's nodes in tree order.
    static std::vector<std::string> keys(const frmDataSetALL& d) {
        std::vector<std::string> k;
        for (std::size_t i = 0; i < d.meshTree().size(); ++i) k.push_back(d.meshTree().node(static_cast<int>(i)).key);
        return k;
    }
    // A click on a node's box in the widget.
    static void clickBox(frmDataSetALL& d, const std::string& key) {
        QTreeWidgetItem* item = d.treeItem(key);
        ASSERT_NE(item, nullptr) << key;
        item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }

    RecordingNationwideJobs nationwideJobs_;
};

}  // namespace velmora::testsupport
