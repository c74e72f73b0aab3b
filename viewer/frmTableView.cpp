#include "viewer/frmTableView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTableView>
#include <exception>
#include <filesystem>
#include <system_error>

#include "platform/errors/RunTimeError.h"
#include "platform/ui/UiService.h"
#include "viewer/DbaseTableModel.h"
#include "viewer/RecordNavigator.h"

using namespace velmora;

namespace {

// In pixels: the smallest window (8325 x 4740 twips), the grid's margin to the right edge (150) and the
// strip below it for the record bar.
constexpr int MinWidth = 555, MinHeight = 316, RightMargin = 10, BarStrip = 34, BarHeight = 26;

}  // namespace

frmTableView::frmTableView(const std::string& caption) {
    setObjectName("frmTableView");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdString("属性表示 (" + caption + ")"));
    tdbZokusei = new QTableView(this);
    tdbZokusei->setObjectName("tdbZokusei");
    tdbZokusei->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tdbZokusei->setSelectionMode(QAbstractItemView::SingleSelection);
    tdbZokusei->setWordWrap(false);
    // Fixed row heights: a view of many thousand rows then never measures them.
    tdbZokusei->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tdbZokusei->verticalHeader()->setDefaultSectionSize(tdbZokusei->fontMetrics().height() + 4);
    lblRecord = new QLabel("ﾚｺｰﾄﾞ：", this);
    lblRecord->setObjectName("lblRecord");
    datZokusei = new viewer::RecordNavigator(this);
    datZokusei->setObjectName("datZokusei");
    connect(datZokusei, &viewer::RecordNavigator::moveRequested, this, &frmTableView::moveBy);
    setMinimumSize(MinWidth, MinHeight);
    resize(MinWidth, MinHeight);
    // Centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
    }
}

void frmTableView::connectTable() {
    const std::string copy = pDataBasePath + "/" + pDataBaseName + ".dbf";
    auto* model = new viewer::DbaseTableModel(copy, this);
    model_ = model;
    tdbZokusei->setModel(model);
    connect(tdbZokusei->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmTableView::datZokusei_MoveComplete);
    if (model->rowCount() > 0) tdbZokusei->setCurrentIndex(model->index(0, 0));
    datZokusei_MoveComplete();
}

std::string frmTableView::tag() const { return property(TagProperty).toString().toStdString(); }

void frmTableView::setTag(const std::string& path) { setProperty(TagProperty, QString::fromStdString(path)); }

void frmTableView::datZokusei_MoveComplete() {
    if (!model_) return;
    const int row = tdbZokusei->currentIndex().isValid() ? tdbZokusei->currentIndex().row() + 1 : 0;
    datZokusei->setCaption(QString::number(row) + "/" + QString::number(model_->rowCount()) + " 件");
}

void frmTableView::moveBy(int step) {
    if (!model_ || model_->rowCount() == 0) return;
    const int rows = model_->rowCount();
    const QModelIndex current = tdbZokusei->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    const int column = current.isValid() ? current.column() : 0;
    int target = row;
    switch (step) {
    case -2: target = 0; break;
    case -1: target = std::max(0, row - 1); break;
    case 1: target = std::min(rows - 1, row + 1); break;
    default: target = rows - 1; break;
    }
    tdbZokusei->setCurrentIndex(model_->index(target, column));
    tdbZokusei->scrollTo(model_->index(target, column));
}

void frmTableView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const int w = width(), h = height();
    tdbZokusei->setGeometry(0, 0, std::max(0, w - RightMargin), std::max(0, h - BarStrip));
    const int barTop = h - BarStrip + (BarStrip - BarHeight) / 2;
    lblRecord->adjustSize();
    lblRecord->move(4, barTop + (BarHeight - lblRecord->height()) / 2);
    datZokusei->setGeometry(lblRecord->x() + lblRecord->width() + 4, barTop, 260, BarHeight);
}

void frmTableView::closeEvent(QCloseEvent* e) {
    Form_QueryUnload();
    QWidget::closeEvent(e);
}

void frmTableView::Form_QueryUnload() {
    try {
        const std::string copy = pDataBasePath + "/" + pDataBaseName + ".dbf";
        if (model_) model_->close();
        if (pDataBaseName.empty()) return;
        std::error_code ec;
        if (std::filesystem::exists(copy, ec) && !std::filesystem::remove(copy, ec))
            throw RunTimeError(err::PathFileAccessError, "Path/File access error: " + copy);
    } catch (const std::exception& ex) {
        ui::showError(ex, "Error: frmTableView (Form_QueryUnload)");
    }
}
