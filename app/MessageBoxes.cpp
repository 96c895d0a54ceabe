#include "app/MessageBoxes.h"

#include <QMessageBox>

#include "app/QtText.h"

namespace korvel {
namespace {

void RunMessageBox(const QString& caption, QMessageBox::Icon icon, const Text& text) {
    QMessageBox box(icon, caption, ToQStringWithNewlines(text), QMessageBox::Ok);
    // Plain text: a roster value such as "<b>" must show as typed.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace

void ShowInformationBox(const Text& text) {
    RunMessageBox(QStringLiteral("信息："), QMessageBox::NoIcon, text);
}

void ShowErrorBox(const Text& report) {
    RunMessageBox(QStringLiteral("错误"), QMessageBox::Critical, report);
}

}  // namespace korvel
