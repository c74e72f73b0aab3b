// The data-kind dialog driven through the scripted user interface: which job dialog each button opens,
// the polygon questions, the open dialog, and what a cancel leaves alone.
#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QPushButton>
#include <QTabWidget>

#include "platform/text/Cp932.h"
#include "platform/ui/CaptionButton.h"
#include "tests/app/dialogs/DialogTest.h"

namespace velmora {
namespace {

using testsupport::DialogTest;
using ui::Answer;

// The three lines every polygon question ends with.
const std::string instructions =
    "ポリゴンを作成する場合は「はい(Y)」を押して下さい。\r\n"
    "ポリゴンを作成せずにライン・代表点の作成を行う場合は、「いいえ(N)」を押して下さい。\r\n"
    "処理を中止する場合は、「ｷｬﾝｾﾙ」を押して下さい。";

class DataSelect : public DialogTest {
protected:
    // A modal run that records the dialog's object name and the input list of a file-list dialog.
    ui::ScriptedUi::ModalDriver recordDialog() {
        return [this](QDialog& d) {
            shown_.push_back(d.objectName().toStdString());
            if (auto* f = dynamic_cast<frmDataSet*>(&d)) listed_ = f->inputFiles();
            return int(QDialog::Rejected);
        };
    }
    std::vector<std::string> shown_;
    std::vector<std::string> listed_;
};

TEST_F(DataSelect, TabsAndButtonsCarryTheirCaptionsAndRows) {
    frmDataSelect& d = dataSelect();
    EXPECT_EQ(d.windowTitle(), "変換データ選択画面");
    ASSERT_EQ(d.SSTabData->count(), 5);
    const char* tabs[] = {"ポイント", "ライン", "ポリゴン", "メッシュ", "台帳データ"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(d.SSTabData->tabText(i), QString::fromUtf8(tabs[i]));
    EXPECT_EQ(d.SSTabData->currentIndex(), 0);
    struct Array {
        const char* name;
        const std::vector<QPushButton*>& buttons;
        std::size_t count;
    };
    const Array arrays[] = {{"CmdPointKind", d.CmdPointKind, 16}, {"CmdLineKind", d.CmdLineKind, 28},
                            {"CmdPolygonKind", d.CmdPolygonKind, 12}, {"CmdMeshKind", d.CmdMeshKind, 27},
                            {"CmdAttrKind", d.CmdAttrKind, 14}};
    for (const Array& a : arrays) {
        ASSERT_EQ(a.buttons.size(), a.count) << a.name;
        EXPECT_EQ(d.findChildren<QPushButton*>(a.name).size(), qsizetype(a.count)) << a.name;
        for (std::size_t i = 0; i < a.count; ++i) EXPECT_EQ(a.buttons[i]->property("index").toInt(), int(i));
    }
    EXPECT_EQ(d.CmdPointKind[1]->text(), "港　　　湾");
    EXPECT_EQ(d.CmdPointKind[15]->text(), "街区レベル位置\n参照情報");
    EXPECT_EQ(d.CmdLineKind[20]->text(), "  地下水採取規制      地域台帳");
    EXPECT_EQ(d.CmdPolygonKind[11]->text(), "湖　岸　線");
    EXPECT_EQ(d.CmdMeshKind[12]->text(), "土 地 利 用\n(1/10細分区画)\n(平成３年版以降)");
    EXPECT_EQ(d.CmdAttrKind[13]->text(), "単 位 流 域");
    EXPECT_FALSE(d.P_ListInputFile->isVisibleTo(&d));
}

// Shown at its first size, the dialog draws every caption inside its button, measured in the button's own
// font, breaking lines where a reader would and losing no character but the blanks at a break.
TEST_F(DataSelect, EveryCaptionIsDrawnInsideItsButton) {
    frmDataSelect& d = dataSelect();
    d.show();
    const std::vector<QPushButton*>* tabs[] = {&d.CmdPointKind, &d.CmdLineKind, &d.CmdPolygonKind, &d.CmdMeshKind,
                                               &d.CmdAttrKind};
    const auto withoutBlanks = [](QString t) {
        return t.remove(u' ').remove(QChar(0x3000)).remove(u'\n');
    };
    int captions = 0;
    for (int tab = 0; tab < 5; ++tab) {
        d.SSTabData->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        for (QPushButton* button : *tabs[tab]) {
            auto* b = dynamic_cast<ui::CaptionButton*>(button);
            ASSERT_NE(b, nullptr);
            ASSERT_TRUE(b->isVisible());
            const std::string caption = b->text().toStdString();
            const QRect area = b->captionRect();
            EXPECT_TRUE(b->rect().contains(area)) << caption;
            const QFontMetrics metrics(b->font());
            const QStringList lines = b->captionLines();
            // The text as drawn, Japanese glyphs from a fallback font included (they may need taller lines
            // than the button's font itself).
            const QRect drawn = metrics.boundingRect(area, Qt::AlignCenter, lines.join(u'\n'));
            EXPECT_TRUE(area.contains(drawn)) << caption << ": " << drawn.height() << " high in " << area.height();
            for (const QString& line : lines)
                EXPECT_LE(metrics.horizontalAdvance(line), area.width()) << caption << ": " << line.toStdString();
            EXPECT_EQ(withoutBlanks(lines.join(QString())), withoutBlanks(b->text())) << caption;
            ++captions;
        }
    }
    EXPECT_EQ(captions, 97);
    // Captions a reader would break otherwise than anywhere.
    EXPECT_EQ(dynamic_cast<ui::CaptionButton*>(d.CmdLineKind[20])->captionLines(),
              (QStringList{"地下水採取規制", "地域台帳"}));
    for (int row : {22, 23}) {
        const QStringList lines = dynamic_cast<ui::CaptionButton*>(d.CmdLineKind[row])->captionLines();
        ASSERT_EQ(lines.size(), 2) << row;
        EXPECT_TRUE(lines[1].startsWith(u'（')) << lines.join(u'|').toStdString();
    }
}

TEST_F(DataSelect, OneFileOfANationwideItemOpensTheNationwideDialog) {
    frmDataSelect& d = dataSelect();
    ConversionState& s = conversionState();
    struct Case {
        DataKind kind;
        int row;
        bool allow;
        int files;
        const char* dialog;
    };
    const Case cases[] = {
        {DataKind::Point, 3, true, 1, "frmDataSetALL"},  {DataKind::Point, 3, true, 2, "frmDataSet"},
        {DataKind::Point, 3, false, 1, "frmDataSet"},    {DataKind::Line, 25, true, 1, "frmDataSetALL"},
        {DataKind::Line, 25, true, 3, "frmDataSet"},     {DataKind::Mesh, 1, true, 1, "frmDataSetALL"},
        {DataKind::Mesh, 1, false, 1, "frmDataSet"},     {DataKind::Attr, 13, true, 1, "frmDataSet"},
        {DataKind::Attr, 13, false, 2, "frmDataSet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << number(c.kind) << "/" << c.row << " files " << c.files);
        s.PointLayers[3].AllowNationwide = s.LineLayers[25].AllowNationwide = s.MeshLayers[1].AllowNationwide =
            s.AttrLayers[13].AllowNationwide = c.allow;
        std::vector<std::string> files;
        for (const char* name : {"f0.txt", "f1.txt", "f2.txt"})
            if (files.size() < std::size_t(c.files)) files.push_back(input(name));
        ui_.answerOpen(files).answerModal(recordDialog());
        shown_.clear();
        listed_.clear();
        switch (c.kind) {
            case DataKind::Point: d.CmdPointKind[c.row]->click(); break;
            case DataKind::Line: d.CmdLineKind[c.row]->click(); break;
            case DataKind::Mesh: d.CmdMeshKind[c.row]->click(); break;
            default: d.CmdAttrKind[c.row]->click(); break;
        }
        EXPECT_EQ(shown_, std::vector<std::string>{c.dialog});
        EXPECT_EQ(s.SelectedKind, c.kind);
        EXPECT_EQ(s.SelectedIndex, c.row);
        EXPECT_EQ(frmDataSelect::listedFiles(d.P_ListInputFile), files);
        // The file-list dialog copies the list in the order the open dialog gave it.
        if (std::string(c.dialog) == "frmDataSet") {
            EXPECT_EQ(listed_, files);
        }
    }
}

TEST_F(DataSelect, TheLakesRowIsToldByTheFileHeader) {
    frmDataSelect& d = dataSelect();
    ConversionState& s = conversionState();
    struct Case {
        std::vector<std::string> firstLines;
        bool allow;
        const char* dialog;
    };
    const Case cases[] = {
        {{"W09-50A-2K  湖沼"}, false, "frmDataSetALL"},
        {{"W09-50A-2k  湖沼"}, true, "frmDataSet"},
        {{"W09  湖沼"}, true, "frmDataSet"},
        // "ジ" is 83 57: its trail byte reads "W", but the line holds no "W09-50A-2K".
        {{"ジ09-50A-2K  湖沼"}, true, "frmDataSet"},
        {{"湖沼 W09-50A-2K"}, false, "frmDataSetALL"},
        {{"W09-50A-2K", "W09-50A-2K"}, true, "frmDataSet"},
    };
    for (const Case& c : cases) {
        s.PolygonLayers[9].AllowNationwide = c.allow;
        std::vector<std::string> files;
        for (std::size_t i = 0; i < c.firstLines.size(); ++i)
            files.push_back(input("lake" + std::to_string(i) + ".txt", text::toCp932(c.firstLines[i])));
        ui_.answer(Answer::Yes).answerOpen(files).answerModal(recordDialog());
        shown_.clear();
        d.CmdPolygonKind[9]->click();
        EXPECT_EQ(shown_, std::vector<std::string>{c.dialog}) << c.firstLines[0];
    }
}

TEST_F(DataSelect, OtherAreaRowsFollowTheCatalogue) {
    frmDataSelect& d = dataSelect();
    ConversionState& s = conversionState();
    for (bool allow : {true, false}) {
        s.PolygonLayers[8].AllowNationwide = allow;
        ui_.answerOpen({input("a.txt")}).answerModal(recordDialog());
        shown_.clear();
        d.CmdPolygonKind[8]->click();
        EXPECT_EQ(shown_, std::vector<std::string>{allow ? "frmDataSetALL" : "frmDataSet"});
    }
}

TEST_F(DataSelect, PolygonQuestions) {
    frmDataSelect& d = dataSelect();
    ConversionState& s = conversionState();

    // Rows 2, 3, 4 and 8 ask nothing and build polygons.
    s.PolygonMakeMode = 2;
    ui_.answerOpen({});
    d.CmdPolygonKind[3]->click();
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_EQ(s.PolygonMakeMode, 1);
    EXPECT_EQ(s.SelectedKind, DataKind::Area);
    EXPECT_EQ(s.SelectedIndex, 3);

    ui_.answer(Answer::No).answerOpen({});
    d.CmdPolygonKind[0]->click();
    EXPECT_EQ(s.PolygonMakeMode, 2);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text,
              "都市計画区域には、ポリゴンを作成できないデータが存在します。\r\n"
              "変換率は全国平均で約７２．６％ですが、ポリゴンを作成しますか？\r\n\r\n" + instructions);
    EXPECT_EQ(ui_.boxes()[0].title, "ﾎﾟﾘｺﾞﾝ作成ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(ui_.boxes()[0].buttons, ui::Buttons::YesNoCancel);

    // Cancel keeps the previous state and asks for no files.
    s.SelectedKind = DataKind::Point;
    s.SelectedIndex = 7;
    ui_.clearRecords();
    ui_.answer(Answer::Cancel);
    d.CmdPolygonKind[6]->click();
    EXPECT_EQ(s.PolygonMakeMode, 2);
    EXPECT_EQ(s.SelectedKind, DataKind::Point);
    EXPECT_EQ(s.SelectedIndex, 7);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text,
              "三大都市圏計画区域には、ポリゴンを作成できないデータが存在します。\r\n"
              "変換率は約８０．５％ですが、ポリゴンを作成しますか？\r\n\r\n" + instructions);
    EXPECT_EQ(ui_.boxes()[0].title, "ﾎﾟﾘｺﾞﾝ作成ﾒｯｾｰｼﾞ");
    EXPECT_TRUE(ui_.dialogs().empty());

    // Catchments: the question of their own, then the catchment dialog, never this dialog's open dialog.
    ui_.clearRecords();
    ui_.answer(Answer::Yes).answerModal(recordDialog());
    d.CmdPolygonKind[10]->click();
    EXPECT_EQ(shown_, std::vector<std::string>{"frmSyusuiSelect"});
    EXPECT_EQ(s.PolygonMakeMode, 1);
    EXPECT_EQ(s.SelectedIndex, 10);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "流域界ポリゴンを作成しますか？\r\n\r\n" + instructions +
                                       "\r\n\r\n※非集水域については、ポリゴンを作成できません。ライン・代表点の作成のみが可能です。");
    EXPECT_EQ(ui_.boxes()[0].title, "ﾎﾟﾘｺﾞﾝ作成ﾒｯｾｰｼﾞ");
    ASSERT_EQ(ui_.dialogs().size(), 1u);
    EXPECT_EQ(ui_.dialogs()[0].kind, ui::DialogRecord::Kind::Modal);
}

// The area rows the test above leaves out: each asking row with its own text, and what Yes and No leave.
TEST_F(DataSelect, EveryAreaRowAsksItsOwnQuestionOrNone) {
    frmDataSelect& d = dataSelect();
    ConversionState& s = conversionState();
    struct Case {
        int row;
        const char* first;   // nullptr: no question
        const char* second;
    };
    const Case cases[] = {
        {1, "自然公園には、ポリゴンを作成できないデータが存在します。",
         "変換率は全国平均で約９９．６％ですが、ポリゴンを作成しますか？"},
        {2, nullptr, nullptr},
        {4, nullptr, nullptr},
        {5, "鳥獣保護区域には、ポリゴンを作成できないデータが存在します。",
         "変換率は全国平均で約９９．８％ですが、ポリゴンを作成しますか？"},
        {7, "リゾート法指定地域には、ポリゴンを作成できないデータが存在します。",
         "変換率は約９９．４％ですが、ポリゴンを作成しますか？"},
        {8, nullptr, nullptr},
        {9, "湖沼には、ポリゴンを作成できないデータが存在します。",
         "変換率は全国平均で約９８．０％ですが、ポリゴンを作成しますか？"},
    };
    for (const Case& c : cases) {
        for (Answer a : {Answer::Yes, Answer::No}) {
            SCOPED_TRACE(::testing::Message() << "row " << c.row << (a == Answer::Yes ? " Yes" : " No"));
            ui_.clearRecords();
            s.PolygonMakeMode = a == Answer::Yes ? 2 : 1;
            if (c.first) ui_.answer(a);
            ui_.answerOpen({});
            d.CmdPolygonKind[c.row]->click();
            EXPECT_EQ(s.SelectedIndex, c.row);
            if (!c.first) {
                EXPECT_TRUE(ui_.boxes().empty());
                EXPECT_EQ(s.PolygonMakeMode, 1);
                continue;
            }
            ASSERT_EQ(ui_.boxes().size(), 1u);
            EXPECT_EQ(ui_.boxes()[0].text, std::string(c.first) + "\r\n" + c.second + "\r\n\r\n" + instructions);
            EXPECT_EQ(ui_.boxes()[0].title, "ﾎﾟﾘｺﾞﾝ作成ﾒｯｾｰｼﾞ");
            EXPECT_EQ(s.PolygonMakeMode, a == Answer::Yes ? 1 : 2);
        }
    }
}

TEST_F(DataSelect, OtherKindsLeavePolygonMakeModeAlone) {
    frmDataSelect& d = dataSelect();
    ConversionState& s = conversionState();
    s.PolygonMakeMode = 2;
    for (const std::vector<QPushButton*>* buttons : {&d.CmdPointKind, &d.CmdLineKind, &d.CmdMeshKind, &d.CmdAttrKind}) {
        ui_.answerOpen({input("a.txt")}).answerModal(recordDialog());
        buttons->at(0)->click();
    }
    EXPECT_EQ(shown_.size(), 4u);
    EXPECT_EQ(s.PolygonMakeMode, 2);
}

TEST_F(DataSelect, TheLakeShoreRowIsRefusedWithoutChangingAnything) {
    frmDataSelect& d = dataSelect();
    ConversionState& s = conversionState();
    s.SelectedKind = DataKind::Mesh;
    s.SelectedIndex = 4;
    s.PolygonMakeMode = 2;
    ui_.answer(Answer::Ok);
    d.CmdPolygonKind[11]->click();
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "湖岸線データはフォーマットが不明の為、現在データ変換を行えません。");
    EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Information);
    EXPECT_EQ(s.SelectedKind, DataKind::Mesh);
    EXPECT_EQ(s.SelectedIndex, 4);
    EXPECT_EQ(s.PolygonMakeMode, 2);
    EXPECT_TRUE(ui_.dialogs().empty());
}

TEST_F(DataSelect, TheOpenDialogStartsInTheLastFolderWithTheItemsFilter) {
    frmDataSelect& d = dataSelect();
    const std::string a = input("a.txt"), b = input("b.txt");
    ui_.answerOpen({a, b}).answerModal(recordDialog());
    d.CmdPointKind[3]->click();
    // A second press starts again with an empty list; a cancel opens nothing and says nothing.
    ui_.answerOpen({}).answerOpen({});
    d.CmdLineKind[25]->click();
    EXPECT_EQ(d.P_ListInputFile->count(), 0);
    EXPECT_TRUE(ui_.boxes().empty());
    // The cancel kept the last folder.
    d.CmdMeshKind[1]->click();
    ASSERT_EQ(ui_.dialogs().size(), 4u);
    EXPECT_EQ(ui_.dialogs()[3].request.folder, (folder_.path() / "in").string() + "/");
    const ui::FileDialogRequest& first = ui_.dialogs()[0].request;
    EXPECT_EQ(first.folder, folder_.path().string() + "/");
    EXPECT_EQ(first.filter, "漁港変換元データ (*.txt *.csv);;すべてのファイル (*)");
    EXPECT_TRUE(first.multiple);
    EXPECT_TRUE(first.mustExist);
    const ui::FileDialogRequest& second = ui_.dialogs()[2].request;
    EXPECT_EQ(second.folder, (folder_.path() / "in").string() + "/");
    EXPECT_EQ(second.filter, "道路変換元データ (*.txt *.csv);;すべてのファイル (*)");
}

TEST_F(DataSelect, AnUnreadableLakesFileOpensNoJobDialog) {
    frmDataSelect& d = dataSelect();
    ui_.answer(Answer::Yes).answerOpen({(folder_.path() / "in" / "gone.txt").string()}).answer(Answer::Ok);
    d.CmdPolygonKind[9]->click();
    ASSERT_EQ(ui_.boxes().size(), 2u);
    EXPECT_EQ(ui_.boxes()[1].text, "53 ファイルが見つかりません。");
    EXPECT_EQ(ui_.boxes()[1].title, "Error: frmDataSelect (CheckPolygonFileKind)");
    EXPECT_EQ(ui_.boxes()[1].icon, ui::Icon::Critical);
    EXPECT_EQ(ui_.dialogs().size(), 1u);
}

}  // namespace
}  // namespace velmora
