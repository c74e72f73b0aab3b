#include "app/CancelOnlyLayout.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

QPushButton* addCancelOnlyLayout(QDialog& dialog) {
    auto* cmdEnd = new QPushButton(QStringLiteral("キャンセル"), &dialog);
    cmdEnd->setObjectName("cmdEnd");
    QObject::connect(cmdEnd, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEnd);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addStretch();
    layout->addLayout(buttons);
    dialog.resize(420, 300);
    return cmdEnd;
}

}  // namespace velmora
