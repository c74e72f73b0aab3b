#pragma once
// A fresh folder per test for its database files, removed afterwards.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/db/Database.h"
#include "platform/errors/RunTimeError.h"

class DbTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-db-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string file(const std::string& name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;
};

// The error number a statement throws, or 0 when it throws nothing.
template <class F>
int errorOf(F&& f) {
    try {
        f();
    } catch (const velmora::RunTimeError& e) {
        return e.number();
    }
    return 0;
}
