#pragma once
// The attribute table window: the grid tdbZokusei over a copy of a dBASE table in the program folder, the
// record bar datZokusei with the position caption ("1/120 件"), centred on the screen. It deletes its copy
// when it closes. Its tag is the path of the table it shows, by which the main window finds it again.
#include <QWidget>
#include <string>

class QLabel;
class QTableView;

namespace velmora::viewer {
class DbaseTableModel;
class RecordNavigator;
}

class frmTableView : public QWidget {
    Q_OBJECT

public:
    // caption: the table's name, shown as "属性表示 (name)".
    explicit frmTableView(const std::string& caption);

    void set_pDataBasePath(const std::string& DBPath) { pDataBasePath = DBPath; }
    void set_pDataBaseName(const std::string& DBName) { pDataBaseName = DBName; }
    // Opens the copy pDataBasePath/pDataBaseName.dbf and shows its first record as current. Throws when
    // the copy cannot be read as a table.
    void connectTable();

    // The path of the source table; the property "Tag" holds the same text.
    std::string tag() const;
    void setTag(const std::string& path);
    // The property that carries the tag on every window that has one.
    static constexpr const char* TagProperty = "Tag";

    QTableView* tdbZokusei = nullptr;
    velmora::viewer::RecordNavigator* datZokusei = nullptr;
    QLabel* lblRecord = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void datZokusei_MoveComplete();
    void moveBy(int step);
    void Form_QueryUnload();

    std::string pDataBasePath;
    std::string pDataBaseName;
    velmora::viewer::DbaseTableModel* model_ = nullptr;
};
