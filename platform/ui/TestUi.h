#pragma once
// ScriptedUi for GoogleTest: installed while it lives; an unexpected box or dialog fails the current test
// with its text, and so does a script step left unused when it is destroyed.
//
//   velmora::ui::TestUi ui;
//   ui.answer(velmora::ui::Answer::Yes);
//   ...code under test...
//   EXPECT_EQ(ui.boxes().at(0).text, "...");
#include <gtest/gtest.h>

#include "platform/ui/ScriptedUi.h"

namespace velmora::ui {

class TestUi : public ScriptedUi {
public:
    TestUi() : ScriptedUi([](const std::string& d) { ADD_FAILURE() << "unexpected " << d; }) { install(); }
    ~TestUi() override {
        if (pendingSteps() != 0) ADD_FAILURE() << pendingSteps() << " scripted answer(s) never asked for";
    }
};

}  // namespace velmora::ui
