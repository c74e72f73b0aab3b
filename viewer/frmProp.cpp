#include "viewer/frmProp.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "platform/errors/RunTimeError.h"
#include "platform/map/CompanionFile.h"
#include "platform/map/MapLayer.h"
#include "platform/map/MapRenderer.h"
#include "platform/map/MarkerImage.h"
#include "platform/ui/UiService.h"
#include "viewer/DataSourceText.h"
#include "viewer/StylePictures.h"

using velmora::RunTimeError;
namespace map = velmora::map;
namespace ui = velmora::ui;

namespace {

// Positions inside the frame "オプション", in twips as designed (15 to the pixel).
constexpr int kTwips = 15;
constexpr int kLabelLeft = 240, kControlLeft = 2040;
constexpr int kRowTop[3] = {360, 780, 1200};
constexpr int kSizeTop = 1160;  // the size box's design top, 40 twips above its label
constexpr int kCautionTop = 1620;

QRect twips(int left, int top, int width, int height) {
    return QRect(left / kTwips, top / kTwips, width / kTwips, height / kTwips);
}

const std::vector<QString> kMarkerCaptions = {"円", "四角", "三角", "十字"};
const std::vector<QString> kLineCaptions = {"実線", "破線", "点線", "一点鎖線", "二点鎖線"};
const std::vector<QString> kFillCaptions = {"塗りつぶし", "透過", "横縞", "縦縞", "上斜線", "下斜線",
                                            "格子", "斜格子", "網掛　淡", "網掛　中", "網掛　濃"};

}  // namespace

frmProp::frmProp(QWidget* parent) : QDialog(parent) {
    setObjectName("frmProp");
    setWindowTitle("レイヤプロパティ");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    sstProperty = new QTabWidget(this);
    sstProperty->setObjectName("sstProperty");

    auto* sourceTab = new QWidget;
    lblSource = new QLabel(sourceTab);
    lblSource->setObjectName("lblSource");
    lblSource->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSource->setWordWrap(true);
    lblSource->setTextInteractionFlags(Qt::TextSelectableByMouse);
    (new QVBoxLayout(sourceTab))->addWidget(lblSource);
    sstProperty->addTab(sourceTab, "データソース");

    auto* fieldTab = new QWidget;
    lvwField = new QTreeWidget(fieldTab);
    lvwField->setObjectName("lvwField");
    lvwField->setRootIsDecorated(false);
    lvwField->setHeaderLabels({"名前", "データタイプ", "長さ", "全桁数", "少数以下桁数"});
    lvwField->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    (new QVBoxLayout(fieldTab))->addWidget(lvwField);
    sstProperty->addTab(fieldTab, "フィールド");

    sstProperty->addTab(buildSymbolTab(), "シンボル");

    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("キャンセル", this);
    cmdCancel->setObjectName("cmdCancel");
    connect(cmdOK, &QPushButton::clicked, this, &frmProp::ApplySymbolInfo);
    connect(cmdCancel, &QPushButton::clicked, this, &frmProp::cmdCancel_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sstProperty);
    layout->addLayout(buttons);
    resize(500, 420);

    // Form_Load: the data source in front, the dialog centred on the screen.
    sstProperty->setCurrentIndex(0);
    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
}

frmProp::~frmProp() = default;

QWidget* frmProp::buildSymbolTab() {
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    picSymbol[0] = buildStylePanel(0, kMarkerCaptions, optPSymType);
    picSymbol[1] = buildStylePanel(1, kLineCaptions, optLSymType);
    picSymbol[2] = buildStylePanel(2, kFillCaptions, optASymType);
    for (int i = 0; i < 3; ++i) {
        picSymbol[i]->setObjectName(QString("picSymbol%1").arg(i));
        layout->addWidget(picSymbol[i]);
    }

    fraOption = new QGroupBox("オプション", tab);
    fraOption->setObjectName("fraOption");
    fraOption->setMinimumHeight(2100 / kTwips);
    const char* const captions[3] = {"表示色：", "アウトライン色：", "アウトライン幅："};
    for (int i = 0; i < 3; ++i) {
        lblOpt[i] = new QLabel(captions[i], fraOption);
        lblOpt[i]->setObjectName(QString("lblOpt%1").arg(i));
        lblOpt[i]->setGeometry(twips(kLabelLeft, kRowTop[i], 1740, 300));
    }
    for (int i = 0; i < 2; ++i) {
        picCol[i] = new QLabel(fraOption);
        picCol[i]->setObjectName(QString("picCol%1").arg(i));
        picCol[i]->setFrameStyle(QFrame::Box | QFrame::Plain);
        picCol[i]->setAutoFillBackground(true);
        picCol[i]->setCursor(Qt::PointingHandCursor);
        picCol[i]->setGeometry(twips(kControlLeft, kRowTop[i] - 40, 900, 330));
        picCol[i]->installEventFilter(this);
        setSwatchColour(i, 0);
    }
    txtSize = new QLineEdit("0", fraOption);
    txtSize->setObjectName("txtSize");
    txtSize->setGeometry(twips(kControlLeft, kSizeTop, 900, 330));
    txtSize->installEventFilter(this);
    connect(txtSize, &QLineEdit::textEdited, this, &frmProp::keepSizeDigits);
    lblCaution = new QLabel(fraOption);
    lblCaution->setObjectName("lblCaution");
    lblCaution->setGeometry(twips(kLabelLeft, kCautionTop, 6600, 300));
    layout->addWidget(fraOption);
    layout->addStretch();
    return tab;
}

QWidget* frmProp::buildStylePanel(int type, const std::vector<QString>& captions,
                                  std::vector<QAbstractButton*>& options) {
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(panel);
    group->setExclusive(true);
    styleGroups_[type] = group;
    for (int code = 0; code < static_cast<int>(captions.size()); ++code) {
        auto* option = new QToolButton(panel);
        option->setObjectName(QString("%1%2").arg(type == 0 ? "optPSymType" : type == 1 ? "optLSymType" : "optASymType").arg(code));
        option->setText(captions[code]);
        option->setIcon(velmora::viewer::stylePicture(type, code));
        option->setIconSize(QSize(44, 28));
        option->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        option->setCheckable(true);
        option->setMinimumWidth(84);
        group->addButton(option, code);
        grid->addWidget(option, code / 4, code % 4);
        options.push_back(option);
    }
    connect(group, &QButtonGroup::idToggled, this, [this](int code, bool on) {
        if (on) chosenStyle_ = code;
    });
    return panel;
}

void frmProp::setSwatchColour(int index, std::uint32_t bgr) {
    picColColour_[index] = bgr;
    QPalette p = picCol[index]->palette();
    p.setColor(QPalette::Window, map::toQColor(bgr));
    picCol[index]->setPalette(p);
}

void frmProp::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Form_Activate();
}

void frmProp::Form_Activate() {
    if (!firstActivation_) return;
    // Cleared first: a failure below shows its box once, not at every later activation.
    firstActivation_ = false;
    try {
        for (QWidget* panel : picSymbol) panel->hide();
        if (SymbolSetFlag_) {
            sstProperty->setTabEnabled(0, false);
            sstProperty->setTabEnabled(1, false);
            sstProperty->setCurrentIndex(2);
        }
        if (Layertype_ < 0) {
            sstProperty->setTabEnabled(2, false);
            getDataSource();
            return;
        }
        fillSymbol();
        if (!SymbolSetFlag_) getDataSource();
    } catch (const std::exception& ex) {
        ui::showError(ex, "Error: frmProp (Form_Activate)");
    }
}

void frmProp::fillSymbol() {
    if (!Layer_ || Layertype_ > 2) throw RunTimeError(91, "Object variable or With block variable not set");
    const map::Symbol& symbol = Layer_->symbol();
    picSymbol[Layertype_]->show();
    setSwatchColour(0, symbol.color);
    const std::vector<QAbstractButton*>& options =
        Layertype_ == 0 ? optPSymType : Layertype_ == 1 ? optLSymType : optASymType;
    if (symbol.style < 0 || symbol.style >= static_cast<int>(options.size()))
        throw RunTimeError(340, "Control array element '" + std::to_string(symbol.style) + "' doesn't exist");
    options[symbol.style]->setChecked(true);
    chosenStyle_ = symbol.style;
    // A marker of size 0 is drawn at the map's default size: the box shows that size, which draws the same.
    const double size = Layertype_ == 0 && symbol.size <= 0 ? map::DefaultMarkerSize : symbol.size;
    txtSize->setText(QString::number(static_cast<long long>(std::nearbyint(size))));
    if (Layertype_ == 2) {
        setSwatchColour(1, symbol.outlineColor);
        lblCaution->setText("※アウトライン幅「0」はデフォルトの線幅で表示されます");
        return;
    }
    if (Layertype_ == 1) {
        lblCaution->setText("※サイズ「0」はデフォルトの線幅で表示されます");
        lblCaution->move(lblCaution->x(), kSizeTop / kTwips);
    } else {
        lblCaution->hide();
    }
    picCol[1]->hide();
    lblOpt[1]->hide();
    lblOpt[2]->setText("サイズ：");
    lblOpt[2]->move(lblOpt[2]->x(), lblOpt[1]->y());
    txtSize->move(txtSize->x(), lblOpt[1]->y() - 40 / kTwips);
}

void frmProp::getDataSource() {
    try {
        if (Layertype_ < 0) {
            lblSource->setText(QString::fromStdString(velmora::viewer::tableDataSource(TableLayer_)));
            getTableDesc(TableLayer_);
            return;
        }
        if (!Layer_) throw RunTimeError(91, "Object variable or With block variable not set");
        const std::string& path = Layer_->filePath();
        lblSource->setText(QString::fromStdString(velmora::viewer::layerDataSource(path, Layer_->shapeType())));
        getTableDesc(map::companionFile(path, ".dbf"));
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmProp (getDataSource)");
    }
}

void frmProp::getTableDesc(const std::string& path) {
    std::vector<velmora::viewer::FieldRow> rows;
    const auto show = [&] {
        for (const auto& r : rows)
            lvwField->addTopLevelItem(new QTreeWidgetItem(
                QStringList{QString::fromStdString(r.name), QString::fromStdString(r.dataType),
                            QString::fromStdString(r.length), QString::fromStdString(r.digits),
                            QString::fromStdString(r.decimals)}));
    };
    try {
        velmora::viewer::tableFields(path, rows);
        show();
    } catch (const std::exception& e) {
        show();
        ui::showError(e, "Error: frmProp (getTableDesc)");
    }
}

void frmProp::ApplySymbolInfo() {
    try {
        map::Symbol symbol;
        symbol.style = chosenStyle_;
        if (Layertype_ >= 0 && Layertype_ <= 2) {
            symbol.type = Layertype_;
            symbol.color = picColColour_[0];
            if (Layertype_ == 2) symbol.outlineColor = picColColour_[1];
            const QString digits = txtSize->text();
            qsizetype n = 0;
            while (n < digits.size() && digits[n].isDigit() && digits[n].unicode() < 128) ++n;
            symbol.size = n == 0 ? 0 : digits.left(n).toDouble();
        }
        LayerSymbol_ = symbol;
        accept();
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmProp (ApplySymbolInfo)");
    }
}

void frmProp::cmdCancel_Click() {
    LayerSymbol_.reset();
    reject();
}

void frmProp::closeEvent(QCloseEvent* e) {
    Layer_.reset();
    LayerSymbol_.reset();
    QDialog::closeEvent(e);
}

void frmProp::picCol_Click(int index) {
    const std::optional<unsigned> rgb = ui::service().chooseColour(map::colourToRgb(picColColour_[index]));
    if (rgb) setSwatchColour(index, map::colourFromRgb(*rgb));
}

bool frmProp::txtSize_KeyPress(QChar c) { return (c >= '0' && c <= '9') || c.unicode() < 32; }

void frmProp::keepSizeDigits() {
    const QString text = txtSize->text();
    QString kept;
    for (QChar c : text)
        if (txtSize_KeyPress(c)) kept += c;
    if (kept == text) return;
    const int cursor = txtSize->cursorPosition() - static_cast<int>(text.size() - kept.size());
    txtSize->setText(kept);
    txtSize->setCursorPosition(std::max(0, cursor));
}

bool frmProp::eventFilter(QObject* watched, QEvent* e) {
    if (watched == txtSize && e->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(e)->text();
        if (typed.size() == 1 && !txtSize_KeyPress(typed[0])) return true;
    }
    for (int i = 0; i < 2; ++i)
        if (watched == picCol[i] && e->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            picCol_Click(i);
            return true;
        }
    return QDialog::eventFilter(watched, e);
}
