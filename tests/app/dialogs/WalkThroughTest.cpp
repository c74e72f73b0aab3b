// A user's way through the real widgets (the Qt user interface, not the scripted one): the main window's
// menu, the data-kind dialog, the polygon question, the open dialog, the file-list job dialog, its refusal
// and the output checks' question. Each step waits for the window it acts on to be the active modal one.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/JobProcedures.h"
#include "app/OutputChecks.h"
#include "app/frmDataSelect.h"
#include "app/frmDataSet.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestApplication.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "viewer/frmMapMain.h"

namespace fs = std::filesystem;

namespace velmora {
namespace {

// Jobs that do what the job procedures do first: the output checks.
class CheckingJobs : public FileListJobProcedures {
public:
    CheckingJobs() { setFileListJobProcedures(this); }
    ~CheckingJobs() override { setFileListJobProcedures(nullptr); }
    bool MakePoint(frmDataSet& d) override { return check(d); }
    bool MakeLine(frmDataSet& d) override { return check(d); }
    bool MakePolygon(frmDataSet& d) override { return check(d); }
    bool MakeMesh(frmDataSet& d) override { return check(d); }
    bool MakeAttr(frmDataSet& d) override { return check(d); }

private:
    static bool check(frmDataSet& d) {
        return modCommon::ChkOutPutFilePath(d.TxtOutPutFile->text().toStdString(),
                                            d.ChkMakeData[0]->isChecked() ? 1 : 0,
                                            d.ChkMakeData[1]->isChecked() ? 1 : 0) == 0;
    }
};

// One step: the active modal window it waits for (by class) and what the user does there.
struct Step {
    const char* what;
    std::function<bool(QWidget*)> ready;
    std::function<void(QWidget*)> act;
};

template <class W>
std::function<bool(QWidget*)> modal(std::function<bool(W&)> also = {}) {
    return [also](QWidget* w) {
        auto* t = qobject_cast<W*>(w);
        return t && t->isVisible() && (!also || also(*t));
    };
}

std::function<bool(QWidget*)> box(const std::string& text) {
    return modal<QMessageBox>([text](QMessageBox& b) { return b.text() == QString::fromStdString(text); });
}

void click(QMessageBox& b, QMessageBox::StandardButton which) { b.button(which)->click(); }

TEST(WalkThrough, AreaConversionThroughTheRealDialogs) {
    testsupport::TempProgramFolder folder;
    ui::testApplication();
    for (const char* name : {"DataDBF.csv", "DataDBFItem.csv"})
        fs::copy_file(fs::path(VELMORA_FIXTURES) / "catalogue" / "sample" / name, folder.path() / name);
    fs::create_directories(folder.path() / "in");
    fs::create_directories(folder.path() / "out");
    const fs::path input = folder.path() / "in" / "lakes.txt";
    testsupport::TempProgramFolder::write(input, text::toCp932("W09  湖沼") + "\r\n");
    const std::string output = (folder.path() / "out" / "lakes").string();
    testsupport::TempProgramFolder::write(output + ".shp", "x");
    frmDataSelect::lastInputFolder().clear();
    CheckingJobs jobs;

    frmMapMain window;
    window.show();
    const std::vector<Step> steps = {
        {"the data-kind dialog on the area tab",
         modal<frmDataSelect>([](frmDataSelect& d) { return d.SSTabData->currentIndex() == 2; }),
         [](QWidget* w) { static_cast<frmDataSelect*>(w)->CmdPolygonKind[9]->click(); }},
        {"the polygon question", modal<QMessageBox>([](QMessageBox& b) {
             return b.windowTitle() == "ﾎﾟﾘｺﾞﾝ作成ﾒｯｾｰｼﾞ" && b.text().startsWith("湖沼には");
         }),
         [](QWidget* w) { click(*static_cast<QMessageBox*>(w), QMessageBox::Yes); }},
        {"the open dialog with the item's filter", modal<QFileDialog>([](QFileDialog& f) {
             return f.nameFilters().value(0) == "湖沼変換元データ (*.txt *.csv)";
         }),
         [&](QWidget* w) {
             auto* f = static_cast<QFileDialog*>(w);
             // Typed into the name box, as a user would (the file list fills asynchronously).
             f->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(input.string()));
             QMetaObject::invokeMethod(f, "accept");
         }},
        {"the file-list job dialog with the file", modal<frmDataSet>([&](frmDataSet& d) {
             return d.windowTitle() == "変換情報設定湖沼" && d.inputFiles() == std::vector{input.string()};
         }),
         [](QWidget* w) {
             auto* d = static_cast<frmDataSet*>(w);
             d->TxtOutPutFile->setText("lakes");
             d->CmdConv->click();
         }},
        {"the refusal of a name without folder", box("出力先のフォルダが存在しません"),
         [](QWidget* w) { click(*static_cast<QMessageBox*>(w), QMessageBox::Ok); }},
        {"the job dialog again, with the completed name", modal<frmDataSet>([](frmDataSet& d) {
             return d.TxtOutPutFile->text() == "lakes.shp";
         }),
         [&](QWidget* w) {
             auto* d = static_cast<frmDataSet*>(w);
             d->ChkMakeData[0]->setChecked(false);
             d->ChkMakeData[1]->setChecked(false);
             d->TxtOutPutFile->setText(QString::fromStdString(output));
             d->CmdConv->click();
         }},
        {"the overwrite question, answered No",
         box("既に下記のシェープファイルが存在します、上書きしますか？\n" + output + ".shp"),
         [](QWidget* w) { click(*static_cast<QMessageBox*>(w), QMessageBox::No); }},
        // Once the refused attempt has let the program folder go: a click while it unwinds would be a second
        // job in the folder.
        {"the job dialog still open, the folder free",
         modal<frmDataSet>([&](frmDataSet&) { return !fs::exists(folder.path() / "Velmora.lock"); }),
         [](QWidget* w) { static_cast<frmDataSet*>(w)->CmdConv->click(); }},
        {"the overwrite question, answered Yes",
         box("既に下記のシェープファイルが存在します、上書きしますか？\n" + output + ".shp"),
         [](QWidget* w) { click(*static_cast<QMessageBox*>(w), QMessageBox::Yes); }},
        {"the data-kind dialog after the finished job", modal<frmDataSelect>(),
         [](QWidget* w) { w->close(); }},
    };

    std::size_t next = 0;
    QTimer driver;
    driver.setInterval(10);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (next == steps.size()) return;
        QWidget* active = QApplication::activeModalWidget();
        if (!steps[next].ready(active)) return;
        // Acted upon from an event of its own: an act that opens a modal window must not hold up the
        // driver, whose timer does not fire again while its handler runs.
        const Step& step = steps[next++];
        QTimer::singleShot(0, active, [&step, active] { step.act(active); });
    });
    driver.start();
    // Should a step never come, the walk is given up after a while (the open modal windows closed).
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [&] {
        driver.stop();
        for (int i = 0; i < 20; ++i) {
            QWidget* w = QApplication::activeModalWidget();
            if (!w) break;
            auto* b = qobject_cast<QMessageBox*>(w);
            ADD_FAILURE() << "left open: " << w->metaObject()->className() << " \""
                          << w->windowTitle().toStdString() << "\" " << (b ? b->text().toStdString() : "");
            if (b)
                b->buttons().value(0)->click();
            else
                w->close();
        }
    });
    giveUp.start(20000);

    window.mnuConv1[3]->trigger();
    driver.stop();
    giveUp.stop();
    ASSERT_EQ(next, steps.size()) << "stopped before: " << steps[std::min(next, steps.size() - 1)].what;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmDataSelect::current(), nullptr);
}

}  // namespace
}  // namespace velmora
