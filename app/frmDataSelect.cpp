#include "app/frmDataSelect.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <exception>
#include <filesystem>
#include <string>

#include "app/Catalogue.h"
#include "convert/core/ConversionState.h"
#include "app/frmDataSet.h"
#include "app/frmDataSetALL.h"
#include "app/frmSyusuiSelect.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/LineReader.h"
#include "platform/text/Sjis.h"
#include "platform/ui/CaptionButton.h"
#include "platform/ui/UiService.h"

using velmora::CatalogKind;
using velmora::ConversionState;
using velmora::DataKind;

namespace {

// Button captions by index; "\n" separates the lines of a caption.
const char* const kCmdPointKind[] = {
    "潮汐・海洋施設",
    "港　　　湾",
    "海岸施設・感潮限界",
    "漁　　　港",
    "空 港 台 帳",
    "感 潮 限 界",
    "海岸利用施設",
    "験　　潮　　場",
    "地 価 公 示",
    "都道府県地価調査",
    "文　化　財",
    "公 共 施 設",
    "発　　電　　所",
    "ダ　　　ム",
    "水系域流路延長",
    "街区レベル位置\n参照情報",
};
const char* const kCmdLineKind[] = {
    "増 養 殖 施 設",
    "漁　　　礁",
    "海底敷設線・架空線",
    "架　　　橋",
    "環境基準類型\nあてはめ水域",
    "漁 港 区 域",
    "港 湾 区 域",
    "港　　　域",
    "航　　　路",
    "漁業権設定区域",
    "鉱　　　区",
    "海　岸　線",
    "埋立・干拓区域",
    "空 港 区 域",
    "砂 利 採 取 場",
    "自然公園区域",
    "国土保全関連情報",
    "保護水面台帳",
    "低地地形分類",
    "地盤沈下地域",
    "  地下水採取規制      地域台帳",
    "瀬戸内海環境保全特別措置法第五条第一項の地域",
    "環境基準類型指定水域（河川）",
    "環境基準類型指定水域（湖沼）",
    "大気汚染・水質汚濁総量規制地域",
    "道　　　路",
    "鉄　　　道",
    "流　　　路",
};
const char* const kCmdPolygonKind[] = {
    "都市計画区域",
    "自 然 公 園",
    "自然環境保全区域",
    "農 業 地 域",
    "森 林 地 域",
    "鳥獣保護区域",
    "三大都市圏\n計画区域",
    "リゾート法指定地域",
    "行政界・海岸線",
    "湖　　　沼",
    "流域界・非集水域",
    "湖　岸　線",
};
const char* const kCmdMeshKind[] = {
    "指 定 地 域",
    "指 定 地 域\n(1/10細分区画)",
    "森林・国公有地",
    "沿 岸 海 域",
    "波向・海霧・自然\n漁場(２次メッシュ)",
    "気　候　値",
    "標高・傾斜度",
    "標高・傾斜度\n(1/4細分区画)",
    "土 地 分 類",
    "山　　　岳",
    "谷  密  度\n(1/5細分区画)",
    "土 地 利 用\n(平成３年版以降)",
    "土 地 利 用\n(1/10細分区画)\n(平成３年版以降)",
    "道路密度・道路延長\n（昭和５３年・各県）",
    "商 業 統 計\n(３次メッシュ)",
    "商 業 統 計\n(４次メッシュ)",
    "工業統計",
    "湖　　　沼",
    "湖　　　沼\n(1/10細分区画)",
    "流路延長",
    "流域・非集水域\n(1/10細分区画)",
    "土 地 利 用\n(昭和５１年版)",
    "土 地 利 用\n(昭和６２年版)",
    "土 地 利 用\n(1/10細分区画)\n(昭和５１年版)",
    "土 地 利 用\n(1/10細分区画)\n(昭和６２年版)",
    "農業センサス",
    "道路密度・道路延長\n（平成１５年・全国）",
};
const char* const kCmdAttrKind[] = {
    "高潮・津波\nテーブル",
    "生活環境項目",
    "海　岸　線",
    "海　水　浴",
    "埋立・干拓区域",
    "環境基準類型指定\n水域（河川）",
    "環境基準類型指定\n水域（湖沼）",
    "大気汚染・水質汚濁\n総量規制地域",
    "河 川 区 域",
    "保 安 林 区 域",
    "河川・水域ﾃｰﾌﾞﾙ",
    "湖　　　沼",
    "河　　　川",
    "単 位 流 域",
};

QPointer<frmDataSelect>& loadedForm() {
    static QPointer<frmDataSelect> form;
    return form;
}

// The polygon question of an area row, or "" for the rows that ask nothing.
std::string polygonQuestion(int row) {
    static const char* const kInstructions =
        "ポリゴンを作成する場合は「はい(Y)」を押して下さい。\r\n"
        "ポリゴンを作成せずにライン・代表点の作成を行う場合は、「いいえ(N)」を押して下さい。\r\n"
        "処理を中止する場合は、「ｷｬﾝｾﾙ」を押して下さい。";
    struct Lines {
        int row;
        const char* first;
        const char* second;
    };
    static const Lines kRows[] = {
        {0, "都市計画区域には、ポリゴンを作成できないデータが存在します。",
         "変換率は全国平均で約７２．６％ですが、ポリゴンを作成しますか？"},
        {1, "自然公園には、ポリゴンを作成できないデータが存在します。",
         "変換率は全国平均で約９９．６％ですが、ポリゴンを作成しますか？"},
        {5, "鳥獣保護区域には、ポリゴンを作成できないデータが存在します。",
         "変換率は全国平均で約９９．８％ですが、ポリゴンを作成しますか？"},
        {6, "三大都市圏計画区域には、ポリゴンを作成できないデータが存在します。",
         "変換率は約８０．５％ですが、ポリゴンを作成しますか？"},
        {7, "リゾート法指定地域には、ポリゴンを作成できないデータが存在します。",
         "変換率は約９９．４％ですが、ポリゴンを作成しますか？"},
        {9, "湖沼には、ポリゴンを作成できないデータが存在します。",
         "変換率は全国平均で約９８．０％ですが、ポリゴンを作成しますか？"},
    };
    if (row == 10)
        return std::string("流域界ポリゴンを作成しますか？\r\n\r\n") + kInstructions +
               "\r\n\r\n※非集水域については、ポリゴンを作成できません。ライン・代表点の作成のみが可能です。";
    for (const Lines& l : kRows)
        if (l.row == row) return std::string(l.first) + "\r\n" + l.second + "\r\n\r\n" + kInstructions;
    return {};
}

void showProcedureError(const std::exception& e, const char* procedure) {
    velmora::ui::showError(e, std::string("Error: frmDataSelect (") + procedure + ")");
}

}  // namespace

frmDataSelect::frmDataSelect(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDataSelect");
    setWindowTitle(QStringLiteral("変換データ選択画面"));
    // Closing with the close box unloads the dialog.
    setAttribute(Qt::WA_DeleteOnClose);

    SSTabData = new QTabWidget(this);
    SSTabData->setObjectName("SSTabData");
    struct Tab {
        const char* caption;
        const char* buttonName;
        const char* const* captions;
        int count;
        std::vector<QPushButton*>* buttons;
        void (frmDataSelect::*click)(int);
    };
    const Tab tabs[5] = {
        {"ポイント", "CmdPointKind", kCmdPointKind, 16, &CmdPointKind, &frmDataSelect::CmdPointKind_Click},
        {"ライン", "CmdLineKind", kCmdLineKind, 28, &CmdLineKind, &frmDataSelect::CmdLineKind_Click},
        {"ポリゴン", "CmdPolygonKind", kCmdPolygonKind, 12, &CmdPolygonKind, &frmDataSelect::CmdPolygonKind_Click},
        {"メッシュ", "CmdMeshKind", kCmdMeshKind, 27, &CmdMeshKind, &frmDataSelect::CmdMeshKind_Click},
        {"台帳データ", "CmdAttrKind", kCmdAttrKind, 14, &CmdAttrKind, &frmDataSelect::CmdAttrKind_Click},
    };
    for (const Tab& t : tabs) {
        auto* page = new QWidget(SSTabData);
        auto* grid = new QGridLayout(page);
        constexpr int kColumns = 4;
        for (int i = 0; i < t.count; ++i) {
            auto* b = new velmora::ui::CaptionButton(QString::fromUtf8(t.captions[i]), page);
            b->setObjectName(t.buttonName);
            b->setProperty("index", i);
            connect(b, &QPushButton::clicked, this, [this, click = t.click, i] { (this->*click)(i); });
            grid->addWidget(b, i / kColumns, i % kColumns);
            t.buttons->push_back(b);
        }
        grid->setRowStretch(grid->rowCount(), 1);
        SSTabData->addTab(page, QString::fromUtf8(t.caption));
    }
    P_ListInputFile = new QListWidget(this);
    P_ListInputFile->setObjectName("P_ListInputFile");
    P_ListInputFile->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTabData);
}

frmDataSelect::~frmDataSelect() = default;

frmDataSelect* frmDataSelect::current() { return loadedForm().data(); }

frmDataSelect* frmDataSelect::loaded(QWidget* parent) {
    QPointer<frmDataSelect>& form = loadedForm();
    if (form) return form;
    auto* f = new frmDataSelect(parent);
    if (!f->Form_Load()) {
        delete f;
        // The program cannot convert anything without its catalogue: end it (the box was shown).
        QCoreApplication::exit(1);
        return nullptr;
    }
    form = f;
    return f;
}

std::vector<std::string> frmDataSelect::listedFiles(const QListWidget* list) {
    std::vector<std::string> files;
    if (!list) return files;
    for (int i = 0; i < list->count(); ++i) files.push_back(list->item(i)->text().toStdString());
    return files;
}

std::string& frmDataSelect::lastInputFolder() {
    static std::string folder;
    return folder;
}

bool frmDataSelect::Form_Load() {
    ConversionState& s = velmora::conversionState();
    try {
        s.AppFolder = velmora::programFolder() + "/";
        SSTabData->setCurrentIndex(0);
        SetDataName();
        return SetKisoJyoho();
    } catch (const std::exception& e) {
        // This box names the procedure in its text as well as in its title.
        const velmora::RunTimeError* rte = dynamic_cast<const velmora::RunTimeError*>(&e);
        const std::string number = std::to_string(rte ? rte->number() : 51);
        velmora::ui::message(number + " " + e.what() + "\r\nfrmDataSelect (Form_Load)",
                             "Error: frmDataSelect (Form_Load)", velmora::ui::Icon::Critical,
                             velmora::ui::Buttons::Ok, true);
        return true;  // the dialog still shows
    }
}

void frmDataSelect::SetDataName() { velmora::catalogue::SetDataName(velmora::conversionState()); }

bool frmDataSelect::SetKisoJyoho() { return velmora::catalogue::SetKisoJyoho(velmora::conversionState()); }

bool frmDataSelect::SelectInputFiles(const std::vector<std::string>& names) {
    return chooseInputFiles(names, lastInputFolder(), *P_ListInputFile);
}

bool frmDataSelect::chooseInputFiles(const std::vector<std::string>& names, std::string& lastFolder,
                                     QListWidget& list) {
    try {
        ConversionState& s = velmora::conversionState();
        const std::string& name = velmora::layerRow(names, s.SelectedIndex);
        velmora::ui::FileDialogRequest request;
        request.folder = lastFolder.empty() ? s.AppFolder : lastFolder;
        request.filter = name + "変換元データ (*.txt *.csv);;すべてのファイル (*)";
        request.multiple = true;
        const std::vector<std::string> chosen = velmora::ui::service().openFiles(request);
        if (chosen.empty()) return false;
        lastFolder = std::filesystem::path(chosen.front()).parent_path().string() + "/";
        for (const std::string& f : chosen) list.addItem(QString::fromStdString(f));
        return true;
    } catch (const std::exception&) {
        // As a cancel: nothing chosen, nothing said.
        return false;
    }
}

bool frmDataSelect::CheckFileKind() {
    try {
        ConversionState& s = velmora::conversionState();
        bool nationwide = false;
        if (P_ListInputFile->count() < 2) {
            switch (s.SelectedKind) {
                case DataKind::Point: nationwide = velmora::layerRow(s.PointLayers, s.SelectedIndex).AllowNationwide; break;
                case DataKind::Line: nationwide = velmora::layerRow(s.LineLayers, s.SelectedIndex).AllowNationwide; break;
                case DataKind::Mesh: nationwide = velmora::layerRow(s.MeshLayers, s.SelectedIndex).AllowNationwide; break;
                default: break;
            }
        }
        s.NationwideMode = nationwide;
        return true;
    } catch (const std::exception& e) {
        showProcedureError(e, "CheckFileKind");
        return false;
    }
}

bool frmDataSelect::CheckPolygonFileKind() {
    try {
        ConversionState& s = velmora::conversionState();
        if (P_ListInputFile->count() > 1) {
            s.NationwideMode = false;
            return true;
        }
        if (s.SelectedIndex == 9) {
            // The nationwide lakes file is told by its header, whatever the catalogue row allows. The text is
            // looked for at character boundaries: the trail byte of a double-byte character may read "W".
            velmora::text::LineReader reader(P_ListInputFile->item(0)->text().toStdString());
            std::string first;
            reader.next(first);
            s.NationwideMode = velmora::text::sjisContains(first, "W09-50A-2K");
        } else {
            s.NationwideMode = velmora::layerRow(s.PolygonLayers, s.SelectedIndex).AllowNationwide;
        }
        return true;
    } catch (const std::exception& e) {
        showProcedureError(e, "CheckPolygonFileKind");
        return false;
    }
}

void frmDataSelect::showJobDialog(bool nationwide) {
    if (nationwide) {
        frmDataSetALL dialog(this);
        dialog.Form_Load();
        velmora::ui::service().runModal(dialog);
    } else {
        frmDataSet dialog(this);
        dialog.Form_Load();
        velmora::ui::service().runModal(dialog);
    }
}

void frmDataSelect::kindButton(int kind, int index, const char* procedure) {
    try {
        ConversionState& s = velmora::conversionState();
        P_ListInputFile->clear();
        s.SelectedKind = static_cast<DataKind>(kind);
        s.SelectedIndex = static_cast<std::int16_t>(index);
        if (!SelectInputFiles(s.dataNames(velmora::toCatalogKind(s.SelectedKind))) || P_ListInputFile->count() == 0)
            return;
        if (s.SelectedKind == DataKind::Attr) {
            // Attribute tables are never converted by the nationwide dialog.
            showJobDialog(false);
            return;
        }
        if (!CheckFileKind()) return;
        showJobDialog(s.NationwideMode);
    } catch (const std::exception& e) {
        showProcedureError(e, procedure);
    }
}

void frmDataSelect::CmdPointKind_Click(int index) { kindButton(0, index, "CmdPointKind_Click"); }
void frmDataSelect::CmdLineKind_Click(int index) { kindButton(1, index, "CmdLineKind_Click"); }
void frmDataSelect::CmdMeshKind_Click(int index) { kindButton(3, index, "CmdMeshKind_Click"); }
void frmDataSelect::CmdAttrKind_Click(int index) { kindButton(4, index, "frmDataSelect CmdAttrKind_Click"); }

void frmDataSelect::CmdPolygonKind_Click(int index) {
    try {
        ConversionState& s = velmora::conversionState();
        P_ListInputFile->clear();
        if (index == 11) {
            velmora::ui::message("湖岸線データはフォーマットが不明の為、現在データ変換を行えません。", "ﾒｯｾｰｼﾞ",
                                 velmora::ui::Icon::Information);
            return;
        }
        const std::string question = polygonQuestion(index);
        if (question.empty()) {
            s.PolygonMakeMode = 1;
        } else {
            const velmora::ui::Answer a = velmora::ui::message(question, "ﾎﾟﾘｺﾞﾝ作成ﾒｯｾｰｼﾞ", velmora::ui::Icon::Exclamation,
                                                               velmora::ui::Buttons::YesNoCancel);
            if (a == velmora::ui::Answer::Cancel) return;
            s.PolygonMakeMode = a == velmora::ui::Answer::Yes ? 1 : 2;
        }
        s.SelectedKind = DataKind::Area;
        s.SelectedIndex = static_cast<std::int16_t>(index);
        if (index == 10) {
            frmSyusuiSelect dialog(this);
            dialog.Form_Load();
            velmora::ui::service().runModal(dialog);
            return;
        }
        if (!SelectInputFiles(s.dataNames(CatalogKind::Area)) || P_ListInputFile->count() == 0) return;
        if (!CheckPolygonFileKind()) return;
        showJobDialog(s.NationwideMode);
    } catch (const std::exception& e) {
        showProcedureError(e, "CmdPolygonKind_Click");
    }
}
