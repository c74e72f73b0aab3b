// The catchment selection dialog as a user meets it: the tree read from DataSyusui.csv, clicks in the
// widget with their cascade, a file that fails to load, and OK through the open dialog to the file-list
// job dialog with the chosen codes and files.
#include <QFont>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "app/frmSyusuiSelect.h"
#include "tests/app/dialogs/DialogTest.h"

using namespace velmora;
using namespace velmora::testsupport;
using ui::Answer;
using ui::Icon;
using Files = std::vector<std::string>;

namespace {

class CatchmentDialog : public DialogTest {
protected:
    CatchmentDialog() {
        dataSelect();
        frmSyusuiSelect::lastFolder().clear();
        treeFile({"1,81", "2,81,81001,石狩川", "2,81,81002,十勝川", "1,82", "2,82,82001,岩木川"});
    }
    void treeFile(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& l : lines) bytes += text::toCp932(l) + "\r\n";
        TempProgramFolder::write(folder_.path() / "DataSyusui.csv", bytes);
    }
    std::unique_ptr<frmSyusuiSelect> loaded() {
        conversionState().SelectedKind = DataKind::Point;
        conversionState().SelectedIndex = 10;
        auto d = std::make_unique<frmSyusuiSelect>();
        d->Form_Load();
        return d;
    }
    static void click(frmSyusuiSelect& d, const std::string& key) {
        QTreeWidgetItem* item = d.treeItem(key);
        ASSERT_NE(item, nullptr) << key;
        item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    static bool checked(frmSyusuiSelect& d, const std::string& key) { return d.treeItem(key)->checkState(0) == Qt::Checked; }
    static bool bold(frmSyusuiSelect& d, const std::string& key) { return d.treeItem(key)->font(0).bold(); }
};

TEST_F(CatchmentDialog, TheTreeShowsRegionsAndCatchmentsWithTheLastRegionSelected) {
    auto d = loaded();
    EXPECT_EQ(conversionState().SelectedKind, DataKind::Area);
    EXPECT_EQ(d->windowTitle().toStdString(), "変換対象集水域情報設定");
    ASSERT_EQ(d->TreeView->topLevelItemCount(), 1);
    QTreeWidgetItem* root = d->TreeView->topLevelItem(0);
    EXPECT_EQ(root->text(0).toStdString(), "全国");
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(0)->text(0).toStdString(), "81   ");
    EXPECT_EQ(root->child(0)->child(1)->text(0).toStdString(), "81002   十勝川");
    EXPECT_EQ(d->TreeView->currentItem(), d->treeItem("r82"));
    EXPECT_TRUE(d->P_ListInputFile->isHidden());
    for (const char* name : {"Frame2", "lblInputFile", "Label3", "Label2", "TreeView", "CmdOK", "cmdEnd"})
        EXPECT_NE(d->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(CatchmentDialog, ABrokenFileIsReportedAndTheDialogOpensWithWhatWasRead) {
    treeFile({"1,81", "2,81,81001,石狩川", "2,81,81001,重複"});
    ui_.answer(Answer::Ok).answer(Answer::Ok);
    auto d = loaded();
    ASSERT_EQ(ui_.boxes().size(), 2u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmSyusuiSelect (SetSyusuiCsvToTree)");
    EXPECT_EQ(ui_.boxes()[0].text, "35602 キーがコレクション内で一意ではありません。");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Critical);
    EXPECT_EQ(ui_.boxes()[1].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[1].icon, Icon::None);
    EXPECT_NE(d->treeItem("IDX81001"), nullptr);
}

TEST_F(CatchmentDialog, ClicksInTheTreeRunTheCascade) {
    auto d = loaded();
    click(*d, "t");
    for (const char* key : {"t", "r81", "IDX81001", "IDX81002", "r82", "IDX82001"}) EXPECT_TRUE(checked(*d, key)) << key;
    for (const char* key : {"t", "r81", "r82"}) EXPECT_TRUE(bold(*d, key)) << key;
    EXPECT_FALSE(bold(*d, "IDX81001"));
    click(*d, "r81");
    EXPECT_FALSE(checked(*d, "IDX81002"));
    EXPECT_FALSE(bold(*d, "r81"));
    EXPECT_TRUE(checked(*d, "IDX82001"));
}

TEST_F(CatchmentDialog, OkWithoutACatchmentSaysSoAndAsksForNoFile) {
    auto d = loaded();
    ui_.answer(Answer::Ok);
    d->CmdOK->click();
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "作成する地域の集水域が選択されていません。");
    EXPECT_EQ(ui_.boxes()[0].title, ui::defaultTitle());
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::None);
    EXPECT_TRUE(ui_.dialogs().empty());
    EXPECT_EQ(conversionState().CatchmentSelection, "");
}

TEST_F(CatchmentDialog, OkTakesTheCodesAndFilesToTheJobDialogAndComesBackForAnotherChoice) {
    auto d = loaded();
    click(*d, "IDX82001");
    click(*d, "IDX81002");
    const Files files = {input("w1.txt"), input("w2.txt")};
    Files listed;
    ui_.answerOpen(files).answerModal([&](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName().toStdString(), "frmDataSet");
        listed = static_cast<frmDataSet&>(dialog).inputFiles();
        return int(QDialog::Rejected);
    });
    d->CmdOK->click();
    EXPECT_EQ(conversionState().CatchmentSelection, "81002,82001");
    EXPECT_EQ(listed, files);
    ASSERT_EQ(ui_.dialogs().size(), 2u);
    EXPECT_EQ(ui_.dialogs()[0].request.folder, conversionState().AppFolder);
    EXPECT_TRUE(ui_.dialogs()[0].request.multiple);
    EXPECT_EQ(frmSyusuiSelect::lastFolder(), (folder_.path() / "in").string() + "/");

    // Another choice after the job dialog closed: the list is made anew, the open dialog starts in the
    // last folder; a cancelled open dialog opens nothing.
    click(*d, "IDX81002");
    ui_.clearRecords();
    ui_.answerOpen({});
    d->CmdOK->click();
    EXPECT_EQ(conversionState().CatchmentSelection, "82001");
    ASSERT_EQ(ui_.dialogs().size(), 1u);
    EXPECT_EQ(ui_.dialogs()[0].request.folder, frmSyusuiSelect::lastFolder());
    EXPECT_EQ(d->P_ListInputFile->count(), 0);
}

TEST_F(CatchmentDialog, CancelClosesTheDialog) {
    auto d = loaded();
    d->show();
    d->cmdEnd->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Rejected);
}

}  // namespace
