// The window operations of MainWindow: the workflows' only way to the controls. After the
// window was closed they leave every control alone, so an interrupted workflow that runs
// on to its end changes nothing and waits for no user.
#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

#include "app/ExportProgress.h"
#include "app/FolderBrowser.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/PictureBox.h"
#include "app/QtText.h"

namespace korvel {

Text MainWindow::ReadText(Control control) const {
    if (closed_) return Text();
    if (const QPlainTextEdit* box = controls_.EditBox(control)) return ToGbkWithCrLf(box->toPlainText());
    if (const QLabel* label = controls_.Label(control)) return ToGbkWithCrLf(label->text());
    return Text();
}

void MainWindow::WriteText(Control control, const Text& text) {
    if (closed_) return;
    if (QPlainTextEdit* box = controls_.EditBox(control)) {
        box->setPlainText(ToQString(text));
        return;
    }
    if (QLabel* label = controls_.Label(control)) {
        label->setText(ToQStringWithNewlines(text));
        // The new caption shows at once, even while a long workflow keeps the loop busy.
        label->repaint();
    }
}

void MainWindow::SetVisible(Control control, bool visible) {
    if (closed_) return;
    controls_.Widget(control)->setVisible(visible);
}

void MainWindow::SetDisabled(Control control, bool disabled) {
    if (closed_) return;
    controls_.Widget(control)->setDisabled(disabled);
}

void MainWindow::SetPicture(Control control, const Bytes& picture) {
    if (closed_ || control != Control::图片框1) return;
    controls_.Picture()->SetPicture(picture);
}

Bytes MainWindow::ReadPicture(Control control) const {
    if (closed_ || control != Control::图片框1) return Bytes();
    return controls_.Picture()->Picture();
}

void MainWindow::ShowMessage(const Text& text) {
    if (closed_) return;
    ShowInformationBox(text);
}

Text MainWindow::ChooseFolder(const Text& prompt) {
    if (closed_) return Text();
    return folderChooser_ ? folderChooser_(prompt) : BrowseForFolder(prompt);
}

void MainWindow::ShowProgress(int32_t done, int32_t total) {
    if (closed_) return;
    if (!progress_) progress_ = new ExportProgress(this);
    progress_->Report(done, total);
}

void MainWindow::HideProgress() {
    if (closed_ || !progress_) return;
    progress_->Finish();
}

bool MainWindow::StopRequested() const { return progress_ && progress_->StopRequested(); }

}  // namespace korvel
