#include "platform/ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace velmora::ui {

bool installJapaneseQtTexts(const std::string& programFolder) {
    auto* app = QCoreApplication::instance();
    if (!app) return false;
    const QString installed = QStringLiteral("velmora-qt-japanese");
    if (app->findChild<QTranslator*>(installed, Qt::FindDirectChildrenOnly)) return true;
    auto* translator = new QTranslator(app);
    translator->setObjectName(installed);
    const QString name = QStringLiteral("qtbase_ja");
    const bool loaded = translator->load(name, QString::fromStdString(programFolder)) ||
                        translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!loaded || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace velmora::ui
