#include "app/ExportProgress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

ExportProgress::ExportProgress(QWidget* owner)
    : QDialog(owner), label_(new QLabel(this)), bar_(new QProgressBar(this)),
      stop_(new QPushButton(QStringLiteral("停止"), this)) {
    setObjectName(QStringLiteral("输出进度"));
    setWindowTitle(QStringLiteral("输出图片"));
    setModal(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(stop_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    setMinimumWidth(320);
    // The button is no default: Enter typed into a column box must not stop the export.
    stop_->setAutoDefault(false);
    connect(stop_, &QPushButton::clicked, this, &ExportProgress::RequestStop);
}

void ExportProgress::Report(int32_t done, int32_t total) {
    label_->setText(QStringLiteral("已输出%1行，共%2行").arg(done).arg(total));
    bar_->setRange(0, total);
    bar_->setValue(done);
    if (!isVisible()) show();
}

void ExportProgress::Finish() {
    hide();
    stopRequested_ = false;
    stop_->setEnabled(true);
}

void ExportProgress::reject() { RequestStop(); }

void ExportProgress::RequestStop() {
    stopRequested_ = true;
    // Pressed once is enough; the export ends after the row under way.
    stop_->setEnabled(false);
    label_->setText(QStringLiteral("正在停止…"));
}

}  // namespace korvel
