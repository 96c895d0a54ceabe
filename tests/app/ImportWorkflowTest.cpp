// The import workflow end to end: the real window offscreen registers its roster with a
// registration server on loopback and shows, or declines to show, the code of its view URL.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "app/ImportWorkflow.h"
#include "app/PictureBox.h"
#include "app/RegistrationOutcome.h"
#include "core/CodePage.h"
#include "tests/app/ImportRegistrationServer.h"
#include "tests/app/ImportTestWindow.h"

namespace korvel::test {
namespace {

using namespace std::chrono_literals;
using korvel::testing::RecordedRequest;

// The texts of the message boxes in order, one per line, UTF-8 so a failure reads plainly.
std::string Lines(const QStringList& texts) { return texts.join(u'\n').toStdString(); }

class ImportWorkflowTest : public ImportTestWindow {
protected:
    void Register() { GenerateImportQr(window_, server_.Address()); }

    ImportRegistrationServer server_;
};

TEST(RegistrationServerTest, BuiltInServerIsFixedAtBuildTimeOnPort81) {
    const RegistrationServer server = RegistrationServer::BuiltIn();
    EXPECT_EQ(server.RegistrationUrl(), Text("http://" KORVEL_REGISTRATION_HOST ":81/kv/dj.asp"));
    EXPECT_EQ(server.ViewUrl(Text("42")), Text("http://" KORVEL_REGISTRATION_HOST ":81/kv/ck.asp?id=42"));
    // The reply goes in exactly as received, whatever it holds.
    EXPECT_EQ(server.ViewUrl(Text(" a&b ")), Text("http://" KORVEL_REGISTRATION_HOST ":81/kv/ck.asp?id= a&b "));
}

TEST(RegistrationOutcomeTest, OnlyASuccessStatusWithAnIdThatFitsTheCodeIsUsable) {
    struct Case {
        const char* statusText;
        const char* reply;
        int urlBytes;
        const char* failure;   // nullptr: usable
    };
    const Case cases[] = {
        {"200 OK", "1", 40, nullptr},
        {"299 Whatever", "1", kViewUrlLimit, nullptr},
        {"201 Created", "1", kViewUrlLimit + 1, "注册失败：服务器返回过长"},
        {"204 No Content", "", 40, "注册失败：服务器返回为空"},
        {"199 Early", "1", 40, "注册失败：199 Early"},
        {"300 Multiple Choices", "1", 40, "注册失败：300 Multiple Choices"},
        {"500 Internal Server Error", "", 40, "注册失败：500 Internal Server Error"},
        // The request routine's own texts; a failed read may still have brought a page.
        {"713 读取数据失败!", "partial", 40, "注册失败：713 读取数据失败!"},
        {"702 打开会话失败!", "", 40, "注册失败：702 打开会话失败!"},
        // No status line read at all.
        {"", "1", 40, "注册失败："},
        {"OK", "1", 40, "注册失败：OK"},
        {"2000000000 OK", "1", 40, "注册失败：2000000000 OK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statusText);
        const std::optional<Text> failure =
            RegistrationFailure(Utf8ToGbk(c.statusText), Text(c.reply), Text(std::string(c.urlBytes, 'u')));
        if (c.failure) {
            EXPECT_EQ(failure, Utf8ToGbk(c.failure));
        } else {
            EXPECT_EQ(failure, std::nullopt);
        }
    }
}

// A roster as pasted into the three columns, and what the server must receive for it.
struct BodyCase {
    const char* name;
    const char* serials;
    const char* names;
    const char* ids;
    const char* body;      // the request body as sent: UTF-8 here, GBK on the wire
    const char* payload;   // the field after form decoding, and 编辑框4
};

TEST_F(ImportWorkflowTest, PostsTheRosterAsOneFormField) {
    const BodyCase cases[] = {
        {"three empty columns", "", "", "", "nr=bjdl", "bjdl"},
        {"one row", "1", "A", "X1", "nr=bjdl1-A-X1", "bjdl1-A-X1"},
        {"three rows", "1\r\n2\r\n3", "A\r\nB\r\nC", "X1\r\nX2\r\nX3", "nr=bjdl1-A-X1|2-B-X2|3-C-X3",
         "bjdl1-A-X1|2-B-X2|3-C-X3"},
        {"Chinese names", "1\r\n2", "张伟\r\n王秀英", "35020180001\r\n35020180002",
         "nr=bjdl1-张伟-35020180001|2-王秀英-35020180002", "bjdl1-张伟-35020180001|2-王秀英-35020180002"},
        {"an empty value, and values holding the separators", "7\r\n8", "\r\na-b|c", "X1\r\nX|2",
         "nr=bjdl7--X1|8-a-b|c-X|2", "bjdl7--X1|8-a-b|c-X|2"},
        {"signs a form decoder reads", "1\r\n2", "A&B\r\nC+D", "50%\r\n%41", "nr=bjdl1-A%26B-50%25|2-C%2BD-%2541",
         "bjdl1-A&B-50%|2-C+D-%41"},
        {"signs beside Chinese characters, and blanks", "1", "李&娜 +", "=号", "nr=bjdl1-李%26娜 %2B-=号",
         "bjdl1-李&娜 +-=号"},
    };
    for (const BodyCase& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = server_.Requests().size();
        SetRoster(c.serials, c.names, c.ids);
        server_.AnswerId("1");
        Register();

        const std::vector<RecordedRequest> requests = server_.Requests();
        ASSERT_EQ(requests.size(), before + 1);
        const RecordedRequest& request = requests.back();
        EXPECT_EQ(request.requestLine, "POST /kv/dj.asp HTTP/1.1");
        EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
        EXPECT_EQ(request.body, Gbk(c.body));
        EXPECT_EQ(server_.RosterFields().back(), Gbk(c.payload));
        EXPECT_EQ(window_.ReadText(Control::编辑框4).str(), Gbk(c.payload));
    }
    EXPECT_EQ(Lines(messages_.Texts()), "");
}

TEST_F(ImportWorkflowTest, ShowsTheCodeOfTheViewUrlUntilThePreviewIsClosed) {
    server_.AnswerId("123");
    Register();
    EXPECT_TRUE(PreviewShown());
    EXPECT_FALSE(ExportButtonEnabled());
    EXPECT_EQ(PictureContent(), server_.ViewUrl("123"));
    EXPECT_EQ(Lines(messages_.Texts()), "");

    QTest::mouseDClick(window_.ControlWidget(Control::图片框1), Qt::LeftButton);
    EXPECT_FALSE(PreviewShown());
    EXPECT_TRUE(ExportButtonEnabled());
}

TEST_F(ImportWorkflowTest, AViewUrlOfExactly120BytesIsShownWhole) {
    const std::string prefix = server_.ViewUrl("");
    const std::string id(kViewUrlLimit - prefix.size(), '7');
    server_.AnswerId(id);
    Register();
    EXPECT_TRUE(PreviewShown());
    EXPECT_EQ(PictureContent(), prefix + id);
}

TEST_F(ImportWorkflowTest, ASecondRegistrationReplacesTheCodeShown) {
    server_.AnswerId("first");
    Register();
    SetRoster("1", "A", "X1");
    server_.AnswerId("second");
    Register();
    EXPECT_TRUE(PreviewShown());
    EXPECT_FALSE(ExportButtonEnabled());
    EXPECT_EQ(PictureContent(), server_.ViewUrl("second"));
    EXPECT_EQ(window_.ReadText(Control::编辑框4), Text("bjdl1-A-X1"));
}

// A registration the server did not take, and the one message the user reads.
struct FailureCase {
    const char* name;
    std::function<void(ImportRegistrationServer&)> answer;
    const char* message;
};

TEST_F(ImportWorkflowTest, AFailedRegistrationIsToldAndShowsNoCode) {
    const std::string tooLong(kViewUrlLimit + 1 - server_.ViewUrl("").size(), '7');
    const FailureCase cases[] = {
        {"server error", [](ImportRegistrationServer& s) { s.AnswerStatus(500, "Internal Server Error"); },
         "注册失败：500 Internal Server Error"},
        {"page not found", [](ImportRegistrationServer& s) { s.AnswerStatus(404, "Not Found"); }, "注册失败：404 Not Found"},
        {"empty reply", [](ImportRegistrationServer& s) { s.AnswerEmpty(); }, "注册失败：服务器返回为空"},
        {"id one byte too long", [&tooLong](ImportRegistrationServer& s) { s.AnswerId(tooLong); },
         "注册失败：服务器返回过长"},
        // Last: the server stays away for good.
        {"nobody listening", [](ImportRegistrationServer& s) { s.GoAway(); }, "注册失败：711 发送请求失败!"},
    };
    const Bytes earlierPicture(std::vector<uint8_t>{'B', 'M', 1, 2, 3});
    SetRoster("1", "A", "X1");
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        window_.WriteText(Control::编辑框4, Text("earlier"));
        window_.SetPicture(Control::图片框1, earlierPicture);
        const qsizetype messagesBefore = messages_.Texts().size();
        c.answer(server_);
        Register();

        EXPECT_EQ(window_.ReadText(Control::编辑框4), Text("bjdl1-A-X1"));
        EXPECT_EQ(window_.ReadPicture(Control::图片框1), earlierPicture);
        EXPECT_FALSE(PreviewShown());
        EXPECT_TRUE(ExportButtonEnabled());
        EXPECT_EQ(Lines(messages_.Texts().mid(messagesBefore)), c.message);
    }
}

TEST_F(ImportWorkflowTest, AFailedRegistrationLeavesTheCodeAlreadyShown) {
    server_.AnswerId("kept");
    Register();
    server_.AnswerStatus(500, "Internal Server Error");
    Register();
    EXPECT_TRUE(PreviewShown());
    EXPECT_EQ(PictureContent(), server_.ViewUrl("kept"));
    EXPECT_EQ(Lines(messages_.Texts()), "注册失败：500 Internal Server Error");
}

TEST_F(ImportWorkflowTest, UnequalColumnsSendNothing) {
    SetRoster("1\r\n2\r\n3", "A\r\nB\r\nC", "X1\r\nX2");
    window_.WriteText(Control::编辑框4, Text("earlier"));
    Register();
    EXPECT_EQ(Lines(messages_.Texts()), "您输入的信息不均等！");
    EXPECT_TRUE(server_.Requests().empty());
    EXPECT_EQ(window_.ReadText(Control::编辑框4), Text("earlier"));
    EXPECT_TRUE(window_.ReadPicture(Control::图片框1).empty());
    EXPECT_FALSE(PreviewShown());
    EXPECT_TRUE(ExportButtonEnabled());
}

// A click on 按钮1 while the first registration waits for its server: the second one runs
// inside the first and ends first; the first one's result is what stays.
struct NestedCase {
    const char* name;
    std::function<void(ImportRegistrationServer&)> innerAnswer;
    const char* messages;
};

TEST_F(ImportWorkflowTest, AClickWhileARegistrationIsUnderWayRunsInsideIt) {
    const NestedCase cases[] = {
        {"both registered", [](ImportRegistrationServer& s) { s.AnswerId("inner", 100ms); }, ""},
        {"the inner one failed", [](ImportRegistrationServer& s) { s.AnswerStatus(500, "Internal Server Error"); },
         "注册失败：500 Internal Server Error"},
    };
    for (const NestedCase& c : cases) {
        SCOPED_TRACE(c.name);
        ImportRegistrationServer server;
        server.AnswerId("outer", 200ms);
        c.innerAnswer(server);
        SetRoster("1", "A", "X1");
        const qsizetype messagesBefore = messages_.Texts().size();
        bool innerEnded = false;
        // The timer fires in the first event pump the outer request runs.
        QTimer::singleShot(0, &window_, [&] {
            window_.WriteText(Control::编辑框2, Text("B"));
            GenerateImportQr(window_, server.Address());
            innerEnded = true;
        });
        GenerateImportQr(window_, server.Address());

        EXPECT_TRUE(innerEnded);
        EXPECT_EQ(server.RosterFields(), (std::vector<std::string>{"bjdl1-A-X1", "bjdl1-B-X1"}));
        EXPECT_EQ(window_.ReadText(Control::编辑框4), Text("bjdl1-A-X1"));
        EXPECT_EQ(PictureContent(), server.ViewUrl("outer"));
        EXPECT_TRUE(PreviewShown());
        EXPECT_FALSE(ExportButtonEnabled());
        EXPECT_EQ(Lines(messages_.Texts().mid(messagesBefore)), c.messages);
    }
}

// The real window, and a count of the operations a workflow made on it once it was closed.
class WatchedWindow : public WindowOperations {
public:
    explicit WatchedWindow(MainWindow& window) : window_(window) {}
    int TouchedAfterClose() const { return touchedAfterClose_; }

    Text ReadText(Control control) const override { return Note(), window_.ReadText(control); }
    void WriteText(Control control, const Text& text) override { Note(), window_.WriteText(control, text); }
    void SetVisible(Control control, bool visible) override { Note(), window_.SetVisible(control, visible); }
    void SetDisabled(Control control, bool disabled) override { Note(), window_.SetDisabled(control, disabled); }
    void SetPicture(Control control, const Bytes& picture) override { Note(), window_.SetPicture(control, picture); }
    Bytes ReadPicture(Control control) const override { return Note(), window_.ReadPicture(control); }
    void ShowMessage(const Text& text) override { Note(), window_.ShowMessage(text); }
    Text ChooseFolder(const Text& prompt) override { return Note(), window_.ChooseFolder(prompt); }
    bool IsClosed() const override { return window_.IsClosed(); }

private:
    void Note() const { touchedAfterClose_ += window_.IsClosed() ? 1 : 0; }

    MainWindow& window_;
    mutable int touchedAfterClose_ = 0;
};

struct ClosingCase {
    const char* name;
    std::function<void(ImportRegistrationServer&)> answer;
};

TEST_F(ImportWorkflowTest, ClosingTheWindowWhileTheServerIsAskedStopsTheWorkflow) {
    const ClosingCase cases[] = {
        {"registered", [](ImportRegistrationServer& s) { s.AnswerId("1", 100ms); }},
        {"failed", [](ImportRegistrationServer& s) { s.AnswerStatus(500, "Internal Server Error"); }},
    };
    for (const ClosingCase& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow window;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        WatchedWindow watched(window);
        ImportRegistrationServer server;
        c.answer(server);
        QTimer::singleShot(0, &window, [&window] { window.close(); });
        GenerateImportQr(watched, server.Address());

        EXPECT_TRUE(window.IsClosed());
        EXPECT_EQ(server.Requests().size(), 1u);
        EXPECT_EQ(watched.TouchedAfterClose(), 0);
        EXPECT_TRUE(window.ControlWidget(Control::分组框1)->isHidden());
        EXPECT_TRUE(qobject_cast<QPlainTextEdit*>(window.ControlWidget(Control::编辑框4))->toPlainText().isEmpty());
        EXPECT_TRUE(qobject_cast<PictureBox*>(window.ControlWidget(Control::图片框1))->Picture().empty());
        EXPECT_EQ(Lines(messages_.Texts()), "");
    }
}

}  // namespace
}  // namespace korvel::test
