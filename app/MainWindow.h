#pragma once
// The program's one window: twelve controls at fixed places, the six event bindings, and
// the window operations the workflows use. The object lives until main() returns; closing
// the window only hides it (and ends the event loop), so a handler still nested in the
// event pump finds its controls intact and IsClosed() true.
#include <functional>

#include <QWidget>

#include "app/ControlSet.h"
#include "app/WindowOperations.h"

namespace korvel {

class ExportProgress;

class MainWindow : public QWidget, public WindowOperations {
    Q_OBJECT

public:
    MainWindow();
    ~MainWindow() override;

    // Moves the window so that its 684 x 499 outer frame is centred on the primary screen.
    void PlaceCentred();

    // Replaces the folder browser, for tests that cannot click through a dialog. An empty
    // function restores the real browser.
    using FolderChooser = std::function<Text(const Text& prompt)>;
    void SetFolderChooser(FolderChooser chooser) { folderChooser_ = std::move(chooser); }

    // The widget of a control, for tests that act on it as a user would.
    QWidget* ControlWidget(Control control) const { return controls_.Widget(control); }

    Text ReadText(Control control) const override;
    void WriteText(Control control, const Text& text) override;
    void SetVisible(Control control, bool visible) override;
    void SetDisabled(Control control, bool disabled) override;
    void SetPicture(Control control, const Bytes& picture) override;
    Bytes ReadPicture(Control control) const override;
    void ShowMessage(const Text& text) override;
    Text ChooseFolder(const Text& prompt) override;
    bool IsClosed() const override { return closed_; }
    void ShowProgress(int32_t done, int32_t total) override;
    void HideProgress() override;
    bool StopRequested() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void SetUpFrame();
    void ConnectEvents();
    void FitClientToFrame();

    ControlSet controls_;
    FolderChooser folderChooser_;
    ExportProgress* progress_ = nullptr;  // made at the first long export; a child of the window
    bool closed_ = false;
    bool fittedToFrame_ = false;
};

}  // namespace korvel
