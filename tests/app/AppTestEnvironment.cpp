// One QApplication for the whole test program, made before the first test and ended
// after the last, with the window's hooks for the run-time services in place.
#include <gtest/gtest.h>

#include <memory>

#include <QApplication>

#include "app/WindowHooks.h"

namespace {

class AppTestEnvironment : public testing::Environment {
public:
    void SetUp() override {
        application_ = std::make_unique<QApplication>(argc_, argv_);
        // Closing a test's window must not end anything but that window.
        QApplication::setQuitOnLastWindowClosed(false);
        hooks_ = std::make_unique<korvel::WindowHooks>();
    }
    void TearDown() override {
        hooks_.reset();
        application_.reset();
    }

private:
    int argc_ = 1;
    char name_[9] = "test_app";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<korvel::WindowHooks> hooks_;
};

[[maybe_unused]] testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new AppTestEnvironment);

}  // namespace
