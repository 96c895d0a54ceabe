#include "tests/app/ImportTestWindow.h"

#include <fstream>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "core/CodePage.h"
#include "tests/support/QrDecoders.h"

namespace korvel::test {

MessageRecorder::MessageRecorder() {
    // The timer fires inside the box's own event loop, so every box is answered.
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return modal->close(), void();
        texts_.append(box->text());
        box->button(QMessageBox::Ok)->click();
    });
    timer_.start(10);
}

void ImportTestWindow::SetUp() {
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
}

void ImportTestWindow::SetRoster(const char* serials, const char* names, const char* ids) {
    window_.WriteText(Control::编辑框1, Utf8ToGbk(serials));
    window_.WriteText(Control::编辑框2, Utf8ToGbk(names));
    window_.WriteText(Control::编辑框3, Utf8ToGbk(ids));
}

bool ImportTestWindow::PreviewShown() const { return window_.ControlWidget(Control::分组框1)->isVisible(); }

bool ImportTestWindow::ExportButtonEnabled() const { return window_.ControlWidget(Control::按钮2)->isEnabled(); }

std::string ImportTestWindow::PictureContent() const {
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("preview.bmp")).toStdString();
    const Bytes picture = window_.ReadPicture(Control::图片框1);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(picture.data()), picture.size());
    const testing_support::DecodeResult result = testing_support::DecodeQrBmp(testing_support::QrDecoder::kZXing, path);
    return result.decoded ? result.bytes : "<" + result.error + ">";
}

std::string Gbk(const char* utf8) { return Utf8ToGbk(utf8).str(); }

}  // namespace korvel::test
