#pragma once
// The one QApplication of a test executable, created on first use (tests run on Qt's offscreen platform).
#include <QApplication>

namespace velmora::ui {

// The application is never destroyed: destroyed at exit, after Qt's own global objects, it would delete
// the input devices that an event loop registered with them and crash the test program after its tests.
inline QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "velmora-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace velmora::ui
