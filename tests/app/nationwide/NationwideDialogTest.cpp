// The nationwide job dialog driven through the scripted user interface: its set-up by kind, the mesh tree
// as DataView.csv builds it (and as a broken file leaves it), ticks in the widget, the output checks of
// "変　換", the datum codes and the dispatch to the job procedures.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <gmock/gmock.h>

#include "tests/app/nationwide/NationwideDialogTest.h"

namespace velmora {
namespace {

using testsupport::NationwideDialogTest;
using ui::Answer;
using Keys = std::vector<std::string>;

const std::vector<std::string> kTwoPrefectures = {
    "1,01,北海道", "2,01,644142,北緯42度50分", "2,01,644143,北緯42度50分東", "1,02,青森県", "2,02,614040,北緯40度40分"};

class NationwideDialog : public NationwideDialogTest {
protected:
    NationwideDialog() { meshTreeFile(kTwoPrefectures); }

    // Types the output and presses "変　換", answering the one message box of a refusal.
    void convert(frmDataSetALL& d, const std::string& output, bool refused) {
        d.TxtOutPutFile->setText(QString::fromStdString(output));
        if (refused) ui_.answer(Answer::Ok);
        d.CmdConv->click();
    }
};

TEST_F(NationwideDialog, LoadSetsUpTheDialogByKindAndBuildsTheTree) {
    struct Case {
        DataKind kind;
        int row;
        const char* caption;
        bool sys, fuzoku, ticked;
    };
    const Case cases[] = {
        {DataKind::Point, 3, "（全国）変換情報設定漁港", true, false, false},
        {DataKind::Line, 25, "（全国）変換情報設定道路", true, false, false},
        {DataKind::Area, 6, "（全国）変換情報設定", true, true, true},
        {DataKind::Area, 9, "（全国）変換情報設定湖沼", true, true, true},
        {DataKind::Area, 0, "（全国）変換情報設定", true, true, false},
        {DataKind::Mesh, 1, "（全国）変換情報設定指定地域メッシュ・1/10細分区画", false, false, false},
    };
    const std::string file = input("japan.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        auto d = nationwideDialog(c.kind, c.row, file);
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_TRUE(d->Frame3->isVisibleTo(d.get()));
        EXPECT_EQ(d->FrmSys->isVisibleTo(d.get()), c.sys);
        EXPECT_EQ(d->FrmFuzoku->isVisibleTo(d.get()), c.fuzoku);
        EXPECT_EQ(d->ChkMakeData[0]->isChecked(), c.ticked);
        EXPECT_EQ(d->ChkMakeData[1]->isChecked(), c.ticked);
        EXPECT_EQ(d->lblInputFile->text().toStdString(), file);
        EXPECT_EQ(keys(*d), (Keys{"t", "r01", "IDX644142", "IDX644143", "r02", "IDX614040"}));
        QTreeWidgetItem* root = d->TreeView->topLevelItem(0);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->text(0), QStringLiteral("全国"));
        EXPECT_EQ(root->child(0)->text(0), QStringLiteral("01   北海道"));
        EXPECT_EQ(root->child(0)->child(1)->text(0), QStringLiteral("644143   北緯42度50分東"));
        // The last prefecture read is the selected node.
        EXPECT_EQ(d->TreeView->currentItem(), root->child(1));
    }
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(NationwideDialog, TheShippedTreeFileLoadsWithoutABox) {
    std::filesystem::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/DataView.csv", folder_.file("DataView.csv"),
                               std::filesystem::copy_options::overwrite_existing);
    auto d = nationwideDialog(DataKind::Line, 3, input("japan.txt"));
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_EQ(d->TreeView->topLevelItem(0)->childCount(), 47);
    EXPECT_EQ(d->TreeView->currentItem()->text(0), QStringLiteral("47   沖縄県"));
}

TEST_F(NationwideDialog, BrokenTreeFilesShowTheErrorAndKeepWhatWasRead) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;  // none: no file
        Keys keys;
        const char* error;  // the run-time error box, "" when none
    };
    const Case cases[] = {
        {"a mesh under a prefecture that is not the latest is skipped",
         {"1,01,北海道", "1,02,青森県", "2,01,644142,x", "2,02,614040,y"},
         {"t", "r01", "r02", "IDX614040"},
         ""},
        {"an empty line and a record of another kind are skipped",
         {"1,01,北海道", "", "3,01,x", "2,01,644142,x"},
         {"t", "r01", "IDX644142"},
         ""},
        {"a repeated mesh code stops the load at its second place",
         {"1,01,北海道", "2,01,644142,x", "1,02,青森県", "2,02,644142,y", "2,02,614040,z"},
         {"t", "r01", "IDX644142", "r02"},
         "35602 キーがコレクション内で一意ではありません。"},
        {"a short record stops the load",
         {"1,01,北海道", "2,01,644142", "2,01,644143,x"},
         {"t", "r01"},
         "9 インデックスが有効範囲にありません。"},
        {"a first field that is no number stops the load",
         {"1,01,北海道", "x,01,644142,x"},
         {"t", "r01"},
         "13 型が一致しません。"},
        {"a missing file leaves the tree empty", {}, {}, "53 ファイルが見つかりません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(folder_.file("DataView.csv"));
        if (!c.lines.empty()) meshTreeFile(c.lines);
        ui_.clearRecords();
        const bool broken = *c.error != '\0';
        if (broken) ui_.answer(Answer::Ok).answer(Answer::Ok);
        auto d = nationwideDialog(DataKind::Line, 3, input("japan.txt"));
        EXPECT_EQ(keys(*d), c.keys);
        ASSERT_EQ(ui_.boxes().size(), broken ? 2u : 0u);
        if (!broken) continue;
        EXPECT_EQ(ui_.boxes()[0].title, "Error: frmDataSetALL (SetMeshTree)");
        EXPECT_THAT(ui_.boxes()[0].text, ::testing::StartsWith(c.error));
        EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Critical);
        EXPECT_EQ(ui_.boxes()[1].text, "View.csvファイルの情報が不正です。確認してください");
        EXPECT_EQ(ui_.boxes()[1].title, "ｴﾗｰﾒｯｾｰｼﾞ");
        EXPECT_EQ(ui_.boxes()[1].icon, ui::Icon::None);
    }
}

TEST_F(NationwideDialog, ATreeWithoutNodesFailsTheSelectionWithItsErrorBox) {
    std::filesystem::remove(folder_.file("DataView.csv"));
    ui_.answer(Answer::Ok).answer(Answer::Ok);
    auto d = nationwideDialog(DataKind::Point, 3, input("japan.txt"));
    const struct {
        std::function<bool()> select;
        const char* title;
    } selections[] = {
        {[&] { return d->SetSelectMesh(); }, "Error: frmDataSetALL (SetSelectMesh)"},
        {[&] { return d->SetSelectMeshLine(); }, "Error: frmDataSetALL (SetSelectMeshLine)"},
        {[&] { bool flag = true; return d->SetSelectMeshPolygon(flag); }, "Error: frmDataSetALL (SetSelectMeshPolygon)"},
    };
    for (const auto& s : selections) {
        ui_.clearRecords();
        ui_.answer(Answer::Ok);
        EXPECT_FALSE(s.select());
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_EQ(ui_.boxes()[0].title, s.title);
        EXPECT_EQ(ui_.boxes()[0].text, "35600 インデックスが範囲を超えています。");
    }
}

TEST_F(NationwideDialog, ClicksInTheWidgetRunTheCascadeWithoutTristate) {
    auto d = nationwideDialog(DataKind::Line, 3, input("japan.txt"));
    clickBox(*d, "r01");
    QTreeWidgetItem* root = d->TreeView->topLevelItem(0);
    QTreeWidgetItem* hokkaido = root->child(0);
    EXPECT_EQ(hokkaido->checkState(0), Qt::Checked);
    EXPECT_EQ(hokkaido->child(0)->checkState(0), Qt::Checked);
    EXPECT_TRUE(hokkaido->child(1)->font(0).bold());
    EXPECT_TRUE(root->font(0).bold());
    // The root's box does not follow its ticked prefecture.
    EXPECT_EQ(root->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(root->flags() & Qt::ItemIsAutoTristate);

    clickBox(*d, "IDX644142");
    EXPECT_EQ(hokkaido->checkState(0), Qt::Checked);
    EXPECT_FALSE(d->meshTree().node(d->meshTree().find("IDX644142")).ticked);
    clickBox(*d, "r01");
    EXPECT_EQ(hokkaido->child(1)->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(hokkaido->child(1)->font(0).bold());
    EXPECT_FALSE(root->font(0).bold());
}

TEST_F(NationwideDialog, ConvertChecksTheOutputInOrderAndRunsTheJobOfTheKind) {
    struct Case {
        std::string typed;
        const char* refusal;  // nullptr: the job runs
        std::string afterwards;
    };
    const std::vector<Case> cases = {
        {"", "出力先のファイル名を指定してください。", ""},
        {"lines", "出力先のフォルダが存在しません", "lines.shp"},
        {out("missing/lines"), "出力先のフォルダが存在しません", out("missing/lines.shp")},
        {out("12345"), "数字のみの出力ファイル名は指定できません。", out("12345.shp")},
        {out("lines"), nullptr, out("lines.shp")},
        {out("LINES.SHP"), nullptr, out("LINES.SHP")},
    };
    auto d = nationwideDialog(DataKind::Line, 3, input("japan.txt"));
    nationwideJobs_.job = [](frmDataSetALL&) { return false; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ui_.clearRecords();
        nationwideJobs_.calls.clear();
        convert(*d, c.typed, c.refusal != nullptr);
        EXPECT_EQ(d->TxtOutPutFile->text().toStdString(), c.afterwards);
        if (c.refusal) {
            ASSERT_EQ(ui_.boxes().size(), 1u);
            EXPECT_EQ(ui_.boxes()[0].text, c.refusal);
            EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
            EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Exclamation);
            EXPECT_TRUE(nationwideJobs_.calls.empty());
        } else {
            EXPECT_EQ(nationwideJobs_.calls, (Keys{"MakeLine"}));
        }
    }
}

TEST_F(NationwideDialog, NoInputFileIsRefusedFirst) {
    auto d = nationwideDialog(DataKind::Line, 3, "");
    d->lblInputFile->clear();
    convert(*d, out("lines"), true);
    EXPECT_EQ(ui_.boxes().at(0).text, "変換元の入力ファイル名を指定してください。");
}

TEST_F(NationwideDialog, TheDatumCodeFollowsTheOptionsAndSuccessClosesTheDialog) {
    struct Case {
        DataKind kind;
        int row;
        bool noPrj, world;
        int datum;
        const char* job;
    };
    const Case cases[] = {
        {DataKind::Point, 3, false, false, 0, "MakePoint"}, {DataKind::Line, 25, false, true, 2000, "MakeLine"},
        {DataKind::Area, 9, true, true, -1, "MakePolygon"}, {DataKind::Mesh, 1, false, false, 0, "MakeMesh"},
        {DataKind::Mesh, 1, true, false, -1, "MakeMesh"},
    };
    for (const Case& c : cases) {
        nationwideJobs_.calls.clear();
        nationwideJobs_.datumCodes.clear();
        auto d = nationwideDialog(c.kind, c.row, input("japan.txt"));
        if (c.world) d->OptSys[1]->click();
        if (c.noPrj) d->OptMake[1]->click();
        EXPECT_EQ(d->FrmSys->isEnabled(), !c.noPrj);
        d->setResult(QDialog::Rejected);
        convert(*d, out("result"), false);
        EXPECT_EQ(nationwideJobs_.calls, (Keys{c.job}));
        EXPECT_EQ(nationwideJobs_.datumCodes, (std::vector<int>{c.datum}));
        EXPECT_EQ(d->result(), QDialog::Accepted);
    }
}

TEST_F(NationwideDialog, AFailedJobLeavesTheDialogOpenWithItsTicksAndClosesTheLog) {
    auto d = nationwideDialog(DataKind::Line, 3, input("japan.txt"));
    clickBox(*d, "r02");
    nationwideJobs_.job = [](frmDataSetALL&) {
        conversionState().LogFileNo.open(conversionState().AppFolder + "Log/left.log", text::LineWriter::Mode::Replace);
        return false;
    };
    d->setResult(QDialog::Rejected);
    convert(*d, out("lines"), false);
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
    EXPECT_TRUE(d->meshTree().node(d->meshTree().find("IDX614040")).ticked);
}

TEST_F(NationwideDialog, TheSaveDialogRemembersItsFolderForTheDialogsLife) {
    auto d = nationwideDialog(DataKind::Line, 3, input("japan.txt"));
    ui_.answerSave(std::nullopt).answerSave(out("first.shp")).answerSave(std::nullopt);
    d->CmdRef->click();
    EXPECT_TRUE(d->TxtOutPutFile->text().isEmpty());
    d->CmdRef->click();
    EXPECT_EQ(d->TxtOutPutFile->text().toStdString(), out("first.shp"));
    d->CmdRef->click();
    ASSERT_EQ(ui_.dialogs().size(), 3u);
    EXPECT_EQ(ui_.dialogs()[0].request.folder, conversionState().AppFolder);
    EXPECT_EQ(ui_.dialogs()[2].request.folder, out(""));
    EXPECT_EQ(d->TxtOutPutFile->text().toStdString(), out("first.shp"));
}

}  // namespace
}  // namespace velmora
