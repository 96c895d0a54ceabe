// The picture of the import preview that the README shows. Made only on request, under a
// bare X server like the main window's screenshot:
//   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb
//       KORVEL_IMPORT_SCREENSHOT=docs/import-preview.png build/bin/test_app
//       --gtest_filter='ImportPreviewScreenshot.*'
// (one command line).
// The window registers its initial roster with a registration server on loopback, and
// its client area as it then stands is saved as a PNG.
#include <QPixmap>
#include <QTest>

#include "app/ImportWorkflow.h"
#include "tests/app/ImportRegistrationServer.h"
#include "tests/app/ImportTestWindow.h"

namespace korvel::test {
namespace {

constexpr const char* kScreenshotVariable = "KORVEL_IMPORT_SCREENSHOT";

using ImportPreviewScreenshot = ImportTestWindow;

TEST_F(ImportPreviewScreenshot, SavesTheWindowShowingAnImportCode) {
    const QString path = qEnvironmentVariable(kScreenshotVariable);
    if (path.isEmpty()) GTEST_SKIP() << kScreenshotVariable << " names no file";

    ImportRegistrationServer server;
    server.AnswerId("20240901");
    GenerateImportQr(window_, server.Address());
    ASSERT_TRUE(PreviewShown());
    ASSERT_EQ(PictureContent(), server.ViewUrl("20240901"));
    // Let the preview paint before it is grabbed.
    QTest::qWait(100);
    EXPECT_TRUE(window_.grab().save(path, "PNG")) << path.toStdString();
}

}  // namespace
}  // namespace korvel::test
