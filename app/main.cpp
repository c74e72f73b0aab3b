#include <QApplication>

#include "app/ConversionState.h"
#include "app/Main.h"
#include "platform/ui/QtTranslations.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    velmora::ui::installJapaneseQtTexts(velmora::programFolder());
    if (!velmora::modCommon::Main()) return 1;
    return app.exec();
}
