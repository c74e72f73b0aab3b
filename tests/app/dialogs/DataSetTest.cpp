// The file-list job dialog driven through the scripted user interface: its set-up by kind, the file list,
// the output name and its checks, the datum codes, the dispatch to the job procedures and the guard of a
// running job.
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/OutputChecks.h"
#include "app/frmSyusuiSelect.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"
#include "tests/app/dialogs/DialogTest.h"

namespace velmora {
namespace {

using testsupport::DialogTest;
using ui::Answer;

class DataSet : public DialogTest {
protected:
    // Types the output and presses "変　換", answering the one message box of a refusal.
    void convert(frmDataSet& d, const std::string& output, bool refused) {
        d.TxtOutPutFile->setText(QString::fromStdString(output));
        if (refused) ui_.answer(Answer::Ok);
        d.CmdConv->click();
    }
};

TEST_F(DataSet, LoadSetsUpTheDialogByKindAndRow) {
    struct Case {
        DataKind kind;
        int row;
        const char* caption;
        bool prj, sys, fuzoku, doro, ticked;
    };
    const Case cases[] = {
        {DataKind::Point, 3, "変換情報設定漁港", true, true, false, false, false},
        {DataKind::Line, 25, "変換情報設定道路", true, true, false, true, false},
        {DataKind::Line, 26, "変換情報設定", true, true, false, false, false},
        {DataKind::Area, 0, "変換情報設定", true, true, true, false, true},
        {DataKind::Area, 2, "変換情報設定", true, true, true, false, false},
        {DataKind::Area, 9, "変換情報設定湖沼", true, true, true, false, true},
        {DataKind::Mesh, 1, "変換情報設定指定地域メッシュ・1/10細分区画", true, false, false, false, false},
        {DataKind::Attr, 13, "変換情報設定単位流域台帳", false, false, false, false, false},
    };
    const std::vector<std::string> files = {input("a.txt"), input("b.txt")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        auto d = jobDialog(c.kind, c.row, files);
        EXPECT_EQ(d->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(d->frmPrj->isVisibleTo(d.get()), c.prj);
        EXPECT_EQ(d->FrmSys->isVisibleTo(d.get()), c.sys);
        EXPECT_EQ(d->FrmFuzoku->isVisibleTo(d.get()), c.fuzoku);
        EXPECT_EQ(d->lblDoro->isVisibleTo(d.get()), c.doro);
        EXPECT_EQ(d->ChkMakeData[0]->isChecked(), c.ticked);
        EXPECT_EQ(d->ChkMakeData[1]->isChecked(), c.ticked);
        EXPECT_EQ(d->inputFiles(), files);
        EXPECT_TRUE(d->OptMake[0]->isChecked());
        EXPECT_TRUE(d->OptSys[0]->isChecked());
        EXPECT_TRUE(d->TxtOutPutFile->text().isEmpty());
    }
}

TEST_F(DataSet, TheCatchmentRowTakesTheCatchmentDialogsList) {
    frmSyusuiSelect catchments;
    catchments.P_ListInputFile->addItem(QString::fromStdString(input("c.txt")));
    auto d = jobDialog(DataKind::Area, 10, {input("a.txt")});
    EXPECT_EQ(d->inputFiles(), std::vector<std::string>{input("c.txt")});
    EXPECT_TRUE(d->ChkMakeData[0]->isChecked());
}

TEST_F(DataSet, ARowOutsideItsTableShowsTheLoadError) {
    ui_.answer(Answer::Ok);
    auto d = jobDialog(DataKind::Area, 13, {});
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "9 インデックスが有効範囲にありません。");
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmDataSet (Form_Load)");
}

TEST_F(DataSet, ConvertChecksItsInputsInOrder) {
    struct Case {
        DataKind kind;
        bool withFiles;
        std::string typed;
        std::string message;  // empty: the job runs
        std::string afterwards;
    };
    const std::string folderMissing = "出力先のフォルダが存在しません";
    const Case cases[] = {
        {DataKind::Line, false, out("roads"), "変換元の入力ファイル名を指定してください。", out("roads")},
        {DataKind::Line, true, "", "出力先のファイル名を指定してください。", ""},
        {DataKind::Line, true, "roads.shp", folderMissing, "roads.shp"},
        {DataKind::Line, true, "roads", folderMissing, "roads.shp"},
        {DataKind::Line, true, out("none/roads"), folderMissing, out("none/roads.shp")},
        {DataKind::Line, true, out("12345.shp"), "数字のみの出力ファイル名は指定できません。", out("12345.shp")},
        {DataKind::Attr, true, out("-1.5"), "数字のみの出力ファイル名は指定できません。", out("-1.5.dbf")},
        {DataKind::Line, true, out("道路😀"), "出力ファイル名に使用できない文字が含まれています。", out("道路😀.shp")},
        // "〜" has a CP932 code, but it reads back as "～": the output would get another name.
        {DataKind::Line, true, out("道路2006〜2008"), "出力ファイル名に使用できない文字が含まれています。",
         out("道路2006〜2008.shp")},
        {DataKind::Line, true, out("roads"), "", out("roads.shp")},
        {DataKind::Line, true, out("roads.SHP"), "", out("roads.SHP")},
        {DataKind::Line, true, out("roads.shp.txt"), "", out("roads.shp.txt.shp")},
        {DataKind::Attr, true, out("table"), "", out("table.dbf")},
        {DataKind::Line, true, "/roads.shp", "", "/roads.shp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ui_.clearRecords();
        jobs_.outputs.clear();
        auto d = jobDialog(c.kind, c.kind == DataKind::Attr ? 13 : 25, c.withFiles ? std::vector{input("a.txt")}
                                                                                  : std::vector<std::string>{});
        convert(*d, c.typed, !c.message.empty());
        EXPECT_EQ(d->TxtOutPutFile->text().toStdString(), c.afterwards);
        if (c.message.empty()) {
            EXPECT_EQ(jobs_.outputs, std::vector<std::string>{c.afterwards});
            EXPECT_EQ(d->result(), QDialog::Accepted);
            continue;
        }
        EXPECT_TRUE(jobs_.outputs.empty());
        ASSERT_EQ(ui_.boxes().size(), 1u);
        const ui::BoxRecord& box = ui_.boxes()[0];
        EXPECT_EQ(box.text, c.message);
        const bool cp932 = c.message == "出力ファイル名に使用できない文字が含まれています。";
        EXPECT_EQ(box.title, cp932 ? "ｴﾗｰﾒｯｾｰｼﾞ" : "ﾒｯｾｰｼﾞ");
        EXPECT_EQ(box.icon, ui::Icon::Exclamation);
        EXPECT_EQ(box.buttons, ui::Buttons::Ok);
        EXPECT_NE(d->result(), QDialog::Accepted);
    }
}

TEST_F(DataSet, ANumericNameGetsTheFocusAndIsSelected) {
    auto d = jobDialog(DataKind::Point, 3, {input("a.txt")});
    d->show();
    d->activateWindow();
    convert(*d, out("12.5"), true);
    EXPECT_EQ(d->TxtOutPutFile->selectedText().toStdString(), out("12.5.shp"));
    EXPECT_EQ(d->focusWidget(), d->TxtOutPutFile);
}

TEST_F(DataSet, EachKindRunsItsJobProcedureWithItsDatumCode) {
    struct Case {
        DataKind kind;
        int row;
        int makeOption;  // OptMake index clicked
        int sysOption;   // OptSys index selected
        std::int16_t datum;
        const char* procedure;
    };
    const Case cases[] = {
        {DataKind::Point, 3, 0, 0, 0, "MakePoint"},     {DataKind::Point, 3, 0, 1, 2000, "MakePoint"},
        {DataKind::Line, 25, 1, 1, -1, "MakeLine"},     {DataKind::Line, 25, 1, 0, -1, "MakeLine"},
        {DataKind::Area, 9, 0, 1, 2000, "MakePolygon"}, {DataKind::Mesh, 1, 0, 0, 0, "MakeMesh"},
        {DataKind::Mesh, 1, 1, 0, -1, "MakeMesh"},
        // Hidden frames are read as they stand.
        {DataKind::Attr, 13, 0, 0, 0, "MakeAttr"},      {DataKind::Attr, 13, 0, 1, 2000, "MakeAttr"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.procedure);
        jobs_.calls.clear();
        auto d = jobDialog(c.kind, c.row, {input("a.txt")});
        d->OptSys[c.sysOption]->setChecked(true);
        d->OptMake[c.makeOption]->click();
        convert(*d, out("x"), false);
        EXPECT_EQ(jobs_.calls, std::vector<std::string>{c.procedure});
        EXPECT_EQ(conversionState().DatumCode, c.datum);
    }
}

TEST_F(DataSet, NoProjectionFileDisablesTheDatumKeepingItsChoice) {
    auto d = jobDialog(DataKind::Point, 3, {input("a.txt")});
    d->OptSys[1]->setChecked(true);
    d->OptMake[1]->click();
    EXPECT_FALSE(d->FrmSys->isEnabled());
    EXPECT_FALSE(d->OptSys[0]->isEnabled());
    EXPECT_FALSE(d->OptSys[1]->isEnabled());
    EXPECT_TRUE(d->OptSys[1]->isChecked());
    d->OptMake[0]->click();
    EXPECT_TRUE(d->FrmSys->isEnabled());
    EXPECT_TRUE(d->OptSys[1]->isEnabled() && d->OptSys[1]->isChecked());
}

TEST_F(DataSet, AFailedJobLeavesTheDialogOpenAndClosesTheLogAndInput) {
    auto d = jobDialog(DataKind::Line, 25, {input("a.txt")});
    d->show();
    ConversionState& s = conversionState();
    jobs_.job = [&](frmDataSet&) {
        s.LogFilePath = folder_.file("Log/job.log");
        s.LogFileNo.open(s.LogFilePath, text::LineWriter::Mode::Replace);
        s.InFileNo.open(input("a.txt"));
        return false;
    };
    convert(*d, out("roads"), false);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->TxtOutPutFile->text().toStdString(), out("roads.shp"));
    EXPECT_FALSE(s.LogFileNo.isOpen());
    EXPECT_FALSE(s.InFileNo.isOpen());
    EXPECT_EQ(d->inputFiles().size(), 1u);
}

TEST_F(DataSet, ARunTimeErrorOfTheJobClosesTheFilesShowsItsBoxAndKeepsTheDialog) {
    auto d = jobDialog(DataKind::Line, 25, {input("a.txt")});
    d->show();
    ConversionState& s = conversionState();
    jobs_.job = [&](frmDataSet&) -> bool {
        s.LogFilePath = folder_.file("Log/job.log");
        s.LogFileNo.open(s.LogFilePath, text::LineWriter::Mode::Replace);
        s.InFileNo.open(input("a.txt"));
        throw RunTimeError(err::FileNotFound, "File not found");
    };
    convert(*d, out("roads"), true);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "53 ファイルが見つかりません。");
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmDataSet (frmDataSet CmdConv_Click)");
    EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui_.boxes()[0].systemModal);
    EXPECT_FALSE(s.LogFileNo.isOpen());
    EXPECT_FALSE(s.InFileNo.isOpen());
    EXPECT_FALSE(ui_.busy());
    EXPECT_FALSE(d->jobRunning());
    EXPECT_TRUE(d->isVisible());
    EXPECT_NE(d->result(), QDialog::Accepted);
}

// Without installed procedures the dialog runs the built-in ones: the area job refuses an input path the
// polygon library would split.
TEST_F(DataSet, WithoutInstalledProceduresTheBuiltInJobRuns) {
    setFileListJobProcedures(nullptr);
    velmora::conversionState().PolygonMakeMode = 1;
    auto d = jobDialog(DataKind::Area, 9, {input("a,b.txt")});
    d->show();
    convert(*d, out("p"), true);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_TRUE(d->isVisible());
    EXPECT_NE(d->result(), QDialog::Accepted);
}

TEST_F(DataSet, WhileAJobRunsTheDialogStartsNothingElseAndDoesNotClose) {
    auto d = jobDialog(DataKind::Point, 3, {input("a.txt")});
    d->show();
    bool busyDuringJob = false;
    jobs_.job = [&](frmDataSet& dialog) {
        busyDuringJob = ui_.busy();
        EXPECT_TRUE(dialog.jobRunning());
        dialog.CmdConv->click();
        dialog.cmdEnd->click();
        dialog.close();
        dialog.reject();
        dialog.LvwInFile->item(0)->setSelected(true);
        dialog.CmdFileDel->click();
        dialog.CmdFileAdd->click();
        dialog.CmdRef->click();
        EXPECT_TRUE(dialog.isVisible());
        return false;
    };
    convert(*d, out("p"), false);
    EXPECT_EQ(jobs_.calls.size(), 1u);
    EXPECT_TRUE(busyDuringJob);
    EXPECT_FALSE(ui_.busy());
    EXPECT_FALSE(d->jobRunning());
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->inputFiles().size(), 1u);
    // Now it closes.
    d->cmdEnd->click();
    EXPECT_FALSE(d->isVisible());
}

TEST_F(DataSet, FilesAreAddedInOrderDuplicatesIncludedAndRemovedBySelection) {
    const std::string a = input("a.txt"), b = input("b.txt"), c = (folder_.path() / "in" / "c.txt").string();
    auto d = jobDialog(DataKind::Point, 3, {a});
    // No folder remembered yet: the add dialog starts beside the last listed file. The name of a file that
    // is not there (c) may be typed: the job checks its inputs.
    ui_.answerOpen({a, b, c}).answerOpen({}).answerOpen({b});
    d->CmdFileAdd->click();
    d->CmdFileAdd->click();
    d->CmdFileAdd->click();
    EXPECT_EQ(d->inputFiles(), (std::vector<std::string>{a, a, b, c, b}));
    ASSERT_EQ(ui_.dialogs().size(), 3u);
    EXPECT_EQ(ui_.dialogs()[0].request.folder, (folder_.path() / "in").string() + "/");
    EXPECT_EQ(ui_.dialogs()[0].request.filter, "漁港変換元データ (*.txt *.csv);;すべてのファイル (*)");
    EXPECT_TRUE(ui_.dialogs()[0].request.multiple);
    EXPECT_FALSE(ui_.dialogs()[0].request.mustExist);

    d->LvwInFile->item(1)->setSelected(true);
    d->LvwInFile->item(4)->setSelected(true);
    d->CmdFileDel->click();
    EXPECT_EQ(d->inputFiles(), (std::vector<std::string>{a, b, c}));

    for (int i = 0; i < d->LvwInFile->count(); ++i) d->LvwInFile->item(i)->setSelected(true);
    d->CmdFileDel->click();
    EXPECT_TRUE(d->inputFiles().empty());
    convert(*d, out("p"), true);
    EXPECT_EQ(ui_.boxes().back().text, "変換元の入力ファイル名を指定してください。");
    EXPECT_EQ(ui_.boxes().back().title, "ﾒｯｾｰｼﾞ");
    EXPECT_TRUE(jobs_.calls.empty());
}

TEST_F(DataSet, TheSaveDialogRemembersItsFolderForTheRun) {
    {
        auto d = jobDialog(DataKind::Attr, 13, {input("a.txt")});
        ui_.answerSave(out("t.dbf")).answerSave(std::nullopt);
        d->CmdRef->click();
        EXPECT_EQ(d->TxtOutPutFile->text().toStdString(), out("t.dbf"));
        d->CmdRef->click();
        EXPECT_EQ(d->TxtOutPutFile->text().toStdString(), out("t.dbf"));
    }
    auto d = jobDialog(DataKind::Line, 25, {input("a.txt")});
    ui_.answerSave(std::nullopt);
    d->CmdRef->click();
    ASSERT_EQ(ui_.dialogs().size(), 3u);
    EXPECT_EQ(ui_.dialogs()[0].request.folder, folder_.path().string() + "/");
    EXPECT_EQ(ui_.dialogs()[0].request.filter, "表データ (*.dbf);;すべてのファイル (*)");
    EXPECT_EQ(ui_.dialogs()[2].request.folder, (folder_.path() / "out").string() + "/");
    EXPECT_EQ(ui_.dialogs()[2].request.filter, "シェープファイル (*.shp);;すべてのファイル (*)");
}

// The job procedures begin with the output checks: through the dialog the user sees their questions and
// refusals, and the dialog closes only after a finished job.
TEST_F(DataSet, TheOutputChecksOfAJobSpeakThroughTheDialog) {
    jobs_.job = [](frmDataSet& dialog) {
        return modCommon::ChkOutPutFilePath(dialog.TxtOutPutFile->text().toStdString(),
                                            dialog.ChkMakeData[0]->isChecked() ? 1 : 0,
                                            dialog.ChkMakeData[1]->isChecked() ? 1 : 0) == 0;
    };
    testsupport::TempProgramFolder::write(out("lakes.shp"), "x");
    testsupport::TempProgramFolder::write(out("lakes_P.shp"), "x");
    map_.files = {out("lakes_P.shp")};
    auto d = jobDialog(DataKind::Area, 9, {input("a.txt")});
    d->show();
    ui_.answer(Answer::Ok);
    d->TxtOutPutFile->setText(QString::fromStdString(out("lakes")));
    d->CmdConv->click();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(ui_.boxes().back().text,
              "既にマップに下記のシェープファイルが追加されているため上書きできません\r\n" + out("lakes_P.shp"));

    // Without the representative points only the existing polygon file is asked about.
    d->ChkMakeData[0]->setChecked(false);
    ui_.answer(Answer::Yes);
    d->CmdConv->click();
    EXPECT_EQ(ui_.boxes().back().text, "既に下記のシェープファイルが存在します、上書きしますか？\r\n" + out("lakes.shp"));
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FALSE(d->isVisible());
}

}  // namespace
}  // namespace velmora
