// The personal export end to end: the real window offscreen, the real encoder, real files
// in a fresh folder, and every written code read back by two independent decoders.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <QPushButton>
#include <QTimer>

#include "app/PersonalExport.h"
#include "app/ImportWorkflow.h"
#include "app/PictureBox.h"
#include "app/Workflows.h"
#include "core/CodePage.h"
#include "core/FatalError.h"
#include "core/binding/Binding.h"
#include "qr/MakeQrImage.h"
#include "tests/app/PersonalExportFixture.h"
// After the fixture: it names korvel::testing, which would hide ::testing in the fixture.
#include "tests/app/ImportRegistrationServer.h"
#include "tests/support/BindingEntry.h"
#include "tests/support/BmpPixels.h"
#include "tests/support/QrDecoders.h"

namespace korvel::test {
namespace {

using testing_support::DecodeQrBmp;
using testing_support::QrDecoder;
using testing_support::ReadBmpFile;

const char* const kSuccess = "输出图片成功";

// The steps of an export that reached its final message, in order.
std::vector<std::string> StepsEndingWith(const std::string& message) {
    return {"disable 按钮2", "browser", "read 编辑框1", "read 编辑框2", "read 编辑框3", "message " + message,
            "enable 按钮2"};
}

// The steps without the per-row picture steps.
std::vector<std::string> WithoutRows(const std::vector<std::string>& log) {
    std::vector<std::string> kept;
    for (const std::string& step : WithoutProgress(log)) {
        if (step != "picture" && step != "read picture") kept.push_back(step);
    }
    return kept;
}

TEST_F(PersonalExportTest, InitialRosterGivesOneDecodableCodePerRowNamedAfterTheRow) {
    const std::vector<std::string> names = {"张伟", "王秀英", "李娜", "刘建国", "陈静",
                                            "杨晓明", "赵磊", "黄丽华", "孙浩", "吴敏"};
    std::map<std::string, std::string> expected;  // file name -> content of its code
    for (int row = 1; row <= 10; ++row) {
        const std::string id = "350201800" + std::string(row < 10 ? "0" : "") + std::to_string(row);
        expected[std::to_string(row) + "-" + names[row - 1] + "-" + id + ".jpg"] = "djxh" + id;
    }

    QTest::mouseClick(Find<QPushButton>(Control::按钮2), Qt::LeftButton);

    std::vector<std::string> expectedNames;
    for (const auto& [name, content] : expected) expectedNames.push_back(name);
    ASSERT_EQ(NamesIn(chosen_), expectedNames);
    EXPECT_EQ(expectedNames.front(), "1-张伟-35020180001.jpg");
    int row = 0;
    for (const auto& [name, content] : expected) {
        SCOPED_TRACE(name);
        const std::filesystem::path file = chosen_ / name;
        const auto pixels = ReadBmpFile(file.string());
        ASSERT_TRUE(pixels.has_value());
        EXPECT_EQ(pixels->bitsPerPixel, 1);
        EXPECT_EQ(FileBytes(file).substr(0, 2), "BM");
        // The encoder's picture exactly, not converted to anything.
        EXPECT_EQ(FileBytes(file), CodeBytes(content));
        EXPECT_EQ(DecodeQrBmp(QrDecoder::kZXing, file.string()).bytes, content);
        if (row++ % 4 == 0) {
            EXPECT_EQ(DecodeQrBmp(QrDecoder::kZbar, file.string()).bytes, content);
        }
    }
    ASSERT_EQ(messages_.Seen().size(), 1u);
    const MessageSeen& box = messages_.Seen().front();
    EXPECT_EQ(box.caption, QStringLiteral("信息："));
    EXPECT_EQ(box.text, QString::fromUtf8(kSuccess));
    EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_TRUE(box.iconless);
    EXPECT_FALSE(box.exportButtonEnabled);
    EXPECT_FALSE(exportButtonEnabledWhileBrowsing_);
    EXPECT_TRUE(ExportButtonEnabled(window_));
    // The codes passed through the hidden preview; the last one stays there.
    EXPECT_EQ(std::string(window_.ReadPicture(Control::图片框1).view()),
              FileBytes(chosen_ / "10-吴敏-35020180010.jpg"));
    EXPECT_TRUE(window_.ControlWidget(Control::分组框1)->isHidden());
    EXPECT_EQ(NamesIn(parent_), std::vector<std::string>{"chosen"});
}

// A roster, and what the export leaves: files (UTF-8 name -> content of its code) and the
// final message (UTF-8, CR LF between lines; empty: none).
struct RosterCase {
    std::string name = {};
    std::string serials = {}, names = {}, ids = {};
    std::map<std::string, std::string> files = {};
    std::string message = {};
    std::vector<std::string> subfolders = {};  // made in the chosen folder beforehand
};

// rows rows named "?" that all fail, and the message that names them.
RosterCase UnnameableRows(int rows) {
    RosterCase c{.name = std::to_string(rows) + " failed rows"};
    std::string keys;
    for (int row = 1; row <= rows; ++row) {
        const std::string separator = row > 1 ? "\r\n" : "";
        c.serials += separator + std::to_string(row);
        c.names += separator + "?";
        c.ids += separator + "X";
        if (row <= 10) keys += "\r\n" + std::to_string(row) + "-?-X";
    }
    c.message = "输出图片完成，但有" + std::to_string(rows) + "行未能保存：" + keys + (rows > 10 ? "\r\n……" : "");
    return c;
}

std::vector<RosterCase> RosterCases() {
    const std::string id116(116, '7');  // "djxh" + id116 is the encoder's 120 bytes exactly
    const std::string id117(117, '7');
    return {
        {.name = "mismatched columns", .serials = "1\r\n2\r\n3", .names = "A\r\nB\r\nC", .ids = "X1\r\nX2",
         .message = "您输入的信息不均等！"},
        {.name = "three empty columns", .message = kSuccess},
        {.name = "an empty ID",
         .serials = "1\r\n2", .names = "李娜\r\n赵磊", .ids = "\r\n35020180002",
         .files = {{"1-李娜-.jpg", "djxh"}, {"2-赵磊-35020180002.jpg", "djxh35020180002"}},
         .message = kSuccess},
        {.name = "names that are no plain file name",
         .serials = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7",
         .names = "A?\r\nA/B\r\n..\r\nA/../../escape\r\n淺東\r\na\\b:c\r\n张伟",
         .ids = "X1\r\nX2\r\nX3\r\nX4\r\nX5\r\nX6\r\nX7",
         // "淺" and "東" end in the bytes of "\" and "|": inside a character they are neither.
         .files = {{"3-..-X3.jpg", "djxhX3"}, {"5-淺東-X5.jpg", "djxhX5"}, {"7-张伟-X7.jpg", "djxhX7"}},
         .message = "输出图片完成，但有4行未能保存：\r\n1-A?-X1\r\n2-A/B-X2\r\n4-A/../../escape-X4\r\n6-a\\b:c-X6",
         // Would the names reach the file system, these would take the files below and
         // above the chosen folder.
         .subfolders = {"2-A", "4-A"}},
        {.name = "the same row twice, and two rows whose keys meet",
         .serials = "1\r\n1\r\n1\r\n1", .names = "A\r\nA\r\nA-B\r\nA", .ids = "X1\r\nX1\r\nC\r\nB-C",
         .files = {{"1-A-X1.jpg", "djxhX1"}, {"1-A-B-C.jpg", "djxhB-C"}},
         .message = kSuccess},
        {.name = "a content over the encoder's 120 bytes",
         .serials = "1\r\n2", .names = "A\r\nB", .ids = id116 + "\r\n" + id117,
         .files = {{"1-A-" + id116 + ".jpg", "djxh" + id116}},
         .message = "输出图片完成，但有1行未能保存：\r\n2-B-" + id117},
        UnnameableRows(10),
        UnnameableRows(12),
    };
}

TEST_F(PersonalExportTest, EachRosterLeavesItsFilesAndOneMessage) {
    for (const RosterCase& c : RosterCases()) {
        SCOPED_TRACE(c.name);
        RenewChosenFolder();
        for (const std::string& subfolder : c.subfolders) std::filesystem::create_directory(chosen_ / subfolder);
        SetRoster(c.serials, c.names, c.ids);
        const std::size_t logBefore = recording_.Log().size();
        const std::size_t boxesBefore = messages_.Seen().size();

        GeneratePersonalQrs(recording_);

        const std::vector<std::string> log(recording_.Log().begin() + logBefore, recording_.Log().end());
        EXPECT_EQ(WithoutRows(log), StepsEndingWith(c.message));
        EXPECT_EQ(recording_.Messages().back(), Utf8ToGbk(c.message));
        ASSERT_EQ(messages_.Seen().size(), boxesBefore + 1);
        QString shown = QString::fromUtf8(c.message);
        EXPECT_EQ(messages_.Seen().back().text, shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

        std::vector<std::string> names = c.subfolders;
        for (const auto& [name, content] : c.files) names.push_back(name);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(NamesIn(chosen_), names);
        for (const std::string& subfolder : c.subfolders) EXPECT_TRUE(NamesIn(chosen_ / subfolder).empty());
        for (const auto& [name, content] : c.files) {
            SCOPED_TRACE(name);
            EXPECT_EQ(DecodeQrBmp(QrDecoder::kZXing, (chosen_ / name).string()).bytes, content);
        }
        EXPECT_EQ(NamesIn(parent_), std::vector<std::string>{"chosen"});
        EXPECT_EQ(NamesIn(root_), std::vector<std::string>{"parent"});
        EXPECT_TRUE(ExportButtonEnabled(window_));
    }
}

TEST_F(PersonalExportTest, CancelledBrowserWritesNothingAndSaysNothing) {
    AnswerBrowserWith({});
    GeneratePersonalQrs(recording_);
    EXPECT_EQ(recording_.Steps(), (std::vector<std::string>{"disable 按钮2", "browser", "enable 按钮2"}));
    QTest::qWait(30);
    EXPECT_TRUE(messages_.Seen().empty());
    EXPECT_TRUE(NamesIn(chosen_).empty());
    EXPECT_TRUE(ExportButtonEnabled(window_));
}

TEST_F(PersonalExportTest, TheColumnsAreReadOnlyOnceTheFolderIsChosen) {
    // The user changes the roster while the browser is open.
    whileBrowsing_ = [this] { SetRoster("8", "周", "X8"); };
    GeneratePersonalQrs(recording_);
    EXPECT_EQ(NamesIn(chosen_), std::vector<std::string>{"8-周-X8.jpg"});
    EXPECT_EQ(FileBytes(chosen_ / "8-周-X8.jpg"), CodeBytes("djxhX8"));
}

// A folder in which some or all rows cannot be written, made before the export runs.
struct UnwritableCase {
    const char* name;
    std::function<void(const std::filesystem::path& chosen)> prepare;
    std::vector<std::string> written;  // file names that hold their code afterwards
    std::string message;
};

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST_F(PersonalExportTest, RowsThatCannotBeWrittenAreNamedAndTheOthersWritten) {
    const std::string junk(5000, 'j');
    const UnwritableCase cases[] = {
        {"an older, longer file is overwritten",
         [&](const std::filesystem::path& chosen) { WriteFile(chosen / "1-A-X1.jpg", junk); },
         {"1-A-X1.jpg", "2-B-X2.jpg", "3-C-X3.jpg"}, kSuccess},
        {"a folder under a row's file name",
         [](const std::filesystem::path& chosen) { std::filesystem::create_directory(chosen / "2-B-X2.jpg"); },
         {"1-A-X1.jpg", "3-C-X3.jpg"}, "输出图片完成，但有1行未能保存：\r\n2-B-X2"},
        {"the chosen folder is a file now",
         [](const std::filesystem::path& chosen) {
             std::filesystem::remove(chosen);
             WriteFile(chosen, "not a folder");
         },
         {}, "输出图片完成，但有3行未能保存：\r\n1-A-X1\r\n2-B-X2\r\n3-C-X3"},
        {"the chosen folder is gone",
         [](const std::filesystem::path& chosen) { std::filesystem::remove(chosen); },
         {}, "输出图片完成，但有3行未能保存：\r\n1-A-X1\r\n2-B-X2\r\n3-C-X3"},
    };
    SetRoster("1\r\n2\r\n3", "A\r\nB\r\nC", "X1\r\nX2\r\nX3");
    for (const UnwritableCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(chosen_);
        RenewChosenFolder();
        c.prepare(chosen_);
        GeneratePersonalQrs(recording_);
        EXPECT_EQ(recording_.Messages().back(), Utf8ToGbk(c.message));
        for (const std::string& name : c.written) {
            EXPECT_EQ(FileBytes(chosen_ / name), CodeBytes("djxh" + name.substr(4, 2))) << name;
        }
        EXPECT_TRUE(ExportButtonEnabled(window_));
    }
}

// Codes are made ahead of the rows being written, by more than one thread: a roster much
// longer than that lead still gives every file its own row's code, and the picture box
// the last row's.
TEST_F(PersonalExportTest, ALongRosterGivesEveryFileItsOwnRowsCode) {
    constexpr int kRows = 300;
    std::string serials, names, ids;
    for (int row = 1; row <= kRows; ++row) {
        const std::string separator = row > 1 ? "\r\n" : "";
        serials += separator + std::to_string(row);
        names += separator + (row % 7 == 0 ? "名?" : "名");   // every seventh row fails
        ids += separator + "ID" + std::to_string(row * 37);
    }
    SetRoster(serials, names, ids);

    GeneratePersonalQrs(recording_);

    int written = 0;
    for (int row = 1; row <= kRows; ++row) {
        const std::string id = "ID" + std::to_string(row * 37);
        const std::filesystem::path file = chosen_ / (std::to_string(row) + "-名-" + id + ".jpg");
        if (row % 7 == 0) continue;
        ASSERT_EQ(FileBytes(file), CodeBytes("djxh" + id)) << row;
        ++written;
    }
    EXPECT_EQ(static_cast<int>(NamesIn(chosen_).size()), written);
    const std::string failedCount = "输出图片完成，但有42行未能保存："_gbk.str();
    EXPECT_EQ(recording_.Messages().back().str().substr(0, failedCount.size()), failedCount);
    EXPECT_EQ(std::string(window_.ReadPicture(Control::图片框1).view()), CodeBytes("djxhID" + std::to_string(kRows * 37)));
}

// A registration started from 按钮1 while the export yields runs to its end inside the
// yield, its import code made while the export's codes are made ahead; the export then goes
// on into the visible preview and enables 按钮2 at its end.
TEST_F(PersonalExportTest, ARegistrationDuringTheExportRunsInsideItAndEveryCodeIsRight) {
    constexpr int kRows = 120;
    std::string serials, names, ids;
    for (int row = 1; row <= kRows; ++row) {
        const std::string separator = row > 1 ? "\r\n" : "";
        serials += separator + std::to_string(row);
        names += separator + "名";
        ids += separator + "ID" + std::to_string(row);
    }
    SetRoster(serials, names, ids);
    ImportRegistrationServer server;
    server.AnswerId("during");
    std::string importCode;
    QTimer::singleShot(0, &window_, [&] {
        GenerateImportQr(window_, server.Address());
        importCode = std::string(window_.ReadPicture(Control::图片框1).view());
    });

    GeneratePersonalQrs(recording_);

    EXPECT_EQ(importCode, std::string(MakeQrImage(Text(server.ViewUrl("during")), 0, 0, 1.0).view()));
    for (int row = 1; row <= kRows; ++row) {
        const std::string id = "ID" + std::to_string(row);
        ASSERT_EQ(FileBytes(chosen_ / (std::to_string(row) + "-名-" + id + ".jpg")), CodeBytes("djxh" + id)) << row;
    }
    EXPECT_EQ(recording_.Messages().back(), Utf8ToGbk(kSuccess));
    EXPECT_FALSE(window_.ControlWidget(Control::分组框1)->isHidden());
    EXPECT_TRUE(ExportButtonEnabled(window_));
    EXPECT_EQ(std::string(window_.ReadPicture(Control::图片框1).view()), CodeBytes("djxhID" + std::to_string(kRows)));
}

TEST_F(PersonalExportTest, AFileInUseElsewhereKeepsItsContentAndItsRowFails) {
    SetRoster("1\r\n2", "A\r\nB", "X1\r\nX2");
    const std::filesystem::path held = chosen_ / "2-B-X2.jpg";
    WriteFile(held, "held");
    const int descriptor = ::open(held.c_str(), O_RDONLY);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::flock(descriptor, LOCK_EX), 0);

    GeneratePersonalQrs(recording_);
    ::close(descriptor);

    EXPECT_EQ(recording_.Messages().back(), "输出图片完成，但有1行未能保存：\r\n2-B-X2"_gbk);
    EXPECT_EQ(FileBytes(held), "held");
    EXPECT_EQ(FileBytes(chosen_ / "1-A-X1.jpg"), CodeBytes("djxhX1"));
}

// While it lives, the encoder library's place is taken by one that accepts every call and
// leaves the drawing to saveAsBmp.
class EncoderStandIn {
public:
    explicit EncoderStandIn(int32_t (*saveAsBmp)(const char*)) {
        using namespace binding;
        using testing_support::BindingEntry;
        RegisterSystemLibrary("QRCodeWin32.dll", {
            BindingEntry<kQRSetMessage>(+[](const char*) { return 1; }),
            BindingEntry<kQRSetBackColor>(+[](int32_t, int32_t, int32_t) { return 1; }),
            BindingEntry<kQRSetBarColor>(+[](int32_t, int32_t, int32_t) { return 1; }),
            BindingEntry<kQRConfigure>(+[](int32_t, int32_t, int32_t) { return 1; }),
            BindingEntry<kQRAppearance>(+[](double, int32_t, int32_t) { return 1; }),
            BindingEntry<kQRSetSize>(+[](int32_t, int32_t) { return 1; }),
            BindingEntry<kQRSaveAsBMP>(saveAsBmp),
        });
        ResetBindings();
    }
    ~EncoderStandIn() {
        binding::UnregisterSystemLibrary("QRCodeWin32.dll");
        binding::ResetBindings();
    }

};

// Draws nothing, as a broken encoder would.
int32_t DrawNothing(const char*) { return 0; }

// Draws nothing and, from its second picture on, meets a broken limit that ends the program:
// more than one thread may meet it.
int32_t FailFatallyFromTheSecondPicture(const char*) {
    static std::atomic<int> pictures = 0;
    if (++pictures >= 2) ReportFatalError(6, "编码器出错"_gbk);
    return 0;
}

TEST_F(PersonalExportTest, ACodeTheEncoderDidNotDrawIsAFailedRowWithoutAFile) {
    SetRoster("1\r\n2", "A\r\nB", "X1\r\nX2");
    {
        const EncoderStandIn encoder(DrawNothing);
        GeneratePersonalQrs(recording_);
    }
    EXPECT_EQ(recording_.Messages().back(), "输出图片完成，但有2行未能保存：\r\n1-A-X1\r\n2-B-X2"_gbk);
    EXPECT_TRUE(NamesIn(chosen_).empty());
    EXPECT_TRUE(window_.ReadPicture(Control::图片框1).empty());
}

// Codes may be made away from the window's thread, but the report of a fatal error met
// while making one is shown from the window's thread, which alone may show it.
TEST_F(PersonalExportTest, AFatalErrorWhileMakingACodeIsReportedFromTheWindowsThread) {
    // The window's process has threads of its own: the child starts afresh rather than forked.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SetRoster("1\r\n2\r\n3\r\n4\r\n5\r\n6", "A\r\nB\r\nC\r\nD\r\nE\r\nF", "X1\r\nX2\r\nX3\r\nX4\r\nX5\r\nX6");
    const std::thread::id windowThread = std::this_thread::get_id();
    const std::string report = GbkToUtf8(BuildFatalReport(6, "编码器出错"_gbk));
    EXPECT_EXIT(
        {
            const EncoderStandIn encoder(FailFatallyFromTheSecondPicture);
            SetFatalReportHook([windowThread](const Text& shown) {
                const bool fromWindow = std::this_thread::get_id() == windowThread;
                std::fputs(((fromWindow ? "window thread: " : "another thread: ") + GbkToUtf8(shown)).c_str(), stderr);
            });
            GeneratePersonalQrs(recording_);
        },
        ::testing::ExitedWithCode(255), ::testing::HasSubstr("window thread: " + report));
}

TEST_F(PersonalExportTest, DoubleClickOnThePreviewHidesItAndKeepsItsPicture) {
    const Bytes code = MakeQrImage(Text("http://example/kv/ck.asp?id=7"), 0, 0, 1.0);
    window_.SetPicture(Control::图片框1, code);
    window_.SetVisible(Control::分组框1, true);
    window_.SetDisabled(Control::按钮2, true);

    QTest::mouseDClick(Find<PictureBox>(Control::图片框1), Qt::LeftButton);

    EXPECT_TRUE(window_.ControlWidget(Control::分组框1)->isHidden());
    EXPECT_TRUE(ExportButtonEnabled(window_));
    EXPECT_EQ(window_.ReadPicture(Control::图片框1), code);
}

}  // namespace
}  // namespace korvel::test
