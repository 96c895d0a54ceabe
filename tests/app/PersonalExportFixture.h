#pragma once
// The real window offscreen with a recording of every window operation the personal export
// makes, the folder browser answered with a folder under a fresh temporary folder, and
// every message box answered with OK and remembered.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include "app/MainWindow.h"
#include "tests/app/WindowTestSupport.h"

namespace korvel::test {

// Forwards every operation to the real window and writes a line for each into a log:
// "disable 按钮2", "enable 按钮2", "browser", "read 编辑框1", "message <text>", "picture",
// "read picture", "progress <done>/<total>", "hide progress", "stop?" (UTF-8). Counts the
// operations made after the window was closed, IsClosed itself aside.
class RecordingWindow : public WindowOperations {
public:
    explicit RecordingWindow(MainWindow& window) : window_(window) {}

    const std::vector<std::string>& Log() const { return log_; }
    // The log without the lines of the progress indicator (WithoutProgress).
    std::vector<std::string> Steps() const;
    std::vector<Text> Messages() const { return messages_; }
    int TouchedAfterClose() const { return touchedAfterClose_; }

    Text ReadText(Control control) const override;
    void WriteText(Control control, const Text& text) override;
    void SetVisible(Control control, bool visible) override;
    void SetDisabled(Control control, bool disabled) override;
    void SetPicture(Control control, const Bytes& picture) override;
    Bytes ReadPicture(Control control) const override;
    void ShowMessage(const Text& text) override;
    Text ChooseFolder(const Text& prompt) override;
    bool IsClosed() const override { return window_.IsClosed(); }
    void ShowProgress(int32_t done, int32_t total) override;
    void HideProgress() override;
    bool StopRequested() const override;

private:
    void Note(std::string line) const;

    MainWindow& window_;
    mutable std::vector<std::string> log_;
    std::vector<Text> messages_;
    mutable int touchedAfterClose_ = 0;
};

// What a message box showed, read while it was open.
struct MessageSeen {
    QString caption;
    QString text;
    QStringList buttons;
    bool iconless = false;
    bool exportButtonEnabled = true;  // 按钮2 while the box was open
};

// While it lives, answers every message box that opens with OK.
class MessageAnswerer {
public:
    explicit MessageAnswerer(const MainWindow& window);
    const std::vector<MessageSeen>& Seen() const { return seen_; }

private:
    QTimer timer_;
    std::vector<MessageSeen> seen_;
};

class PersonalExportTest : public WindowTest {
protected:
    void SetUp() override;

    // Fills the three columns as a paste would: UTF-8, CR LF between rows.
    void SetRoster(const std::string& serials, const std::string& names, const std::string& ids);
    // Empties the chosen folder again (it exists afterwards, holding nothing).
    void RenewChosenFolder();
    // The browser answers with this folder from now on; empty: the user cancels.
    void AnswerBrowserWith(const std::filesystem::path& folder);

    std::filesystem::path root_;    // the fresh temporary folder: holds parent only
    std::filesystem::path parent_;  // holds chosen only
    std::filesystem::path chosen_;  // where the browser points
    std::function<void()> whileBrowsing_;  // runs while the browser is open, when set
    bool exportButtonEnabledWhileBrowsing_ = true;
    RecordingWindow recording_{window_};
    MessageAnswerer messages_{window_};

private:
    QTemporaryDir temp_;
};

// The lines without those of the progress indicator, which differ with the machine's speed.
std::vector<std::string> WithoutProgress(const std::vector<std::string>& lines);
// The names in a folder (UTF-8, as on disk), sorted; empty when it is no folder.
std::vector<std::string> NamesIn(const std::filesystem::path& folder);
// The whole file, or "<missing>".
std::string FileBytes(const std::filesystem::path& file);
// The picture the export makes for this content (UTF-8), as MakeQrImage gives it.
std::string CodeBytes(const std::string& content);
// The 按钮2 widget's state.
bool ExportButtonEnabled(const MainWindow& window);

}  // namespace korvel::test
