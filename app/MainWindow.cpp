#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "app/ExportProgress.h"
#include "app/PictureBox.h"
#include "app/Roster.h"
#include "app/WindowIcon.h"
#include "app/WindowPlacement.h"
#include "app/Workflows.h"

namespace korvel {

MainWindow::MainWindow() : QWidget(nullptr), controls_(this) {
    SetUpFrame();
    ConnectEvents();
    controls_.Widget(Control::编辑框1)->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::SetUpFrame() {
    setWindowTitle(QStringLiteral("【Korvel】二维码生成器"));
    setWindowIcon(ProgramIcon());
    // A fixed frame: caption, system menu, minimise and close, but no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientSizeFor(QSize(0, 0)));
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);
}

void MainWindow::ConnectEvents() {
    // Connected after the initial contents are in place, so only later edits count rows.
    const auto onTextChanged = [this](Control box, Column column) {
        connect(controls_.EditBox(box), &QPlainTextEdit::textChanged, this,
                [this, column] { UpdateRowCounter(*this, column); });
    };
    onTextChanged(Control::编辑框1, Column::Serial);
    onTextChanged(Control::编辑框2, Column::Name);
    onTextChanged(Control::编辑框3, Column::Id);
    connect(controls_.Button(Control::按钮1), &QPushButton::clicked, this, [this] { GenerateImportQr(*this); });
    connect(controls_.Button(Control::按钮2), &QPushButton::clicked, this, [this] { GeneratePersonalQrs(*this); });
    connect(controls_.Picture(), &PictureBox::DoubleClicked, this, [this] { ClosePreview(*this); });
}

void MainWindow::PlaceCentred() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    // A top-level widget's position is that of its frame.
    move(CentredOrigin(screen->geometry().size()) + screen->geometry().topLeft());
}

void MainWindow::FitClientToFrame() {
    const QSize frameExtra = frameGeometry().size() - geometry().size();
    // No frame yet, or none at all; a window system may also report a nonsense frame for
    // a moment while it maps the window.
    if (fittedToFrame_ || frameExtra.width() < 0 || frameExtra.height() <= 0) return;
    // The window system has framed the window: the outer size, not the client, is fixed.
    fittedToFrame_ = true;
    setFixedSize(ClientSizeFor(frameExtra));
    PlaceCentred();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    closed_ = true;
    // The export that owns the indicator returns without touching the window again.
    if (progress_) progress_->hide();
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Keys no control uses arrive here; Esc anywhere in the window closes it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FitClientToFrame();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // A window manager reports its frame some time after the window is mapped.
    FitClientToFrame();
}

}  // namespace korvel
