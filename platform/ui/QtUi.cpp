#include "platform/ui/QtUi.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>
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

}  // namespace

Answer QtUi::messageBox(const MessageBoxRequest& request) {
    const std::string title = request.title.empty() ? defaultTitle() : request.title;
    if (!haveWidgets()) {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), request.text.c_str());
        return defaultAnswer(request.buttons);
    }
    QMessageBox box(qtIcon(request.icon), q(title), boxText(request.text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    const ButtonSet set = buttonSet(request.buttons);
    for (const auto& [button, answer] : set.buttons) box.addButton(button);
    box.setDefaultButton(set.buttons.front().first);
    if (set.escape != QMessageBox::NoButton) box.setEscapeButton(set.escape);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& [button, answer] : set.buttons)
        if (button == clicked) return answer;
    return defaultAnswer(request.buttons);
}

std::vector<std::string> QtUi::openFiles(const FileDialogRequest& request) {
    if (!haveWidgets()) return {};
    QFileDialog dialog(QApplication::activeWindow(), q(request.title), startPath(request), q(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (!request.defaultSuffix.empty()) dialog.setDefaultSuffix(q(request.defaultSuffix));
    dialog.setWindowModality(Qt::ApplicationModal);
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
    if (!request.defaultSuffix.empty()) dialog.setDefaultSuffix(q(request.defaultSuffix));
    dialog.setWindowModality(Qt::ApplicationModal);
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
