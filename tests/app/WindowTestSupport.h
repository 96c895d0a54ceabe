#pragma once
// The real main window, shown offscreen for each test, and a way to answer the modal
// boxes a window operation opens.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "app/MainWindow.h"

namespace korvel::test {

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    template <typename Widget>
    Widget* Find(Control control) {
        return qobject_cast<Widget*>(window_.ControlWidget(control));
    }

    MainWindow window_;
};

// While it lives, answers the next modal widget that opens (the box the code under test
// is about to run) by calling answer on it, from inside that box's own event loop.
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            timer_.stop();
            seen_ = true;
            answer_(modal);
        });
        timer_.start(10);
    }
    bool Seen() const { return seen_; }

private:
    std::function<void(QWidget*)> answer_;
    QTimer timer_;
    bool seen_ = false;
};

}  // namespace korvel::test
