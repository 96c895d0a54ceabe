#pragma once
// Where the main window stands and how large its client area is. The window's outer size,
// frame and caption included, is fixed at 684 x 499 pixels.
#include <QPoint>
#include <QSize>

namespace korvel {

inline constexpr QSize kOuterSize{684, 499};

// The frame's top-left corner that centres the outer size on a screen of the given size:
// (screen - outer) / 2 in each direction, in integer division.
QPoint CentredOrigin(const QSize& screen);

// The client area for a frame that adds frameExtra (width and height) around it. A window
// system that adds no frame (offscreen, a bare X server) gets the client area of the
// classic fixed Windows frame, in which every control fits.
QSize ClientSizeFor(const QSize& frameExtra);

}  // namespace korvel
