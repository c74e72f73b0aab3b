#include "platform/ui/QtUi.h"

#include "platform/ui/FileDialogColumns.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QAbstractItemView>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>

namespace velmora::ui {

namespace {

bool haveWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

QString q(const std::string& s) { return QString::fromStdString(s); }

// The boxes' texts use CR (and CR LF) for new lines; a label breaks lines at LF only.
QString boxText(const std::string& s) {
    QString t = q(s);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSet {
    std::vector<std::pair<QMessageBox::StandardButton, Answer>> buttons;  // the first is the default
    QMessageBox::StandardButton escape = QMessageBox::NoButton;
};

ButtonSet buttonSet(Buttons b) {
    using B = QMessageBox;
    switch (b) {
    case Buttons::Ok: return {{{B::Ok, Answer::Ok}}, B::Ok};
    case Buttons::OkCancel: return {{{B::Ok, Answer::Ok}, {B::Cancel, Answer::Cancel}}, B::Cancel};
    case Buttons::AbortRetryIgnore:
        return {{{B::Abort, Answer::Abort}, {B::Retry, Answer::Retry}, {B::Ignore, Answer::Ignore}}, B::NoButton};
    case Buttons::YesNoCancel:
        return {{{B::Yes, Answer::Yes}, {B::No, Answer::No}, {B::Cancel, Answer::Cancel}}, B::Cancel};
    case Buttons::YesNo: return {{{B::Yes, Answer::Yes}, {B::No, Answer::No}}, B::NoButton};
    case Buttons::RetryCancel: return {{{B::Retry, Answer::Retry}, {B::Cancel, Answer::Cancel}}, B::Cancel};
    }
    return {{{B::Ok, Answer::Ok}}, B::Ok};
}

std::string s(const QString& t) { return t.toStdString(); }

QString startPath(const FileDialogRequest& r) {
    if (r.fileName.empty()) return q(r.folder);
    if (r.folder.empty()) return q(r.fileName);
    return QDir(q(r.folder)).filePath(q(r.fileName));
}

// X11 window managers are handed the program's name in place of an empty title. A zero-width space on the
// native window keeps the bar empty, while the widget's own title stays exactly "". Showing the widget sets
// the native title again, so the space is put there once the window is shown.
class EmptyNativeTitle : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            QTimer::singleShot(0, this, [w = static_cast<QWidget*>(watched)] {
                if (QWindow* native = w->windowHandle()) native->setTitle(QString(QChar(0x200B)));
            });
        return false;
    }
};

void setExactTitle(QWidget& w, const QString& title) {
    w.setWindowTitle(title);
    if (title.isEmpty()) w.installEventFilter(new EmptyNativeTitle(&w));
}

// Qt's box breaks lines longer than half the screen, anywhere in a Japanese line. The lines the caller wrote
// are kept whole as far as Qt lets a box grow (its limit is screen width less 480, at most 1000, less the
// icon and margins).
void keepLinesWhole(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QScreen* screen = box.screen();
    if (!label || !screen) return;
    const int available = screen->availableGeometry().width();
    const int limit = (available > 1024 ? std::min(available - 480, 1000) : available) - 120;
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : label->text().split(u'\n')) widest = std::max(widest, metrics.horizontalAdvance(line));
    // The label's text layout takes a few pixels of its own: one character more keeps the last one on its line.
    label->setMinimumWidth(std::min(widest + metrics.horizontalAdvance(QChar(0x3000)), limit));
}

// Qt's own file dialog, in the language of the installed translations (a desktop's native dialog would
// speak the desktop's language).
void prepare(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!request.defaultSuffix.empty()) dialog.setDefaultSuffix(q(request.defaultSuffix));
    dialog.setWindowModality(Qt::ApplicationModal);
    useJapaneseFileColumns(dialog);
}

// The open dialog. Qt's modes take either several existing files or one name of any file; a request that
// lets the user type names of missing files gets "any file" with several selectable in the views.
class OpenDialog : public QFileDialog {
public:
    explicit OpenDialog(const FileDialogRequest& r)
        : QFileDialog(QApplication::activeWindow(), q(r.title), startPath(r), q(r.filter)), anyFile_(!r.mustExist) {
        prepare(*this, r);
        setAcceptMode(QFileDialog::AcceptOpen);
        if (!anyFile_) {
            setFileMode(r.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
            return;
        }
        setFileMode(QFileDialog::AnyFile);
        if (!r.multiple) return;
        // The views of Qt's dialog; without them the dialog still takes several typed, quoted names.
        for (auto* view : findChildren<QAbstractItemView*>())
            if (view->objectName() == QLatin1String("listView") || view->objectName() == QLatin1String("treeView"))
                view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }

    void accept() override {
        const QStringList files = selectedFiles();
        // Existing files only, or one folder, which Qt's dialog opens.
        if (!anyFile_ || (files.size() == 1 && QFileInfo(files.front()).isDir())) {
            QFileDialog::accept();
            return;
        }
        // "Any file" would keep the first name only.
        if (!files.isEmpty()) QDialog::accept();
    }

private:
    bool anyFile_;
};

}  // namespace

Answer QtUi::messageBox(const MessageBoxRequest& request) {
    const std::string title = request.title.value_or(defaultTitle());
    if (!haveWidgets()) {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), request.text.c_str());
        return defaultAnswer(request.buttons);
    }
    QMessageBox box(qtIcon(request.icon), QString(), boxText(request.text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    setExactTitle(box, q(title));
    box.setWindowModality(Qt::ApplicationModal);
    const ButtonSet set = buttonSet(request.buttons);
    for (const auto& [button, answer] : set.buttons) box.addButton(button);
    box.setDefaultButton(set.buttons.front().first);
    if (set.escape != QMessageBox::NoButton) box.setEscapeButton(set.escape);
    keepLinesWhole(box);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& [button, answer] : set.buttons)
        if (button == clicked) return answer;
    return defaultAnswer(request.buttons);
}

std::vector<std::string> QtUi::openFiles(const FileDialogRequest& request) {
    if (!haveWidgets()) return {};
    OpenDialog dialog(request);
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted)
        for (const QString& f : dialog.selectedFiles()) chosen.push_back(s(QDir::cleanPath(f)));
    return chosen;
}

std::optional<std::string> QtUi::saveFile(const FileDialogRequest& request) {
    if (!haveWidgets()) return std::nullopt;
    QFileDialog dialog(QApplication::activeWindow(), q(request.title), startPath(request), q(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    prepare(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return s(QDir::cleanPath(dialog.selectedFiles().front()));
}

std::optional<unsigned> QtUi::chooseColour(unsigned initial) {
    if (!haveWidgets()) return std::nullopt;
    const QColor c = QColorDialog::getColor(QColor::fromRgb(initial & 0xFFFFFFu), QApplication::activeWindow());
    if (!c.isValid()) return std::nullopt;
    return static_cast<unsigned>(c.rgb() & 0xFFFFFFu);
}

int QtUi::popupMenu(const std::vector<std::string>& items) {
    if (!haveWidgets()) return -1;
    QMenu menu(QApplication::activeWindow());
    std::vector<QAction*> actions;
    for (const auto& item : items) actions.push_back(item == "-" ? menu.addSeparator() : menu.addAction(q(item)));
    QAction* chosen = menu.exec(QCursor::pos());
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (chosen && actions[i] == chosen && items[i] != "-") return static_cast<int>(i);
    return -1;
}

int QtUi::runModal(QDialog& dialog) {
    dialog.setWindowModality(Qt::ApplicationModal);
    return dialog.exec();
}

void QtUi::yield() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void QtUi::setBusy(bool busy) {
    if (busy == busy_ || !haveWidgets()) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace velmora::ui
