#pragma once
// The one QApplication of a test executable, created on first use (tests run on Qt's offscreen platform).
#include <QApplication>

namespace velmora::ui {

inline QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "velmora-test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

}  // namespace velmora::ui
