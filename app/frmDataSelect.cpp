#include "app/frmDataSelect.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <exception>
#include <string>

#include "app/Catalogue.h"
#include "app/ConversionState.h"
#include "platform/errors/RunTimeError.h"
#include "platform/ui/UiService.h"

namespace {

QPointer<frmDataSelect>& loadedForm() {
    static QPointer<frmDataSelect> form;
    return form;
}

}  // namespace

frmDataSelect::frmDataSelect(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDataSelect");
    setWindowTitle(QStringLiteral("変換データ選択画面"));
    // Closing with the close box unloads the dialog.
    setAttribute(Qt::WA_DeleteOnClose);

    SSTabData = new QTabWidget(this);
    SSTabData->setObjectName("SSTabData");
    for (const char* caption : {"ポイント", "ライン", "ポリゴン", "メッシュ", "台帳データ"})
        SSTabData->addTab(new QWidget(SSTabData), QString::fromUtf8(caption));
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

bool frmDataSelect::Form_Load() {
    velmora::ConversionState& s = velmora::conversionState();
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
