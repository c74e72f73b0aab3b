#pragma once
// The fixture of the nationwide job tests: the job tests' program folder, rows and map, a DataView.csv of
// a few meshes, and the nationwide dialog of a kind and row with its input file and output as the user
// left them.
#include <QLabel>
#include <QTreeWidget>
#include <memory>

#include "app/frmDataSetALL.h"
#include "tests/app/jobs/JobTest.h"

namespace velmora::testsupport {

class NationwideJobTest : public JobTest {
protected:
    NationwideJobTest() {
        // Prefecture 01 holds 533945 and 533947, prefecture 02 the mesh between them.
        meshTree({"1,01,北海道", "2,01,533945,a", "2,01,533947,c", "1,02,青森県", "2,02,533946,b"});
    }
    void meshTree(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& l : lines) bytes += text::toCp932(l) + "\r\n";
        TempProgramFolder::write(program("DataView.csv"), bytes);
    }
    std::unique_ptr<frmDataSetALL> nationwide(DataKind kind, int row, const std::string& file, const std::string& output,
                                              const std::vector<std::string>& ticks) {
        ConversionState& s = conversionState();
        s.SelectedKind = kind;
        s.SelectedIndex = static_cast<std::int16_t>(row);
        auto d = std::make_unique<frmDataSetALL>();
        d->Form_Load();
        d->lblInputFile->setText(QString::fromStdString(file));
        d->TxtOutPutFile->setText(QString::fromStdString(output));
        for (const std::string& key : ticks) {
            QTreeWidgetItem* item = d->treeItem(key);
            if (!item) throw std::invalid_argument("no node " + key);
            item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
        return d;
    }
    static bool convert(frmDataSetALL& d) {
        d.setResult(QDialog::Rejected);
        d.CmdConv->click();
        return d.result() == QDialog::Accepted;
    }
};

}  // namespace velmora::testsupport
