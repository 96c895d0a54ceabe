// A long personal export: its modeless progress indicator, the user's stop, and the
// window closed in the middle. The indicator is paced to appear at once here, so a few
// hundred rows are enough to act on it.
#include <string>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app/ExportProgress.h"
#include "app/PersonalExport.h"
#include "core/CodePage.h"
#include "tests/app/PersonalExportFixture.h"

namespace korvel::test {
namespace {

using namespace std::chrono_literals;

constexpr int kRows = 300;
const ProgressPacing kAtOnce{.showAfter = 0ms, .updateEvery = 0ms};

class PersonalExportProgressTest : public PersonalExportTest {
protected:
    void SetUp() override {
        PersonalExportTest::SetUp();
        std::string serials, names, ids;
        for (int row = 1; row <= kRows; ++row) {
            const std::string separator = row > 1 ? "\r\n" : "";
            serials += separator + std::to_string(row);
            names += separator + "学生";
            ids += separator + std::to_string(35020180000 + row);
        }
        SetRoster(serials, names, ids);
    }

    // The indicator, once the export has shown it.
    ExportProgress* Progress() { return window_.findChild<ExportProgress*>(); }
    int RowsDone() { return Progress() ? Progress()->findChild<QProgressBar*>()->value() : 0; }

    // Runs step once on a timer as soon as the indicator shows at least rows rows done.
    void WhenRowsDone(int rows, std::function<void()> step) {
        QObject::connect(&poll_, &QTimer::timeout, [this, rows, step] {
            if (!Progress() || !Progress()->isVisible() || RowsDone() < rows) return;
            poll_.stop();
            step();
        });
        poll_.start(0);
    }

    QTimer poll_;
};

TEST_F(PersonalExportProgressTest, StopEndsTheExportAfterTheRowUnderWayAndKeepsItsFiles) {
    struct Seen {
        bool modeless = false;
        bool windowTakesInput = false;
        QString counter;
        QString label;
    } seen;
    WhenRowsDone(20, [&] {
        seen.modeless = !Progress()->isModal() && QApplication::activeModalWidget() == nullptr;
        seen.windowTakesInput = window_.isEnabled() && window_.ControlWidget(Control::编辑框2)->isEnabled();
        seen.label = Progress()->findChild<QLabel*>()->text();
        // The user types into a column meanwhile: its counter answers at once.
        auto* box = qobject_cast<QPlainTextEdit*>(window_.ControlWidget(Control::编辑框2));
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, "x");
        seen.counter = qobject_cast<QLabel*>(window_.ControlWidget(Control::标签2))->text();
        QTest::mouseClick(Progress()->findChild<QPushButton*>(), Qt::LeftButton);
    });

    ExportPersonalQrs(recording_, kAtOnce);

    EXPECT_TRUE(seen.modeless);
    EXPECT_TRUE(seen.windowTakesInput);
    EXPECT_TRUE(seen.label.startsWith(QStringLiteral("已输出"))) << seen.label.toStdString();
    EXPECT_TRUE(seen.label.endsWith(QStringLiteral("行，共300行"))) << seen.label.toStdString();
    EXPECT_EQ(seen.counter, QStringLiteral("姓名列300行"));
    const auto written = static_cast<int>(NamesIn(chosen_).size());
    EXPECT_GE(written, 20);
    EXPECT_LT(written, kRows);
    ASSERT_FALSE(recording_.Messages().empty());
    EXPECT_EQ(recording_.Messages().back(),
              Utf8ToGbk("输出已停止：已保存" + std::to_string(written) + "行，共300行"));
    EXPECT_EQ(FileBytes(chosen_ / "1-学生-35020180001.jpg"), CodeBytes("djxh35020180001"));
    EXPECT_FALSE(Progress()->isVisible());
    EXPECT_TRUE(ExportButtonEnabled(window_));

    // The next export starts afresh: the stop belonged to the last one.
    RenewChosenFolder();
    ExportPersonalQrs(recording_, kAtOnce);
    EXPECT_EQ(recording_.Messages().back(), "输出图片成功"_gbk);
    EXPECT_EQ(static_cast<int>(NamesIn(chosen_).size()), kRows);
}

TEST_F(PersonalExportProgressTest, ClosingTheWindowStopsTheExportWithoutTouchingTheWindow) {
    WhenRowsDone(10, [this] { window_.close(); });

    ExportPersonalQrs(recording_, kAtOnce);

    EXPECT_TRUE(window_.IsClosed());
    EXPECT_EQ(recording_.TouchedAfterClose(), 0);
    EXPECT_TRUE(recording_.Messages().empty());
    const std::size_t written = NamesIn(chosen_).size();
    EXPECT_GE(written, 10u);
    EXPECT_LT(written, static_cast<std::size_t>(kRows));
    EXPECT_FALSE(Progress()->isVisible());
    // Left as the export had it: nothing ran after the close.
    EXPECT_FALSE(ExportButtonEnabled(window_));
}

TEST_F(PersonalExportProgressTest, ClosingTheIndicatorAsksToStopToo) {
    WhenRowsDone(5, [this] { QTest::keyClick(Progress(), Qt::Key_Escape); });

    ExportPersonalQrs(recording_, kAtOnce);

    const std::size_t written = NamesIn(chosen_).size();
    EXPECT_LT(written, static_cast<std::size_t>(kRows));
    EXPECT_EQ(recording_.Messages().back(),
              Utf8ToGbk("输出已停止：已保存" + std::to_string(written) + "行，共300行"));
    EXPECT_TRUE(ExportButtonEnabled(window_));
}

}  // namespace
}  // namespace korvel::test
