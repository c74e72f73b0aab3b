#include "platform/ui/FileDialogColumns.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QListView>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <array>
#include <vector>

namespace velmora::ui {

namespace {

// The columns of Qt's file system model.
constexpr int kName = 0, kSize = 1, kType = 2, kModified = 3, kColumns = 4;

// The part of the screen's width a dialog may take to show its names whole.
constexpr double kWidestShare = 0.9;

// Digits in groups of three, without the locale.
QString grouped(qint64 n) {
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, QLatin1Char(','));
    return digits;
}

class JapaneseColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole && index.column() != kName) {
            if (const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel())) {
                const QModelIndex source = mapToSource(index);
                switch (index.column()) {
                case kModified: return japaneseFileTime(files->lastModified(source));
                case kType: return japaneseFileType(files->fileInfo(source));
                case kSize: return files->isDir(source) ? QString() : japaneseFileSize(files->size(source));
                default: break;
                }
            }
        }
        return QIdentityProxyModel::data(index, role);
    }
};

using RowTexts = std::array<QString, kColumns>;

RowTexts rowTexts(const QFileInfo& info) {
    return {info.fileName(), info.isDir() ? QString() : japaneseFileSize(info.size()), japaneseFileType(info),
            japaneseFileTime(info.lastModified())};
}

// The patterns of a filter such as "シェープファイル (*.shp)" or "*.txt *.csv".
QStringList filterPatterns(const QString& filter) {
    static const QRegularExpression inParentheses(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch m = inParentheses.match(filter);
    const QString patterns = m.hasMatch() ? m.captured(1) : filter;
    return patterns.split(QRegularExpression(QStringLiteral("[\\s;]+")), Qt::SkipEmptyParts);
}

// What the dialog will list of its folder, read straight from the disk: the model fills its rows in a
// thread of its own, after the dialog has opened.
std::vector<RowTexts> folderRows(const QFileDialog& dialog) {
    const QDir dir = dialog.directory();
    std::vector<RowTexts> rows;
    for (const QFileInfo& info : dir.entryInfoList(QDir::AllDirs | QDir::NoDotAndDotDot)) rows.push_back(rowTexts(info));
    if (dialog.fileMode() == QFileDialog::Directory) return rows;
    QStringList patterns = filterPatterns(dialog.selectedNameFilter());
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    for (const QFileInfo& info : dir.entryInfoList(patterns, QDir::Files)) rows.push_back(rowTexts(info));
    return rows;
}

// Lays out the detail view's columns for what the current folder holds, and, when the dialog is about to
// open, makes it wide enough for them.
class ColumnFitter : public QObject {
public:
    ColumnFitter(QFileDialog& dialog, QTreeView& view) : QObject(&dialog), dialog_(dialog), view_(view) {
        refit_.setSingleShot(true);
        refit_.setInterval(0);
        connect(&refit_, &QTimer::timeout, this, [this] { fit(modelRows(), false); });
        dialog.installEventFilter(this);
        connect(&dialog, &QFileDialog::directoryEntered, &refit_, qOverload<>(&QTimer::start));
        // Once per folder the model has read: refitting on every batch of rows would measure a large folder
        // over and over.
        if (auto* files = qobject_cast<QFileSystemModel*>(dialog.proxyModel()->sourceModel()))
            connect(files, &QFileSystemModel::directoryLoaded, &refit_, qOverload<>(&QTimer::start));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Before QDialog places itself, so that it is centred at the width it opens with.
        if (watched == &dialog_ && event->type() == QEvent::Show && !opened_) {
            opened_ = true;
            fit(folderRows(dialog_), true);
        }
        return false;
    }

private:
    std::vector<RowTexts> modelRows() const {
        std::vector<RowTexts> rows;
        const QAbstractItemModel* model = view_.model();
        const QModelIndex root = view_.rootIndex();
        for (int r = 0; r < model->rowCount(root); ++r) {
            RowTexts texts;
            for (int c = 0; c < kColumns; ++c) texts[c] = model->index(r, c, root).data().toString();
            rows.push_back(texts);
        }
        return rows;
    }

    // What a cell needs besides its text (margins, and the icon in the name column), as the view's style
    // measures an item.
    int cellExtra(int column) const {
        QStyleOptionViewItem option;
        option.initFrom(&view_);
        option.font = view_.font();
        option.fontMetrics = QFontMetrics(option.font);
        const int icon = view_.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &view_);
        option.decorationSize = view_.iconSize().isValid() ? view_.iconSize() : QSize(icon, icon);
        option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.features = QStyleOptionViewItem::HasDisplay;
        if (column == kName) option.features |= QStyleOptionViewItem::HasDecoration;
        option.text = QStringLiteral("x");
        const int width = view_.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &view_).width();
        const int indent = column == kName && view_.rootIsDecorated() ? view_.indentation() : 0;
        return width - option.fontMetrics.horizontalAdvance(option.text) + indent;
    }

    void fit(const std::vector<RowTexts>& rows, bool opening) {
        QHeaderView* header = view_.header();
        const QFontMetrics metrics(view_.font());
        std::array<int, kColumns> widths{};
        for (int c = 0; c < kColumns; ++c) {
            int widest = 0;
            for (const RowTexts& row : rows) widest = std::max(widest, metrics.horizontalAdvance(row[c]));
            widths[c] = std::max(header->sectionSizeHint(c), widest + cellExtra(c));
        }
        header->setStretchLastSection(false);
        for (int c = kSize; c < kColumns; ++c) {
            header->setSectionResizeMode(c, QHeaderView::Interactive);
            header->resizeSection(c, widths[c]);
        }
        // The names take what the others leave; the dialog is made wide enough for them to need nothing more.
        header->setSectionResizeMode(kName, QHeaderView::Stretch);
        if (opening) widen(widths[kName] + widths[kSize] + widths[kType] + widths[kModified]);
    }

    void widen(int columnsWidth) {
        QScreen* screen = dialog_.screen() ? dialog_.screen() : QGuiApplication::primaryScreen();
        const int widest = screen ? static_cast<int>(screen->availableGeometry().width() * kWidestShare) : 1000;
        auto* splitter = dialog_.findChild<QSplitter*>(QStringLiteral("splitter"));
        auto* sidebar = dialog_.findChild<QListView*>(QStringLiteral("sidebar"));
        // The side panel's names whole ("コンピューター"), and no narrower than it is.
        int sideWidth = 0, sideGrowth = 0;
        if (splitter && sidebar && splitter->indexOf(sidebar) == 0 && sidebar->model()) {
            const int needed = sidebar->sizeHintForColumn(0) + 2 * sidebar->frameWidth() +
                               sidebar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, sidebar);
            sideWidth = std::max(needed, sidebar->width());
            sideGrowth = sideWidth - sidebar->width();
        }
        // Everything of the dialog but the columns: the side panel, margins, frames and a scroll bar.
        const int scrollBar = view_.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view_);
        const int around = dialog_.width() - view_.viewport()->width();
        const int wanted = std::min(widest, around + sideGrowth + columnsWidth + scrollBar);
        const int growth = std::max(0, wanted - dialog_.width());
        if (growth > 0) dialog_.resize(dialog_.width() + growth, dialog_.height());
        if (sideWidth > 0) {
            const QList<int> sizes = splitter->sizes();
            int total = 0;
            for (int s : sizes) total += s;
            total += growth;
            if (sizes.size() == 2 && total > sideWidth) splitter->setSizes({sideWidth, total - sideWidth});
        }
    }

    QFileDialog& dialog_;
    QTreeView& view_;
    QTimer refit_;
    bool opened_ = false;
};

}  // namespace

QString japaneseFileSize(qint64 bytes) {
    if (bytes < 1024) return QString::number(bytes) + QStringLiteral(" バイト");
    return grouped((bytes + 1023) / 1024) + QStringLiteral(" KB");
}

QString japaneseFileTime(const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy/MM/dd HH:mm")) : QString();
}

// The names a Japanese desktop gives: a few kinds of their own, else the extension's letters and " ファイル".
QString japaneseFileType(const QFileInfo& info) {
    if (info.isDir()) return QStringLiteral("フォルダー");
    const QString suffix = info.suffix().toLower();
    if (suffix.isEmpty()) return QStringLiteral("ファイル");
    if (suffix == QLatin1String("txt")) return QStringLiteral("テキスト ドキュメント");
    if (suffix == QLatin1String("shp")) return QStringLiteral("シェープファイル");
    return suffix.toUpper() + QStringLiteral(" ファイル");
}

void useJapaneseFileColumns(QFileDialog& dialog) {
    dialog.setProxyModel(new JapaneseColumns(&dialog));
    dialog.setViewMode(QFileDialog::Detail);
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view) return;
    new ColumnFitter(dialog, *view);
}

}  // namespace velmora::ui
