#pragma once
// The identify window: the records an identify click found (lstRecSet) and, for the chosen one, its fields
// and values (lvwIdentifyResults), under the search position (lblPoint). One window for the program, kept
// above the others, at the main window's top-left when it opens; a later click replaces its contents.
#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/map/MapView.h"
#include "platform/map/RecordSet.h"
#include "viewer/ThemeSelection.h"

class QLabel;
class QListWidget;
class QSplitter;
class QTreeWidget;

class frmIdentify : public QWidget {
    Q_OBJECT

public:
    // MainMap: the map whose shapes are flashed; topLeft: where the window opens.
    frmIdentify(velmora::map::MapView* MainMap, const QPoint& topLeft);

    // The open window, or nullptr.
    static frmIdentify* instance();
    // The open window, or a new one (deleted when closed).
    static frmIdentify* open(velmora::map::MapView* MainMap, const QPoint& topLeft);

    void set_pRecSet(std::unique_ptr<velmora::map::RecordSet> recordSet);
    void set_pPoint(const velmora::map::MapPoint& point);
    // The layer the result belongs to: its name goes to the caption.
    void set_pTheme(const velmora::viewer::SelectedTheme& theme);
    void ShowIdent();

    QListWidget* lstRecSet = nullptr;
    QTreeWidget* lvwIdentifyResults = nullptr;
    QLabel* lblPoint = nullptr;
    QSplitter* sspIdent = nullptr;

public slots:
    void lstRecSet_Click();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void IniSet();
    // build: new rows of names and values; else the values of the current record into the rows there.
    void IdenListSet(bool build);

    QPointer<velmora::map::MapView> MainMap_;
    std::unique_ptr<velmora::map::RecordSet> pRecSet;
    velmora::map::MapPoint pPoint;
    velmora::viewer::SelectedTheme theme_;
    QPoint topLeft_;
    bool placed_ = false;
    bool skipNextClick_ = false;
    int rowBeforePress_ = -1;
};
