#pragma once
// The program's help pages in a window of our own: the help file of the program folder in a text
// browser, links followed inside it.
#include <QWidget>
#include <string>

class QTextBrowser;

namespace velmora::viewer {

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(const std::string& file, QWidget* parent = nullptr);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace velmora::viewer
