#pragma once
// The picture box of the preview: it keeps the exact bytes it was given and draws the
// image they hold stretched over its whole area, on the 3-D face colour. The bytes are
// decoded only when the box is painted, so a hidden box that receives picture after
// picture (the personal export) never spends time decoding them.
#include <QImage>
#include <QWidget>

#include "core/Bytes.h"

namespace korvel {

class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent);

    // Keeps a copy of the bytes; empty bytes clear the picture.
    void SetPicture(Bytes picture);
    // The bytes last set, unchanged.
    const Bytes& Picture() const { return picture_; }
    // The decoded image as drawn; null when the bytes are empty or no image.
    const QImage& Image();

signals:
    // A double-click with the left mouse button.
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Bytes picture_;
    QImage image_;
    bool decoded_ = true;
};

}  // namespace korvel
