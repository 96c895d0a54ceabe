#pragma once
// The twelve controls of the main window, built as children of the window with their
// places, sizes, styles and initial contents, and looked up by Control. The window owns
// the widgets (Qt parent ownership); this set only points at them.
#include <array>

#include "app/Control.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace korvel {

class PictureBox;

class ControlSet {
public:
    // Builds every control in the window's creation order, which is also the Tab order.
    explicit ControlSet(QWidget* window);

    QWidget* Widget(Control control) const { return widgets_[ControlIndex(control)]; }
    // Null when the control is of another kind.
    QPlainTextEdit* EditBox(Control control) const;
    QLabel* Label(Control control) const;
    QPushButton* Button(Control control) const;
    PictureBox* Picture() const;

private:
    std::array<QWidget*, kControlCount> widgets_{};
};

}  // namespace korvel
