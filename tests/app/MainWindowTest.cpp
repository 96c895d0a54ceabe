// The main window as a user meets it: what it shows at start, where everything stands,
// the keyboard, and the preview's double-click.
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "app/PictureBox.h"
#include "app/WindowPlacement.h"
#include "core/CodePage.h"
#include "core/Services.h"
#include "tests/app/WindowTestSupport.h"

namespace korvel::test {
namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, StartsWithPlainTitlesHiddenPreviewAndUsableButtons) {
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("【Korvel】二维码生成器"));
    EXPECT_EQ(window_.ReadText(Control::标签1), "序号列"_gbk);
    EXPECT_EQ(window_.ReadText(Control::标签2), "姓名列"_gbk);
    EXPECT_EQ(window_.ReadText(Control::标签3), "编号列"_gbk);
    EXPECT_FALSE(window_.ControlWidget(Control::分组框1)->isVisible());
    EXPECT_FALSE(window_.ControlWidget(Control::图片框1)->isVisible());
    EXPECT_FALSE(window_.ControlWidget(Control::编辑框4)->isVisible());
    EXPECT_TRUE(window_.ControlWidget(Control::按钮1)->isEnabled());
    EXPECT_TRUE(window_.ControlWidget(Control::按钮2)->isEnabled());
    EXPECT_TRUE(window_.ReadPicture(Control::图片框1).empty());
    EXPECT_TRUE(window_.ReadText(Control::编辑框4).empty());
}

TEST_F(MainWindowTest, ColumnsStartWithTenRowsSeparatedByCrLf) {
    EXPECT_EQ(window_.ReadText(Control::编辑框1), Text("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10"));
    EXPECT_EQ(window_.ReadText(Control::编辑框2),
              "张伟\r\n王秀英\r\n李娜\r\n刘建国\r\n陈静\r\n杨晓明\r\n赵磊\r\n黄丽华\r\n孙浩\r\n吴敏"_gbk);
    EXPECT_EQ(window_.ReadText(Control::编辑框3),
              Text("35020180001\r\n35020180002\r\n35020180003\r\n35020180004\r\n35020180005\r\n"
                   "35020180006\r\n35020180007\r\n35020180008\r\n35020180009\r\n35020180010"));
}

TEST_F(MainWindowTest, EveryControlCarriesItsNameAtItsPlace) {
    struct Expected {
        Control control;
        QRect place;
    };
    const Expected table[] = {
        {Control::标签1, {32, 16, 80, 24}},     {Control::标签2, {168, 16, 80, 24}},
        {Control::标签3, {344, 16, 80, 24}},    {Control::编辑框1, {8, 46, 120, 384}},
        {Control::编辑框2, {144, 46, 120, 384}}, {Control::编辑框3, {280, 46, 224, 384}},
        {Control::编辑框4, {512, 0, 144, 48}},   {Control::标签4, {520, 48, 144, 272}},
        {Control::按钮1, {536, 328, 112, 40}},  {Control::按钮2, {536, 384, 112, 40}},
        {Control::分组框1, {32, 16, 430, 430}},  {Control::图片框1, {14, 20, 400, 400}},
    };
    for (const Expected& expected : table) {
        const QString name = QString::fromStdU16String(std::u16string(ControlName(expected.control)));
        SCOPED_TRACE(name.toStdString());
        QWidget* widget = window_.findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget, window_.ControlWidget(expected.control));
        EXPECT_EQ(widget->geometry(), expected.place);
        // Every control lies inside the client area.
        EXPECT_TRUE(window_.rect().contains(widget->mapTo(&window_, widget->rect().bottomRight())));
    }
    EXPECT_EQ(window_.ControlWidget(Control::图片框1)->parentWidget(), window_.ControlWidget(Control::分组框1));
}

TEST_F(MainWindowTest, OpensCentredAtTheFixedOuterSize) {
    window_.PlaceCentred();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = window_.frameGeometry();
    EXPECT_EQ(frame.size(), kOuterSize);
    EXPECT_EQ(frame.topLeft(), screen.topLeft() + QPoint((screen.width() - 684) / 2, (screen.height() - 499) / 2));
    EXPECT_EQ(window_.minimumSize(), window_.maximumSize());
    EXPECT_FALSE(window_.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window_.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(window_.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
}

TEST_F(MainWindowTest, ShownPreviewLiesAboveTheColumns) {
    window_.SetVisible(Control::分组框1, true);
    EXPECT_TRUE(window_.ControlWidget(Control::图片框1)->isVisible());
    for (const QPoint point : {QPoint(60, 200), QPoint(200, 300), QPoint(400, 440), QPoint(40, 20)}) {
        const QWidget* hit = window_.childAt(point);
        ASSERT_NE(hit, nullptr);
        EXPECT_TRUE(hit == window_.ControlWidget(Control::分组框1) ||
                    hit->parentWidget() == window_.ControlWidget(Control::分组框1))
            << hit->objectName().toStdString();
    }
}

// Keys typed into a column box of the initial window, and the three captions after them.
struct TypingCase {
    const char* name;
    Control box;
    std::function<void(QPlainTextEdit*)> keys;
    const char* captions[3];
};

void AtEnd(QPlainTextEdit* box) { box->moveCursor(QTextCursor::End); }

TEST_F(MainWindowTest, TypingInAColumnCountsOnlyThatColumn) {
    const TypingCase cases[] = {
        {"a character at the end of the serials", Control::编辑框1,
         [](QPlainTextEdit* box) { AtEnd(box); QTest::keyClicks(box, "1"); },
         {"序号列10行", "姓名列", "编号列"}},
        {"all names deleted", Control::编辑框2,
         [](QPlainTextEdit* box) {
             QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClick(box, Qt::Key_Delete);
         },
         {"序号列", "姓名列0行", "编号列"}},
        {"Enter at the end of the IDs", Control::编辑框3,
         [](QPlainTextEdit* box) { AtEnd(box); QTest::keyClick(box, Qt::Key_Return); },
         {"序号列", "姓名列", "编号列10行"}},
        {"Enter and a character on the new line", Control::编辑框3,
         [](QPlainTextEdit* box) { AtEnd(box); QTest::keyClick(box, Qt::Key_Return); QTest::keyClicks(box, "7"); },
         {"序号列", "姓名列", "编号列11行"}},
        {"Enter at the very start of the serials", Control::编辑框1,
         [](QPlainTextEdit* box) { box->moveCursor(QTextCursor::Start); QTest::keyClick(box, Qt::Key_Enter); },
         {"序号列11行", "姓名列", "编号列"}},
    };
    for (const TypingCase& typing : cases) {
        SCOPED_TRACE(typing.name);
        MainWindow window;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        auto* box = qobject_cast<QPlainTextEdit*>(window.ControlWidget(typing.box));
        box->setFocus();
        typing.keys(box);
        EXPECT_EQ(window.ReadText(Control::标签1), Utf8ToGbk(typing.captions[0]));
        EXPECT_EQ(window.ReadText(Control::标签2), Utf8ToGbk(typing.captions[1]));
        EXPECT_EQ(window.ReadText(Control::标签3), Utf8ToGbk(typing.captions[2]));
    }
}

TEST_F(MainWindowTest, EnterInAColumnBreaksTheLineWithCrLf) {
    auto* box = Find<QPlainTextEdit>(Control::编辑框1);
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "11");
    EXPECT_EQ(window_.ReadText(Control::编辑框1), Text("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11"));
    EXPECT_TRUE(window_.isVisible());
}

TEST_F(MainWindowTest, EscapeInAColumnClosesTheWindow) {
    auto* box = Find<QPlainTextEdit>(Control::编辑框2);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(window_.isVisible());
    EXPECT_TRUE(window_.IsClosed());
}

TEST_F(MainWindowTest, EscapeOnAButtonClosesTheWindow) {
    auto* button = Find<QPushButton>(Control::按钮2);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Escape);
    EXPECT_TRUE(window_.IsClosed());
}

TEST_F(MainWindowTest, TabMovesThroughColumnsAndButtonsOnly) {
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    window_.ControlWidget(Control::编辑框1)->setFocus();
    const Control expected[] = {Control::编辑框2, Control::编辑框3, Control::按钮1, Control::按钮2, Control::编辑框1};
    for (Control next : expected) {
        QTest::keyClick(window_.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(window_.focusWidget(), window_.ControlWidget(next)) << window_.focusWidget()->objectName().toStdString();
    }
    // No column kept a tab character for itself.
    EXPECT_EQ(window_.ReadText(Control::标签1), "序号列"_gbk);
    EXPECT_EQ(window_.ReadText(Control::标签2), "姓名列"_gbk);
    EXPECT_EQ(window_.ReadText(Control::标签3), "编号列"_gbk);
}

TEST_F(MainWindowTest, LeftDoubleClickOnThePreviewClosesIt) {
    window_.SetVisible(Control::分组框1, true);
    window_.SetDisabled(Control::按钮2, true);
    auto* picture = Find<PictureBox>(Control::图片框1);

    QTest::mouseDClick(picture, Qt::RightButton);
    EXPECT_TRUE(window_.ControlWidget(Control::分组框1)->isVisible());
    EXPECT_FALSE(window_.ControlWidget(Control::按钮2)->isEnabled());

    QTest::mouseDClick(picture, Qt::LeftButton);
    EXPECT_FALSE(window_.ControlWidget(Control::分组框1)->isVisible());
    EXPECT_TRUE(window_.ControlWidget(Control::按钮2)->isEnabled());
}

TEST_F(MainWindowTest, ClosedInsideTheEventPumpLeavesEveryControlAlone) {
    // A handler yields; while it does, the user presses Esc.
    QMetaObject::invokeMethod(
        &window_, [this] { QTest::keyClick(window_.ControlWidget(Control::编辑框1), Qt::Key_Escape); },
        Qt::QueuedConnection);
    ProcessPendingMessages();
    ASSERT_TRUE(window_.IsClosed());

    // The handler's remaining steps change nothing and wait for nobody.
    window_.SetVisible(Control::分组框1, true);
    window_.SetDisabled(Control::按钮2, true);
    window_.WriteText(Control::编辑框4, Text("bjdl"));
    window_.SetPicture(Control::图片框1, Bytes(std::vector<uint8_t>{'B', 'M'}));
    const ModalAnswerer answerer([](QWidget* modal) { modal->close(); });
    window_.ShowMessage("输出图片成功"_gbk);
    EXPECT_TRUE(window_.ChooseFolder("保存："_gbk).empty());
    QTest::qWait(50);
    EXPECT_FALSE(answerer.Seen());
    EXPECT_TRUE(window_.ControlWidget(Control::分组框1)->isHidden());
    EXPECT_TRUE(window_.ControlWidget(Control::按钮2)->isEnabled());
    EXPECT_TRUE(Find<QPlainTextEdit>(Control::编辑框4)->toPlainText().isEmpty());
    EXPECT_TRUE(Find<PictureBox>(Control::图片框1)->Picture().empty());
}

}  // namespace
}  // namespace korvel::test
