#include "viewer/frmIdentify.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <exception>

#include "platform/errors/RunTimeError.h"
#include "platform/ui/UiService.h"
#include "viewer/SetTopMost.h"

using namespace velmora;

namespace {

QPointer<frmIdentify> openWindow;

// Design sizes in pixels: client 7260 x 5865 twips, record list 2760 wide, label 255 high, the names'
// column 1500.
constexpr int ClientWidth = 484, ClientHeight = 391, ListWidth = 184, LabelHeight = 17, NameColumn = 100;

// "#######0.0000": no grouping, at least one integer digit, four decimals.
QString coordinate(double v) { return QString::number(v, 'f', 4); }

QString entry(int n, const std::string* label) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", n);
    QString s = QString::fromLatin1(number);
    if (label) s += QLatin1Char(':') + QString::fromStdString(*label);
    return s;
}

// The window's pointer shows busy while it lives and the arrow afterwards, also after a failure.
class WindowBusy {
public:
    explicit WindowBusy(QWidget* w) : w_(w) { w_->setCursor(Qt::WaitCursor); }
    ~WindowBusy() { w_->setCursor(Qt::ArrowCursor); }

private:
    QWidget* w_;
};

}  // namespace

frmIdentify::frmIdentify(map::MapView* MainMap, const QPoint& topLeft) : MainMap_(MainMap), topLeft_(topLeft) {
    setObjectName("frmIdentify");
    setAttribute(Qt::WA_DeleteOnClose);
    sspIdent = new QSplitter(Qt::Horizontal, this);
    sspIdent->setObjectName("sspIdent");
    lstRecSet = new QListWidget(sspIdent);
    lstRecSet->setObjectName("lstRecSet");
    lstRecSet->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* right = new QWidget(sspIdent);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    lblPoint = new QLabel(right);
    lblPoint->setObjectName("lblPoint");
    lblPoint->setFixedHeight(LabelHeight);
    lvwIdentifyResults = new QTreeWidget(right);
    lvwIdentifyResults->setObjectName("lvwIdentifyResults");
    lvwIdentifyResults->setRootIsDecorated(false);
    lvwIdentifyResults->setColumnCount(0);
    rightLayout->addWidget(lblPoint);
    rightLayout->addWidget(lvwIdentifyResults);
    sspIdent->setSizes({ListWidth, ClientWidth - ListWidth});
    auto* layout = new QVBoxLayout(this);
    // The splitter keeps 165 twips of the width and 375 of the height free.
    layout->setContentsMargins(5, 5, 6, 20);
    layout->addWidget(sspIdent);
    resize(ClientWidth, ClientHeight);
    ModPolygon::SetTopMost(this, -1);

    connect(lstRecSet, &QListWidget::currentRowChanged, this, &frmIdentify::lstRecSet_Click);
    // A click on the row that is already current changes no row; it shows that record again.
    lstRecSet->viewport()->installEventFilter(this);
    connect(lstRecSet, &QListWidget::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == rowBeforePress_) lstRecSet_Click();
    });
}

frmIdentify* frmIdentify::instance() { return openWindow; }

frmIdentify* frmIdentify::open(map::MapView* MainMap, const QPoint& topLeft) {
    if (!openWindow) openWindow = new frmIdentify(MainMap, topLeft);
    return openWindow;
}

void frmIdentify::set_pRecSet(std::unique_ptr<map::RecordSet> recordSet) { pRecSet = std::move(recordSet); }

void frmIdentify::set_pPoint(const map::MapPoint& point) { pPoint = point; }

void frmIdentify::set_pTheme(const viewer::SelectedTheme& theme) { theme_ = theme; }

void frmIdentify::ShowIdent() {
    skipNextClick_ = true;
    lblPoint->setText("検索位置 X = " + coordinate(pPoint.x) + "  Y = " + coordinate(pPoint.y));
    IdenListSet(true);
    IniSet();
    // The first entry's selection only puts the cursor back on the first record.
    if (lstRecSet->count() == 0) return;
    if (lstRecSet->currentRow() == 0)
        lstRecSet_Click();
    else
        lstRecSet->setCurrentRow(0);
}

void frmIdentify::IniSet() {
    try {
        if (!pRecSet || pRecSet->eof()) return;
        // Emptying and filling the list is no choice of the user's.
        QSignalBlocker quiet(lstRecSet);
        lstRecSet->clear();
        int labelField = -1;
        for (int f = 0; f < pRecSet->fieldCount() && labelField < 0; ++f)
            if (pRecSet->fieldType(f) == map::field::Text) labelField = f;
        QStringList entries;
        for (int n = 1; !pRecSet->eof(); ++n) {
            const std::string* label = labelField >= 0 ? &pRecSet->value(pRecSet->fieldName(labelField)) : nullptr;
            entries << entry(n, label);
            pRecSet->moveNext();
        }
        lstRecSet->addItems(entries);
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmIdentify (IniSet)");
    }
}

void frmIdentify::IdenListSet(bool build) {
    WindowBusy busy(this);
    try {
        if (!pRecSet || pRecSet->eof()) return;
        setWindowTitle(QString::fromStdString("個別属性表示  (" + theme_.name + ")"));
        if (lvwIdentifyResults->columnCount() < 2) {
            lvwIdentifyResults->clear();
            lvwIdentifyResults->setColumnCount(2);
            lvwIdentifyResults->setHeaderLabels({"項目名", "値"});
            lvwIdentifyResults->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            lvwIdentifyResults->header()->setStretchLastSection(true);
            lvwIdentifyResults->setColumnWidth(0, NameColumn);
        }
        const int fields = pRecSet->fieldCount();
        if (build) {
            lvwIdentifyResults->clear();
            QList<QTreeWidgetItem*> rows;
            for (int f = 0; f < fields; ++f) {
                const std::string& name = pRecSet->fieldName(f);
                rows << new QTreeWidgetItem(
                    QStringList{QString::fromStdString(name), QString::fromStdString(pRecSet->value(name))});
            }
            lvwIdentifyResults->addTopLevelItems(rows);
        } else {
            for (int f = 0; f < fields; ++f) {
                QTreeWidgetItem* row = lvwIdentifyResults->topLevelItem(f);
                if (!row) throw RunTimeError(35600, "Index out of bounds");
                row->setText(1, QString::fromStdString(pRecSet->value(pRecSet->fieldName(f))));
            }
        }
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmIdentify (IdenListSet)");
    }
}

void frmIdentify::lstRecSet_Click() {
    try {
        if (!pRecSet) return;
        pRecSet->moveFirst();
        for (int i = 0; i < lstRecSet->currentRow() && !pRecSet->eof(); ++i) pRecSet->moveNext();
        if (!skipNextClick_) {
            if (!pRecSet->eof() && MainMap_) MainMap_->flashShape(pRecSet->shape(), 2);
            IdenListSet(false);
        }
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmIdentify (lstRecSet_Click)");
    }
    skipNextClick_ = false;
}

bool frmIdentify::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) ModPolygon::SetTopMost(this, -1);
    // Placed once shown, when the window's frame is known.
    if (e->type() == QEvent::Show && !placed_) {
        placed_ = true;
        move(topLeft_);
    }
    return QWidget::event(e);
}

bool frmIdentify::eventFilter(QObject* watched, QEvent* e) {
    if (watched == lstRecSet->viewport() && e->type() == QEvent::MouseButtonPress) rowBeforePress_ = lstRecSet->currentRow();
    return QWidget::eventFilter(watched, e);
}

void frmIdentify::closeEvent(QCloseEvent* e) {
    pRecSet.reset();
    QWidget::closeEvent(e);
}
