// The program's open and save dialogs on a real X display (Xvfb), run once with LANG=C and once with a
// Japanese locale: in a folder of long, similar names every name is readable at the size the dialog opens
// with, the other columns and the side panel show their texts whole, and the type names are Japanese.
// The shots stay in the build folder's "screenshots".
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QListView>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "platform/ui/QtTranslations.h"
#include "platform/ui/QtUi.h"
#include "platform/ui/TestApplication.h"
#include "tests/platform/process/TestFolder.h"

namespace velmora::ui {
namespace {

// The text a view draws for an item: Qt's style elides it to the item's text area less its margins.
QString shownText(const QAbstractItemView& view, const QModelIndex& index) {
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.font = view.font();
    option.fontMetrics = QFontMetrics(option.font);
    option.rect = view.visualRect(index);
    option.text = index.data().toString();
    option.features = QStyleOptionViewItem::HasDisplay;
    if (!index.data(Qt::DecorationRole).isNull()) {
        option.features |= QStyleOptionViewItem::HasDecoration;
        const int icon = view.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &view);
        option.decorationSize = view.iconSize().isValid() ? view.iconSize() : QSize(icon, icon);
    }
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    const QRect textRect = view.style()->subElementRect(QStyle::SE_ItemViewItemText, &option, &view);
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    return option.fontMetrics.elidedText(option.text, view.textElideMode(), textRect.width() - 2 * margin);
}

std::string localeName() {
    const char* lang = std::getenv("LANG");
    return lang && *lang ? lang : "C";
}

void keep(QWidget& w, const std::string& name) {
    std::filesystem::create_directories(VELMORA_SHOT_DIR);
    const QImage screen = w.screen()->grabWindow(0).toImage();
    screen.copy(w.frameGeometry()).save(QString(VELMORA_SHOT_DIR) + "/" + QString::fromStdString(name));
}

struct Seen {
    QRect dialog, available;
    std::map<QString, QStringList> rows;  // name: what the name, size, type and time columns show
    QStringList sidebar, sidebarShown;
    QStringList headers;
};

// Waits until the dialog's detail view lists `expected` entries, then reads what it shows.
void look(QFileDialog& d, std::size_t expected, const std::string& shot, Seen& seen) {
    auto* view = d.findChild<QTreeView*>("treeView");
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->isVisible()) << "the detail view is not the one shown";
    QElapsedTimer waited;
    waited.start();
    while (std::size_t(view->model()->rowCount(view->rootIndex())) < expected && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
    seen.dialog = d.frameGeometry();
    seen.available = d.screen()->availableGeometry();
    const QAbstractItemModel* model = view->model();
    for (int c = 0; c < 4; ++c) seen.headers << model->headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < model->rowCount(view->rootIndex()); ++r) {
        const QString name = model->index(r, 0, view->rootIndex()).data().toString();
        for (int c = 0; c < 4; ++c) seen.rows[name] << shownText(*view, model->index(r, c, view->rootIndex()));
        seen.rows[name] << model->index(r, 2, view->rootIndex()).data().toString();
    }
    if (auto* sidebar = d.findChild<QListView*>("sidebar"))
        for (int r = 0; r < sidebar->model()->rowCount(); ++r) {
            const QModelIndex i = sidebar->model()->index(r, 0);
            seen.sidebar << i.data().toString();
            seen.sidebarShown << shownText(*sidebar, i);
        }
    keep(d, shot);
}

class FileDialogScreen : public testsupport::TestFolder {
protected:
    void SetUp() override {
        TestFolder::SetUp();
        testApplication();
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        installJapaneseQtTexts("/nonexistent-folder");
    }
    void touch(const QString& name, qint64 size) {
        QFile f(QString::fromStdString(dir.string()) + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.resize(size);
    }
    // Runs a dialog through QtUi (`show`) and reads it once it is up.
    void run(const std::function<void()>& show, std::size_t expected, const std::string& shot, Seen& seen) {
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            look(*d, expected, shot, seen);
            d->reject();
        });
        show();
    }
};

// What every dialog must show: each name whole, else told apart from the others; sizes, types and times
// whole; the side panel's names whole; and the dialog on the screen.
void expectReadable(const Seen& seen, bool namesWhole) {
    EXPECT_TRUE(seen.available.contains(seen.dialog)) << "dialog " << seen.dialog.width() << " x "
                                                      << seen.dialog.height();
    std::set<QString> shownNames;
    for (const auto& [name, shown] : seen.rows) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_EQ(shown.size(), 5);
        if (namesWhole) EXPECT_EQ(shown[0].toStdString(), name.toStdString());
        shownNames.insert(shown[0]);
        for (int c = 1; c < 4; ++c) EXPECT_FALSE(shown[c].contains(QChar(0x2026))) << shown[c].toStdString();
    }
    EXPECT_EQ(shownNames.size(), seen.rows.size()) << "two names look the same";
    for (int i = 0; i < seen.sidebar.size(); ++i)
        EXPECT_EQ(seen.sidebarShown[i].toStdString(), seen.sidebar[i].toStdString());
}

TEST_F(FileDialogScreen, TheOpenDialogShowsLongSimilarNamesWhole) {
    // Names as the data set's distribution and a user's copies of it come: long, alike but for a few
    // characters, some in Japanese.
    std::vector<QString> names;
    for (int i = 1; i <= 8; ++i)
        names.push_back(QString("N03-20230101_%1_GML_行政区域データ_境界線_令和五年度版.txt").arg(i, 2, 10, QChar('0')));
    for (int i = 1; i <= 4; ++i)
        names.push_back(QString("W05-07_%1-g_Stream_河川データ_流路_nationwide_copy.csv").arg(i, 2, 10, QChar('0')));
    for (const QString& n : names) touch(n, 5'000'000);
    touch("readme.txt", 878);
    touch("hidden-by-the-filter.shp", 100);
    std::filesystem::create_directory(dir / "変換結果_シェープファイル保存用");
    FileDialogRequest request;
    request.folder = dir.string();
    request.filter = "行政区域変換元データ (*.txt *.csv);;すべてのファイル (*)";
    request.multiple = true;
    request.mustExist = false;
    Seen seen;
    run([&] { QtUi().openFiles(request); }, names.size() + 2, "file-dialog-open-" + localeName() + ".png", seen);
    ASSERT_EQ(seen.rows.size(), names.size() + 2);
    expectReadable(seen, true);
    EXPECT_EQ(seen.rows["readme.txt"][4].toStdString(), "テキスト ドキュメント");
    EXPECT_EQ(seen.rows[names.back()][4].toStdString(), "CSV ファイル");
    EXPECT_EQ(seen.rows["変換結果_シェープファイル保存用"][4].toStdString(), "フォルダー");
    EXPECT_EQ(seen.rows["readme.txt"][1].toStdString(), "878 バイト");
    EXPECT_TRUE(seen.sidebar.contains("コンピュータ")) << seen.sidebar.join('|').toStdString();
    EXPECT_EQ(seen.headers, (QStringList{"名前", "サイズ", "タイプ", "更新日"})) << seen.headers.join('|').toStdString();
}

TEST_F(FileDialogScreen, TheSaveDialogShowsShapefileNamesAndTheirType) {
    std::vector<QString> names;
    for (const char* pref : {"北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県"})
        names.push_back(QString("A09-18_%1_都市地域_用途地域_ポリゴン_出力.shp").arg(pref));
    for (const QString& n : names) touch(n, 123'456);
    touch("A09-18_北海道_都市地域_用途地域_ポリゴン_出力.dbf", 10);
    FileDialogRequest request;
    request.folder = dir.string();
    request.filter = "シェープファイル (*.shp);;すべてのファイル (*)";
    Seen seen;
    run([&] { QtUi().saveFile(request); }, names.size(), "file-dialog-save-" + localeName() + ".png", seen);
    ASSERT_EQ(seen.rows.size(), names.size());
    expectReadable(seen, true);
    for (const QString& n : names) EXPECT_EQ(seen.rows[n][4].toStdString(), "シェープファイル");
}

// Names longer than the screen cannot be whole: the ends that tell them apart still show.
TEST_F(FileDialogScreen, NamesWiderThanTheScreenStayDistinguishable) {
    // As long as a file name may be (255 bytes), far wider than the screen.
    const QString body = QString("very_long_name_of_a_converted_source_file_").repeated(5);
    std::vector<QString> names;
    for (int i = 1; i <= 5; ++i) names.push_back(body + QString("_%1.txt").arg(i));
    for (const QString& n : names) touch(n, 10);
    FileDialogRequest request;
    request.folder = dir.string();
    request.filter = "変換元データ (*.txt *.csv);;すべてのファイル (*)";
    request.multiple = true;
    Seen seen;
    run([&] { QtUi().openFiles(request); }, names.size(), "file-dialog-long-" + localeName() + ".png", seen);
    ASSERT_EQ(seen.rows.size(), names.size());
    expectReadable(seen, false);
}

}  // namespace
}  // namespace velmora::ui
