#include "platform/ui/FileDialogColumns.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QTreeView>

namespace velmora::ui {

namespace {

// The columns of Qt's file system model.
constexpr int kName = 0, kSize = 1, kType = 2, kModified = 3;

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
        if (role == Qt::DisplayRole && (index.column() == kSize || index.column() == kModified)) {
            if (const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel())) {
                const QModelIndex source = mapToSource(index);
                if (index.column() == kModified) return japaneseFileTime(files->lastModified(source));
                if (files->isDir(source)) return QString();
                return japaneseFileSize(files->size(source));
            }
        }
        return QIdentityProxyModel::data(index, role);
    }
};

}  // namespace

QString japaneseFileSize(qint64 bytes) {
    if (bytes < 1024) return QString::number(bytes) + QStringLiteral(" バイト");
    return grouped((bytes + 1023) / 1024) + QStringLiteral(" KB");
}

QString japaneseFileTime(const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy/MM/dd HH:mm")) : QString();
}

void useJapaneseFileColumns(QFileDialog& dialog) {
    dialog.setProxyModel(new JapaneseColumns(&dialog));
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view) return;
    // Room for the longest text each column can hold, and the rest for the names.
    const QFontMetrics metrics(view->font());
    const int padding = metrics.horizontalAdvance(QStringLiteral("　　"));
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(metrics.horizontalAdvance(QStringLiteral("名前")) + padding);
    const auto fit = [&](int column, const QString& widest) {
        header->setSectionResizeMode(column, QHeaderView::Interactive);
        header->resizeSection(column, std::max(metrics.horizontalAdvance(widest),
                                               metrics.horizontalAdvance(
                                                   dialog.proxyModel()->headerData(column, Qt::Horizontal).toString())) +
                                          padding);
    };
    fit(kSize, japaneseFileSize(qint64(999'999'999) * 1024));
    fit(kType, QStringLiteral("フォルダーのショートカット"));
    fit(kModified, japaneseFileTime(QDateTime(QDate(2000, 12, 28), QTime(23, 58))));
    header->setSectionResizeMode(kName, QHeaderView::Stretch);
}

}  // namespace velmora::ui
