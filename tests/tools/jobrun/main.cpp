// jobrun: runs one conversion job exactly as a job dialog's convert button does — the real frmDataSet
// (or, with --nationwide, frmDataSetALL) on Qt's offscreen platform, the real job procedures, the
// scripted user interface — for tests and benchmarks.
//
//   jobrun --program-folder DIR --kind point|line|area|mesh|attr --row N [--datum -1|0|2000]
//          [--answer yes|no]... [--polygons yes|no] [--attached none|points|lines|both]
//          [--catchments CODE,...] --out PATH INPUT...
//   jobrun --nationwide [--all] [--prefectures CODE,...] [--meshes CODE,...|@FILE]... <as above, one INPUT>
//
// DIR holds Brunhale, libOstrand.so, the catalogue files, DataView.csv and Log/; a relative PATH is taken
// against the working folder. Each --answer answers the next question; questions beyond them are answered
// No. The nationwide dialog's tree is ticked as a user clicks it, one click per root (--all), prefecture or
// mesh code, in the order given (@FILE: codes separated by commas, blanks or line ends). Area jobs:
// --polygons is the answer to whether polygons are to be built (default yes), --attached the
// attached-output boxes (default: as the dialog ticks them), --catchments the catchment row's codes,
// clicked in the catchment dialog's tree (DataSyusui.csv of DIR) before its OK, whose open dialog gets the
// inputs. Prints "box: <title> | <text>" per message box while it is shown (the polygon library's
// own boxes too, which are answered OK, or No to a question), then "result: success" or
// "result: failure"; exits 0 or 1 (2 for a wrong command line).
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidgetItem>
#include <array>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "convert/core/ConversionState.h"
#include "app/frmDataSelect.h"
#include "app/frmDataSet.h"
#include "app/frmDataSetALL.h"
#include "app/frmSyusuiSelect.h"
#include "app/CatchmentTree.h"
#include "app/MeshTree.h"
#include "tests/tools/jobrun/JobRunUi.h"
#include "viewer/frmMapMain.h"

using namespace velmora;

namespace {

struct Options {
    std::string programFolder;
    DataKind kind = DataKind::Point;
    int row = 0;
    int datum = 0;
    std::deque<ui::Answer> answers;
    std::string out;
    std::vector<std::string> inputs;
    bool nationwide = false;
    // Keys of the tree nodes to tick, in order.
    std::vector<std::string> ticks;
    std::int16_t polygonMakeMode = 1;
    std::optional<std::array<bool, 2>> attached;  // representative points, boundary lines
    std::optional<std::string> catchments;
};

// Codes separated by commas, blanks or line ends; "@FILE" reads them from a file.
std::vector<std::string> codeList(const std::string& value) {
    std::string textOfCodes = value;
    if (!value.empty() && value.front() == '@') {
        std::ifstream f(value.substr(1));
        if (!f) throw std::invalid_argument("cannot read " + value.substr(1));
        textOfCodes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    for (char& c : textOfCodes)
        if (c == ',' || c == '\r' || c == '\n' || c == '\t') c = ' ';
    std::vector<std::string> codes;
    std::istringstream in(textOfCodes);
    for (std::string code; in >> code;) codes.push_back(code);
    return codes;
}

Options parse(int argc, char** argv) {
    static const std::map<std::string, DataKind> kinds = {{"point", DataKind::Point}, {"line", DataKind::Line},
                                                          {"area", DataKind::Area},   {"mesh", DataKind::Mesh},
                                                          {"attr", DataKind::Attr}};
    Options o;
    bool haveFolder = false, haveKind = false, haveRow = false, haveOut = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
            return argv[++i];
        };
        if (a == "--program-folder") {
            o.programFolder = std::filesystem::absolute(value()).lexically_normal().string();
            while (o.programFolder.size() > 1 && o.programFolder.back() == '/') o.programFolder.pop_back();
            haveFolder = true;
        } else if (a == "--kind") {
            const auto k = kinds.find(value());
            if (k == kinds.end()) throw std::invalid_argument("unknown kind");
            o.kind = k->second;
            haveKind = true;
        } else if (a == "--row") {
            o.row = std::stoi(value());
            haveRow = true;
        } else if (a == "--datum") {
            o.datum = std::stoi(value());
            if (o.datum != -1 && o.datum != 0 && o.datum != 2000) throw std::invalid_argument("datum -1, 0 or 2000");
        } else if (a == "--answer") {
            const std::string v = value();
            if (v != "yes" && v != "no") throw std::invalid_argument("answer yes or no");
            o.answers.push_back(v == "yes" ? ui::Answer::Yes : ui::Answer::No);
        } else if (a == "--polygons") {
            const std::string v = value();
            if (v != "yes" && v != "no") throw std::invalid_argument("polygons yes or no");
            o.polygonMakeMode = v == "yes" ? 1 : 2;
        } else if (a == "--attached") {
            static const std::map<std::string, std::array<bool, 2>> boxes = {
                {"none", {false, false}}, {"points", {true, false}}, {"lines", {false, true}}, {"both", {true, true}}};
            const auto b = boxes.find(value());
            if (b == boxes.end()) throw std::invalid_argument("attached none, points, lines or both");
            o.attached = b->second;
        } else if (a == "--catchments") {
            o.catchments = value();
        } else if (a == "--nationwide") {
            o.nationwide = true;
        } else if (a == "--all") {
            o.ticks.push_back(kMeshTreeRootKey);
        } else if (a == "--prefectures") {
            for (const std::string& c : codeList(value())) o.ticks.push_back(kPrefectureKeyPrefix + c);
        } else if (a == "--meshes") {
            for (const std::string& c : codeList(value())) o.ticks.push_back(kMeshKeyPrefix + c);
        } else if (a == "--out") {
            // The job dialog is always given a full path (typed paths are completed by the save dialog),
            // so a relative one is taken against the runner's working folder before the job sees it.
            const std::filesystem::path out = value();
            o.out = out.empty() || out.is_absolute() ? out.string() : (std::filesystem::current_path() / out).string();
            haveOut = true;
        } else if (a.rfind("--", 0) == 0) {
            throw std::invalid_argument("unknown switch " + a);
        } else {
            o.inputs.push_back(a);
        }
    }
    if (!haveFolder || !haveKind || !haveRow || !haveOut || o.inputs.empty())
        throw std::invalid_argument("--program-folder, --kind, --row, --out and at least one input are needed");
    if (o.nationwide && o.inputs.size() != 1) throw std::invalid_argument("--nationwide takes one input");
    if (!o.nationwide && !o.ticks.empty()) throw std::invalid_argument("ticks need --nationwide");
    return o;
}

// Fills the output and options as the user would have, presses convert; true when the dialog closed on
// success.
template <class Dialog>
bool convert(Dialog& dialog, const Options& o) {
    if (o.attached)
        for (std::size_t i = 0; i < 2; ++i) dialog.ChkMakeData[i]->setChecked((*o.attached)[i]);
    dialog.TxtOutPutFile->setText(QString::fromStdString(o.out));
    if (o.datum == -1) {
        dialog.OptMake[1]->setChecked(true);
        dialog.OptMake_Click(1);
    } else {
        dialog.OptSys[o.datum == 2000 ? 1 : 0]->setChecked(true);
    }
    dialog.CmdConv->click();
    return dialog.result() == QDialog::Accepted;
}

// Each tick is a click on the node's box: the dialog's cascade runs as for the user.
template <class Dialog>
bool tick(Dialog& dialog, const std::string& key) {
    QTreeWidgetItem* item = dialog.treeItem(key);
    if (!item) {
        std::fprintf(stderr, "jobrun: no node %s in the tree\n", key.c_str());
        return false;
    }
    item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    return true;
}

// The catchment row as the user goes through it: the catchment dialog loaded, each code's box clicked, OK,
// the open dialog answered with the inputs, then the file-list job dialog run as for the other rows.
bool runCatchmentJob(const Options& o, jobrun::JobRunUi& ui) {
    frmSyusuiSelect catchments;
    catchments.Form_Load();
    for (const std::string& code : codeList(*o.catchments))
        if (!tick(catchments, kCatchmentKeyPrefix + code)) return false;
    bool success = false;
    ui.answerOpen(o.inputs).answerModal([&](QDialog& dialog) {
        auto& job = static_cast<frmDataSet&>(dialog);
        success = convert(job, o);
        return job.result();
    });
    catchments.CmdOK->click();
    return success;
}

bool runJob(const Options& o, jobrun::JobRunUi& ui) {
    frmDataSelect* select = frmDataSelect::loaded(nullptr);
    if (!select) return false;
    ConversionState& s = conversionState();
    s.SelectedKind = o.kind;
    s.SelectedIndex = static_cast<std::int16_t>(o.row);
    s.PolygonMakeMode = o.polygonMakeMode;
    select->P_ListInputFile->clear();
    for (const std::string& f : o.inputs) select->P_ListInputFile->addItem(QString::fromStdString(f));
    if (o.catchments) return runCatchmentJob(o, ui);

    if (!o.nationwide) {
        frmDataSet dialog;
        dialog.Form_Load();
        return convert(dialog, o);
    }
    frmDataSetALL dialog;
    dialog.Form_Load();
    for (const std::string& key : o.ticks)
        if (!tick(dialog, key)) return false;
    return convert(dialog, o);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    try {
        o = parse(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr,
                     "jobrun: %s\nusage: jobrun --program-folder DIR --kind point|line|area|mesh|attr --row N "
                     "[--datum -1|0|2000] [--answer yes|no]... [--polygons yes|no]\n"
                     "              [--attached none|points|lines|both] [--catchments CODE,...] --out PATH INPUT...\n"
                     "       jobrun --nationwide [--all] [--prefectures CODE,...] [--meshes CODE,...|@FILE]... "
                     "<as above, one INPUT>\n",
                     e.what());
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setProgramFolder(o.programFolder);
    jobrun::JobRunUi ui(o.answers);
    jobrun::LibraryBoxes libraryBoxes;
    // The main window (never shown) holds the map the output checks ask and the map tool Yes adds to.
    auto window = std::make_unique<frmMapMain>();

    bool success = false;
    try {
        success = runJob(o, ui);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "jobrun: %s\n", e.what());
    }
    delete frmDataSelect::current();
    std::printf("result: %s\n", success ? "success" : "failure");
    return success ? 0 : 1;
}
