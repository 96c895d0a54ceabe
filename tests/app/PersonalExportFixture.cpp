#include "tests/app/PersonalExportFixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include "core/CodePage.h"
#include "core/TextOperations.h"
#include "qr/MakeQrImage.h"

namespace korvel::test {
namespace {

std::string NameOf(Control control) {
    return QString::fromStdU16String(std::u16string(ControlName(control))).toStdString();
}

}  // namespace

std::vector<std::string> RecordingWindow::Steps() const { return WithoutProgress(log_); }

void RecordingWindow::Note(std::string line) const {
    if (window_.IsClosed()) ++touchedAfterClose_;
    log_.push_back(std::move(line));
}

Text RecordingWindow::ReadText(Control control) const {
    Note("read " + NameOf(control));
    return window_.ReadText(control);
}

void RecordingWindow::WriteText(Control control, const Text& text) {
    Note("write " + NameOf(control));
    window_.WriteText(control, text);
}

void RecordingWindow::SetVisible(Control control, bool visible) {
    Note((visible ? "show " : "hide ") + NameOf(control));
    window_.SetVisible(control, visible);
}

void RecordingWindow::SetDisabled(Control control, bool disabled) {
    Note((disabled ? "disable " : "enable ") + NameOf(control));
    window_.SetDisabled(control, disabled);
}

void RecordingWindow::SetPicture(Control control, const Bytes& picture) {
    Note("picture");
    window_.SetPicture(control, picture);
}

Bytes RecordingWindow::ReadPicture(Control control) const {
    Note("read picture");
    return window_.ReadPicture(control);
}

void RecordingWindow::ShowMessage(const Text& text) {
    Note("message " + GbkToUtf8(text));
    messages_.push_back(text);
    window_.ShowMessage(text);
}

Text RecordingWindow::ChooseFolder(const Text& prompt) {
    Note("browser");
    return window_.ChooseFolder(prompt);
}

void RecordingWindow::ShowProgress(int32_t done, int32_t total) {
    Note("progress " + std::to_string(done) + "/" + std::to_string(total));
    window_.ShowProgress(done, total);
}

void RecordingWindow::HideProgress() {
    Note("hide progress");
    window_.HideProgress();
}

bool RecordingWindow::StopRequested() const {
    Note("stop?");
    return window_.StopRequested();
}

MessageAnswerer::MessageAnswerer(const MainWindow& window) {
    QObject::connect(&timer_, &QTimer::timeout, [this, &window] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        MessageSeen seen;
        seen.caption = box->windowTitle();
        seen.text = box->text();
        for (const QAbstractButton* button : box->buttons()) seen.buttons.append(button->text().remove(u'&'));
        seen.iconless = box->icon() == QMessageBox::NoIcon;
        seen.exportButtonEnabled = ExportButtonEnabled(window);
        seen_.push_back(seen);
        box->button(QMessageBox::Ok)->click();
    });
    timer_.start(5);
}

void PersonalExportTest::SetUp() {
    WindowTest::SetUp();
    ASSERT_TRUE(temp_.isValid());
    root_ = std::filesystem::path(temp_.path().toStdString());
    parent_ = root_ / "parent";
    chosen_ = parent_ / "chosen";
    std::filesystem::create_directories(chosen_);
    AnswerBrowserWith(chosen_);
}

void PersonalExportTest::SetRoster(const std::string& serials, const std::string& names, const std::string& ids) {
    window_.WriteText(Control::编辑框1, Utf8ToGbk(serials));
    window_.WriteText(Control::编辑框2, Utf8ToGbk(names));
    window_.WriteText(Control::编辑框3, Utf8ToGbk(ids));
}

void PersonalExportTest::RenewChosenFolder() {
    std::filesystem::remove_all(chosen_);
    std::filesystem::create_directories(chosen_);
}

void PersonalExportTest::AnswerBrowserWith(const std::filesystem::path& folder) {
    const Text answer = Utf8ToGbk(folder.string());
    window_.SetFolderChooser([this, answer](const Text& prompt) {
        EXPECT_EQ(prompt, "保存："_gbk);
        exportButtonEnabledWhileBrowsing_ = ExportButtonEnabled(window_);
        if (whileBrowsing_) whileBrowsing_();
        return answer;
    });
}

std::vector<std::string> WithoutProgress(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(kept), [](const std::string& line) {
        return line.rfind("progress", 0) != 0 && line != "hide progress" && line != "stop?";
    });
    return kept;
}

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string CodeBytes(const std::string& content) {
    return std::string(MakeQrImage(Utf8ToGbk(content), 0, 0, 1.0).view());
}

bool ExportButtonEnabled(const MainWindow& window) { return window.ControlWidget(Control::按钮2)->isEnabled(); }

}  // namespace korvel::test
