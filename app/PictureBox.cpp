#include "app/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace korvel {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);
}

void PictureBox::SetPicture(Bytes picture) {
    picture_ = std::move(picture);
    image_ = QImage();
    decoded_ = picture_.empty();
    update();
}

const QImage& PictureBox::Image() {
    if (!decoded_) {
        // The format is recognised from the first bytes; what no reader accepts stays null.
        image_ = QImage::fromData(picture_.data(), picture_.size());
        decoded_ = true;
    }
    return image_;
}

void PictureBox::paintEvent(QPaintEvent*) {
    const QImage& image = Image();
    if (image.isNull()) return;
    // Without smoothing each pixel of a small code becomes a sharp square block.
    QPainter painter(this);
    painter.drawImage(rect(), image);
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit DoubleClicked();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

}  // namespace korvel
