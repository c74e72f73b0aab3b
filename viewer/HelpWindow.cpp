#include "viewer/HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace velmora::viewer {

HelpWindow::HelpWindow(const std::string& file, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("HelpWindow");
    setWindowTitle(QStringLiteral("ヘルプ"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(false);
    layout->addWidget(browser_);
    browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(file)));
    resize(720, 540);
}

}  // namespace velmora::viewer
