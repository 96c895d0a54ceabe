// The window operations the workflows use, on the real window: text in GBK with CR LF,
// the picture's exact bytes, the message box and the folder browser.
#include <cstdlib>

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/FolderBrowser.h"
#include "app/MessageBoxes.h"
#include "app/PictureBox.h"
#include "core/CodePage.h"
#include "tests/app/WindowTestSupport.h"

namespace korvel::test {
namespace {

using WindowOperationsTest = WindowTest;

TEST_F(WindowOperationsTest, TextComesBackWithCrLfBetweenLinesAndNowhereElse) {
    struct Case {
        const char* name;
        Text written;
        Text read;
    };
    const Text longLine(std::string(300, 'w'));
    const Case cases[] = {
        {"empty", Text(), Text()},
        {"CR LF kept", Text("a\r\nb"), Text("a\r\nb")},
        {"lone LF", Text("a\nb"), Text("a\r\nb")},
        {"lone CR", Text("a\rb"), Text("a\r\nb")},
        {"CR LF at the end and twice", Text("1\r\n\r\n2\r\n"), Text("1\r\n\r\n2\r\n")},
        {"GBK text", "bjdl1-张伟-X1|2-王秀英-《二》"_gbk, "bjdl1-张伟-X1|2-王秀英-《二》"_gbk},
        {"a line wrapped by the box adds no break", longLine, longLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window_.WriteText(Control::编辑框4, c.written);
        EXPECT_EQ(window_.ReadText(Control::编辑框4), c.read);
    }
}

TEST_F(WindowOperationsTest, ShiftEnterTypedByTheUserReadsAsCrLf) {
    auto* box = Find<QPlainTextEdit>(Control::编辑框1);
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(box, "11");
    const Text text = window_.ReadText(Control::编辑框1);
    EXPECT_EQ(text, Text("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11"));
    EXPECT_EQ(window_.ReadText(Control::标签1), "序号列11行"_gbk);
}

TEST_F(WindowOperationsTest, LabelCaptionIsWrittenAndRead) {
    window_.WriteText(Control::标签2, "姓名列12行"_gbk);
    EXPECT_EQ(window_.ReadText(Control::标签2), "姓名列12行"_gbk);
    EXPECT_EQ(Find<QLabel>(Control::标签2)->text(), QStringLiteral("姓名列12行"));
}

// A 2 x 2 BMP at 1 bit per pixel: black and white on the top row, white and black below.
Bytes CheckerBmp() {
    std::vector<uint8_t> bmp;
    auto u16 = [&bmp](uint32_t v) { bmp.insert(bmp.end(), {uint8_t(v), uint8_t(v >> 8)}); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    bmp.insert(bmp.end(), {'B', 'M'});
    u32(70);          // file size
    u32(0);           // reserved
    u32(62);          // offset of the pixels
    u32(40);          // info header size
    u32(2);           // width
    u32(2);           // height, rows bottom-up
    u16(1);           // planes
    u16(1);           // bits per pixel
    u32(0);           // no compression
    u32(8);           // pixel bytes
    u32(0);           // horizontal resolution
    u32(0);           // vertical resolution
    u32(2);           // colours used
    u32(0);           // important colours
    u32(0x00000000);  // colour 0: black
    u32(0x00FFFFFF);  // colour 1: white
    u32(0x00000080);  // bottom row: white, black
    u32(0x00000040);  // top row: black, white
    EXPECT_EQ(bmp.size(), 70u);
    return Bytes(std::move(bmp));
}

TEST_F(WindowOperationsTest, PictureKeepsItsBytesAndDrawsThemStretched) {
    window_.SetVisible(Control::分组框1, true);
    auto* picture = Find<PictureBox>(Control::图片框1);
    const QColor face = picture->palette().color(QPalette::Window);
    const Bytes notAnImage(std::vector<uint8_t>{'n', 'o', 't', 0, 0xFF, 'B', 'M', 0x0D, 0x0A});
    struct Case {
        const char* name;
        Bytes bytes;
        bool drawn;
    };
    const Case cases[] = {
        {"a small BMP", CheckerBmp(), true},
        {"bytes that are no image", notAnImage, false},
        {"a BMP again", CheckerBmp(), true},
        {"empty bytes", Bytes(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window_.SetPicture(Control::图片框1, c.bytes);
        EXPECT_EQ(window_.ReadPicture(Control::图片框1), c.bytes);
        const QImage shown = picture->grab().toImage();
        ASSERT_EQ(shown.size(), QSize(400, 400));
        const QColor expected[2][2] = {{c.drawn ? Qt::black : face, c.drawn ? Qt::white : face},
                                       {c.drawn ? Qt::white : face, c.drawn ? Qt::black : face}};
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 2; ++column) {
                for (const QPoint inset : {QPoint(2, 2), QPoint(100, 100), QPoint(197, 197)}) {
                    const QPoint at = QPoint(column * 200, row * 200) + inset;
                    EXPECT_EQ(shown.pixelColor(at).rgb(), expected[row][column].rgb()) << at.x() << "," << at.y();
                }
            }
        }
    }
}

// What a message box showed, read while it was open.
struct BoxSeen {
    QString caption, text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::WindowModality modality = Qt::NonModal;
    bool hasOwner = true;
};

BoxSeen AnswerMessageBox(const std::function<void()>& show) {
    BoxSeen seen;
    const ModalAnswerer answerer([&seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return modal->close(), void();
        seen.caption = box->windowTitle();
        seen.text = box->text();
        for (const QAbstractButton* button : box->buttons()) seen.buttons.append(button->text().remove(u'&'));
        seen.icon = box->icon();
        seen.modality = box->windowModality();
        seen.hasOwner = box->parentWidget() != nullptr;
        box->button(QMessageBox::Ok)->click();
    });
    show();
    EXPECT_TRUE(answerer.Seen());
    return seen;
}

TEST_F(WindowOperationsTest, MessageBoxesHaveTheirCaptionOneOkButtonAndNoOwner) {
    struct Case {
        const char* name;
        std::function<void()> show;
        QString caption;
        QString text;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {"a workflow's message", [this] { window_.ShowMessage("您输入的信息不均等！<b>"_gbk); },
         QStringLiteral("信息："), QStringLiteral("您输入的信息不均等！<b>"), QMessageBox::NoIcon},
        {"the fatal report", [] { ShowErrorBox("运行时出错!\r\n1\r\n下标越界"_gbk); }, QStringLiteral("错误"),
         QStringLiteral("运行时出错!\n1\n下标越界"), QMessageBox::Critical},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BoxSeen seen = AnswerMessageBox(c.show);
        EXPECT_EQ(seen.caption, c.caption);
        EXPECT_EQ(seen.text, c.text);
        EXPECT_EQ(seen.buttons, QStringList{QStringLiteral("OK")});
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.modality, Qt::ApplicationModal);
        EXPECT_FALSE(seen.hasOwner);
    }
}

// Answers the real folder browser: types a folder name, or cancels when typed is null.
struct BrowserAnswer {
    QString lookIn;
    QString startedAt;
    bool foldersOnly = false;
};

Text AnswerBrowser(MainWindow& window, const QString* typed, BrowserAnswer* seen) {
    const ModalAnswerer answerer([typed, seen](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return modal->close(), void();
        seen->lookIn = dialog->labelText(QFileDialog::LookIn);
        seen->startedAt = dialog->directory().absolutePath();
        seen->foldersOnly = dialog->fileMode() == QFileDialog::Directory && dialog->testOption(QFileDialog::ShowDirsOnly);
        if (!typed) return dialog->reject();
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(*typed);
        // What the dialog's "Choose" button does.
        static_cast<QDialog*>(dialog)->accept();
    });
    Text chosen = window.ChooseFolder("保存："_gbk);
    EXPECT_TRUE(answerer.Seen());
    return chosen;
}

TEST_F(WindowOperationsTest, FolderBrowserReturnsTheTypedFolderWithoutTrailingSeparator) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString folder = temp.path() + QStringLiteral("/保存的图片");
    ASSERT_TRUE(QDir().mkpath(folder));
    struct Case {
        const char* name;
        std::optional<QString> typed;
        Text chosen;
    };
    const Case cases[] = {
        {"typed with a trailing separator", folder + u'/', Utf8ToGbk(folder.toStdString())},
        {"typed without one", folder, Utf8ToGbk(folder.toStdString())},
        {"the root keeps its separator", QStringLiteral("/"), Text("/")},
        {"cancelled", std::nullopt, Text()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BrowserAnswer seen;
        EXPECT_EQ(AnswerBrowser(window_, c.typed ? &*c.typed : nullptr, &seen), c.chosen);
        EXPECT_EQ(seen.lookIn, QStringLiteral("保存："));
        EXPECT_EQ(seen.startedAt, FolderBrowserStart());
        EXPECT_TRUE(seen.foldersOnly);
    }
}

TEST(FolderBrowserStart, IsTheDesktopWhenThereIsOneElseHome) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    EXPECT_EQ(FolderBrowserStart(), home.path());
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Desktop")));
    EXPECT_EQ(FolderBrowserStart(), home.path() + QStringLiteral("/Desktop"));
    qputenv("HOME", savedHome);
}

}  // namespace
}  // namespace korvel::test
