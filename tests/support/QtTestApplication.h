#pragma once
// The QApplication a widget test needs, alive for the whole test program.
// Include it from any test file of a program that builds widgets.

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!QApplication::instance()) app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "halvex-tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const qtApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);
