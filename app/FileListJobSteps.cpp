#include "app/FileListJobSteps.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QLineEdit>

#include "convert/core/ConversionLog.h"
#include "app/frmDataSet.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "platform/ui/UiService.h"
#include "viewer/clsMapToolControl.h"
#include "viewer/frmMapMain.h"

namespace velmora::jobs {

JobSettings readSettings(const frmDataSet& dialog) {
    JobSettings s;
    s.output = dialog.TxtOutPutFile->text().toStdString();
    s.files = dialog.inputFiles();
    conversionState().JobInputFiles = s.files;
    s.pointOption = dialog.ChkMakeData[0]->isChecked() ? 1 : 0;
    s.lineOption = dialog.ChkMakeData[1]->isChecked() ? 1 : 0;
    return s;
}

void connectProgress(frmDataSet& dialog) { connectProgress(dialog.ProgressBar, dialog.lblMsg); }

void connectProgress(QProgressBar* bar, QLabel* label) {
    ConversionState& s = conversionState();
    s.ConvProgressBar = bar;
    s.ConvMsgLabel = label;
}

void hideProgress() { progress::setVisible(false); }

void fillAndHideProgress() {
    progress::fill();
    hideProgress();
}

void openJobLog() {
    text::forgetReadPosition();
    conversionState().LogFilePath = modCommon::makeLogFilePath();
    modCommon::openLogFile(text::LineWriter::Mode::Replace);
    // Refused with the log open, so that it holds the cause.
    modCommon::ChkSelectedItemRows();
}

void endJobLog() {
    modCommon::PutLogFileMsg(99, "");
    conversionState().LogFileNo.close();
}

bool runShapeWriter(std::initializer_list<WriterSlot*> close, const char* caption, const char* failureMessage) {
    for (WriterSlot* slot : close) slot->close();
    progress::setCaption(caption);
    yield();
    if (!shapedesc::runShapeWriterOnPair(shapedesc::PairDeletion::Never, failureMessage)) return false;
    yield();
    return true;
}

void askToAddToMap(const char* question, const std::vector<std::string>& paths, MapAddition addition) {
    // What the user must know of the output before taking it: input files that held fewer records than
    // their headers state.
    std::vector<std::string>& notices = conversionState().FewerRecordNotices;
    if (!notices.empty()) {
        std::string text;
        for (const std::string& n : notices) text += (text.empty() ? "" : "\r") + n;
        notices.clear();
        ui::message(text, "ﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
    }
    if (ui::message(question, "ﾒｯｾｰｼﾞ", ui::Icon::Question, ui::Buttons::YesNo) != ui::Answer::Yes) return;
    frmMapMain* window = frmMapMain::instance();
    if (!window || !window->pMapTool) return;
    // The shape writer names its files base + ".shp" / ".dbf" in lower case: "roads.SHP" typed by the user
    // is written as "roads.shp", and that is the file the map must be given.
    for (const std::string& path : paths) {
        if (addition == MapAddition::Layers)
            window->pMapTool->AddLayer(shapedesc::shapeBaseName(path) + ".shp");
        else
            window->pMapTool->AddTable(shapedesc::tableBaseName(path) + ".dbf");
    }
}

void showProcedureError(const char* procedure, const std::exception& e) {
    ui::showError(e, std::string("Error: frmDataSet (frmDataSet ") + procedure + ")");
}

bool failed(const char* procedure, std::initializer_list<WriterSlot*> ownFiles, const std::exception* pending) {
    return failedTitled(std::string("Error: frmDataSet (frmDataSet ") + procedure + ")", ownFiles, pending);
}

bool failedTitled(const std::string& errorTitle, std::initializer_list<WriterSlot*> ownFiles,
                  const std::exception* pending) {
    ConversionState& s = conversionState();
    // The box first: it leaves its cause in the job's log. A log that a step closed again (the area
    // job's, handed to the polygon library) is reopened for it.
    if (pending && !s.LogFileNo.isOpen() && !s.LogFilePath.empty()) {
        try {
            modCommon::openLogFile(text::LineWriter::Mode::Append);
        } catch (const std::exception&) {
            // The box still names the cause.
        }
    }
    if (pending) ui::showError(*pending, errorTitle);
    s.LogFileNo.closeQuietly();
    s.InFileNo.closeQuietly();
    for (WriterSlot* slot : ownFiles) slot->closeQuietly();
    hideProgress();
    return false;
}

void yield() { ui::service().yield(); }

}  // namespace velmora::jobs
