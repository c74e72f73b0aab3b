// The progress dialog on Qt's offscreen platform: a job run through it, the bar and the refused ways of
// closing it; and the built library choosing it when a QApplication runs on the calling thread.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDevice>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QTimer>
#include <atomic>
#include <thread>

#include "platform/ui/TestApplication.h"
#include "polygon/core/PolygonJob.h"
#include "polygon/lib/OstrandExports.h"
#include "polygon/lib/QtJobUi.h"
#include "tests/polygon/job/JobFiles.h"

namespace {

using ostrand::CProcessingDlg;
using ostrand::JobResult;
using ostrand::PolygonJob;
using ostrand::PolygonStats;
using polygontest::grid_file;
using polygontest::TempFolder;

// Records the status texts in the order the worker sets them, and holds the worker at its first text
// until the test has tried to close the window.
class GatedUi : public ostrand::QtJobUi {
public:
    void set_read_text(const std::string& t) override {
        texts.push_back(t);
        while (!gate_open) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        QtJobUi::set_read_text(t);
    }
    void set_convert_text(const std::string& t) override {
        texts.push_back(t);
        QtJobUi::set_convert_text(t);
    }
    void set_shape_text(const std::string& t) override {
        texts.push_back(t);
        QtJobUi::set_shape_text(t);
    }
    void set_dbf_text(const std::string& t) override {
        texts.push_back(t);
        QtJobUi::set_dbf_text(t);
    }
    std::vector<std::string> texts;  // worker thread only until the job has ended
    std::atomic<bool> gate_open{true};
};

// Calls `f` on the calling thread's event loop every few milliseconds until it returns true.
void poll(QObject* owner, std::function<bool()> f) {
    auto* timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, f] {
        if (f()) timer->deleteLater();
    });
    timer->start(5);
}

class ProcessingDlg : public testing::Test {
protected:
    void SetUp() override { velmora::ui::testApplication(); }
    TempFolder dir{"processing-dlg"};
};

TEST_F(ProcessingDlg, JobRunsThroughTheDialogWhichCannotBeClosedMeanwhile) {
    const std::string in = grid_file(dir, "in", 3), out = dir.file("o.shp"), log = dir.file("l.log");
    GatedUi ui;
    ui.gate_open = false;
    CProcessingDlg& dlg = ui.dialog;
    bool tried = false, stayed_open = false;
    QObject owner;
    poll(&owner, [&] {
        if (!dlg.isVisible()) return false;
        // Handed to the dialog itself: through the application, a key press makes Qt create objects that
        // the test's static QApplication would destroy too late at exit.
        QInputDevice keyboard("test keyboard", 1, QInputDevice::DeviceType::Keyboard);
        for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, 0, 0, 0, QString(), false, 1, &keyboard);
            static_cast<QObject&>(dlg).event(&press);
        }
        dlg.close();
        tried = true;
        stayed_open = dlg.isVisible();
        ui.gate_open = true;
        return true;
    });

    PolygonJob job(3, in.c_str(), out.c_str(), log.c_str(), "", nullptr, ui);
    PolygonStats stats;
    EXPECT_EQ(job.run(&stats), JobResult::Ok);
    EXPECT_EQ(stats.made, 4);
    EXPECT_TRUE(tried);
    EXPECT_TRUE(stayed_open);
    EXPECT_FALSE(dlg.isVisible());

    EXPECT_EQ(ui.texts, (std::vector<std::string>{
                            "国土数値情報データ(*.txt)を読み込んでいます。", "国土数値情報データ(*.txt)を読み込みました。",
                            "ポリゴンデータに変換しています。", "ポリゴンデータに変換しました。",
                            "Shapeファイル(*.shp, *.shx)を保存しています。", "Shapeファイル(*.shp, *.shx)を保存しました。",
                            "属性データファイル(*.dbf)を保存しています。", "属性データファイル(*.dbf)を保存しました。"}));
    EXPECT_EQ(dlg.read_text->text(), "国土数値情報データ(*.txt)を読み込みました。");
    EXPECT_EQ(dlg.convert_text->text(), "ポリゴンデータに変換しました。");
    EXPECT_EQ(dlg.shape_text->text(), "Shapeファイル(*.shp, *.shx)を保存しました。");
    EXPECT_EQ(dlg.dbf_text->text(), "属性データファイル(*.dbf)を保存しました。");
    EXPECT_EQ(dlg.progress->maximum(), 10000);
    EXPECT_EQ(dlg.progress->value(), 10000);
    EXPECT_EQ(dlg.windowTitle(), "ポリゴン変換処理中...");
}

TEST_F(ProcessingDlg, FailureBoxesAreOwnedByTheDialog) {
    const std::string in = grid_file(dir, "in", 3), out = dir.file("missing/o.shp"), log = dir.file("l.log");
    ostrand::QtJobUi ui;
    std::vector<QString> seen;
    QObject owner;
    poll(&owner, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible()) {
            EXPECT_EQ(box->parentWidget(), &ui.dialog);
            seen.push_back(box->windowTitle() + "|" + box->text());
            box->accept();
        }
        return seen.size() == 2;
    });
    PolygonJob job(3, in.c_str(), out.c_str(), log.c_str(), "", nullptr, ui);
    PolygonStats stats;
    EXPECT_EQ(job.run(&stats), JobResult::ProcessingError);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].startsWith("エラー|"));
    EXPECT_EQ(seen[1], "エラー|エラーが生じたため中止します。");
    EXPECT_LT(ui.dialog.progress->value(), ui.dialog.progress->maximum());
}

TEST_F(ProcessingDlg, BarAndLinesOfAFreshDialog) {
    CProcessingDlg dlg;
    dlg.stop_progress();
    EXPECT_EQ(dlg.progress->value(), 0);
    EXPECT_FALSE(dlg.closable());
    for (QLabel* l : {dlg.read_text, dlg.convert_text, dlg.shape_text, dlg.dbf_text}) EXPECT_TRUE(l->text().isEmpty());
    dlg.set_shape_text("x");
    dlg.set_shape_text("y");
    EXPECT_EQ(dlg.shape_text->text(), "y");
    EXPECT_TRUE(dlg.read_text->text().isEmpty());

    dlg.start_progress(400000);
    EXPECT_EQ(dlg.progress->maximum(), 400000);
    EXPECT_EQ(dlg.progress->value(), 200);
    bool done = false;
    dlg.finish_progress([&] { done = true; });
    while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(dlg.progress->value(), 400000);
    EXPECT_TRUE(dlg.closable());
}

// With a QApplication on the calling thread the library shows its own progress dialog.
TEST_F(ProcessingDlg, LibraryShowsItsDialogUnderAQApplication) {
    void* lib = ::dlopen(VELMORA_PROGRAM_DIR "/libOstrand.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << ::dlerror();
    auto area = reinterpret_cast<OstrandFunction>(::dlsym(lib, "Ostrand"));
    ASSERT_NE(area, nullptr);
    const std::string in = grid_file(dir, "in", 0), out = dir.file("o.shp"), log = dir.file("l.log");
    bool dialog_seen = false;
    QObject owner;
    poll(&owner, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == "ポリゴン変換処理中...") dialog_seen = true;
        return dialog_seen;
    });
    std::int32_t total = 0, made = 0, incomplete = 0, rural = 0;
    EXPECT_EQ(area(0, in.c_str(), out.c_str(), log.c_str(), nullptr, &total, &made, &incomplete, &rural), 0);
    EXPECT_EQ(made, 4);
    EXPECT_TRUE(dialog_seen);
}

}  // namespace
