// tryout: a line conversion as a new user makes it, through the real windows and the real Qt user
// interface: the main window's line conversion, the line item's button, the open dialog with two files,
// the job dialog with an output name, convert, the closing question. Every window met is saved as a
// picture (QWidget::grab) into SHOTS, numbered in order; every message box is also printed.
//
//   tryout PROGRAM_FOLDER SHOTS ROW OUTPUT INPUT...
//
// PROGRAM_FOLDER holds Brunhale, the catalogue files and Log/. Run it under Xvfb (DISPLAY set).
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/core/ConversionState.h"
#include "app/Main.h"
#include "app/frmDataSelect.h"
#include "app/frmDataSet.h"
#include "viewer/frmMapMain.h"

namespace {

std::string shots;
int shotNumber = 0;

void shoot(QWidget* w, const char* what) {
    const QString name = QString::fromStdString(shots) + QStringLiteral("/%1-%2.png").arg(++shotNumber, 2, 10, QChar('0')).arg(what);
    w->grab().save(name);
    std::printf("shot: %s\n", name.toUtf8().constData());
}

// Runs an action after the current event, so that a modal run it starts does not block the poller.
template <class F>
void later(F f) {
    QTimer::singleShot(0, f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: tryout PROGRAM_FOLDER SHOTS ROW OUTPUT INPUT...\n");
        return 2;
    }
    QApplication app(argc, argv);
    velmora::setProgramFolder(argv[1]);
    shots = argv[2];
    const int row = std::atoi(argv[3]);
    const QString output = QString::fromLocal8Bit(argv[4]);
    std::vector<std::string> inputs(argv + 5, argv + argc);
    if (!velmora::modCommon::Main()) return 1;

    enum class Step { Start, Select, Open, Job, Done } step = Step::Start;
    QTimer poll;
    poll.setInterval(300);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            std::printf("box: %s | %s\n", box->windowTitle().toUtf8().constData(), box->text().toUtf8().constData());
            shoot(box, "box");
            QAbstractButton* answer = box->button(QMessageBox::No) ? box->button(QMessageBox::No) : box->defaultButton();
            later([answer] { answer->click(); });
            return;
        }
        switch (step) {
            case Step::Start:
                shoot(frmMapMain::instance(), "main");
                step = Step::Select;
                later([] { frmMapMain::instance()->mnuConv1[2]->trigger(); });
                break;
            case Step::Select:
                if (auto* select = qobject_cast<frmDataSelect*>(modal)) {
                    shoot(select, "data-kind");
                    step = Step::Open;
                    later([select, row] { select->CmdLineKind.at(static_cast<std::size_t>(row))->click(); });
                }
                break;
            case Step::Open:
                if (auto* open = qobject_cast<QFileDialog*>(modal)) {
                    open->setDirectory(QString::fromStdString(std::filesystem::path(inputs.front()).parent_path().string()));
                    QString names;
                    for (const std::string& f : inputs)
                        names += "\"" + QString::fromStdString(std::filesystem::path(f).filename().string()) + "\" ";
                    open->findChild<QLineEdit*>("fileNameEdit")->setText(names.trimmed());
                    shoot(open, "open");
                    step = Step::Job;
                    later([open] { static_cast<QDialog*>(open)->accept(); });
                }
                break;
            case Step::Job:
                if (auto* job = qobject_cast<frmDataSet*>(modal)) {
                    job->TxtOutPutFile->setText(output);
                    shoot(job, "job");
                    step = Step::Done;
                    later([job] { job->CmdConv->click(); });
                }
                break;
            case Step::Done:
                if (auto* select = qobject_cast<frmDataSelect*>(modal)) {
                    shoot(select, "back");
                    later([select] { select->reject(); });
                } else if (!modal) {
                    shoot(frmMapMain::instance(), "end");
                    app.quit();
                }
                break;
        }
    });
    poll.start();
    return app.exec();
}
