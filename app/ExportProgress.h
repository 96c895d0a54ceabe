#pragma once
// The indicator of a long personal export: rows done out of the roster's rows, and a
// 停止 button that asks the export to stop after the row under way. It is modeless, so the
// main window keeps painting and taking input beside it; closing it (its close box or Esc)
// asks to stop as well.
#include <cstdint>

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace korvel {

class ExportProgress : public QDialog {
    Q_OBJECT

public:
    // owner: the main window, which owns the indicator and lies under it.
    explicit ExportProgress(QWidget* owner);

    // Shows the indicator when hidden and sets it to done of total rows (0 <= done <= total).
    void Report(int32_t done, int32_t total);
    // Hides the indicator and forgets a request to stop.
    void Finish();
    bool StopRequested() const { return stopRequested_; }

public slots:
    // Esc and the close box end here: they ask to stop, and the indicator stays until the
    // export has stopped.
    void reject() override;

private:
    void RequestStop();

    QLabel* label_;
    QProgressBar* bar_;
    QPushButton* stop_;
    bool stopRequested_ = false;
};

}  // namespace korvel
