#pragma once
// The real main window offscreen for the import workflow's tests, with every message box
// it opens answered and recorded, and the preview's picture read back through a decoder.
#include <gtest/gtest.h>

#include <string>

#include <QStringList>
#include <QTimer>

#include "app/MainWindow.h"
#include "core/Text.h"

namespace korvel::test {

// While it lives, answers every message box that opens with OK and keeps its text.
class MessageRecorder {
public:
    MessageRecorder();
    const QStringList& Texts() const { return texts_; }

private:
    QTimer timer_;
    QStringList texts_;
};

class ImportTestWindow : public ::testing::Test {
protected:
    void SetUp() override;

    // Puts the three columns in place as a paste would; texts UTF-8, lines split by CR LF.
    void SetRoster(const char* serials, const char* names, const char* ids);
    bool PreviewShown() const;
    bool ExportButtonEnabled() const;
    // What ZXingReader reads from the preview's picture; "<...>" with the reason when nothing.
    std::string PictureContent() const;

    MainWindow window_;
    MessageRecorder messages_;
};

// The UTF-8 literal as GBK bytes.
std::string Gbk(const char* utf8);

}  // namespace korvel::test
