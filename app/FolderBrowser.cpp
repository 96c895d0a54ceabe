#include "app/FolderBrowser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

#include "app/QtText.h"

namespace korvel {

QString FolderBrowserStart() {
    const QDir home = QDir::home();
    return home.exists(QStringLiteral("Desktop")) ? home.filePath(QStringLiteral("Desktop")) : home.path();
}

QString WithoutTrailingSeparator(const QString& path) {
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(u'/')) trimmed.chop(1);
    return trimmed;
}

Text BrowseForFolder(const Text& prompt) {
    const QString promptText = ToQString(prompt);
    QFileDialog dialog(QApplication::activeWindow(), promptText, FolderBrowserStart());
    // Qt's own dialog on every desktop, so the prompt label and the folder-only view hold.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setLabelText(QFileDialog::LookIn, promptText);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted) return Text();
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return Text();
    return ToGbkWithCrLf(WithoutTrailingSeparator(QDir::cleanPath(chosen.first())));
}

}  // namespace korvel
