#include <QApplication>

#include "app/Main.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!velmora::modCommon::Main()) return 1;
    return app.exec();
}
