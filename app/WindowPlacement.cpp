#include "app/WindowPlacement.h"

namespace korvel {
namespace {

// A 3-pixel fixed border on every side and a 23-pixel caption bar; the controls reach
// 664 pixels across and 446 down, inside the 678 x 470 this leaves.
constexpr QSize kClassicFrameExtra{6, 29};

}  // namespace

QPoint CentredOrigin(const QSize& screen) {
    return {(screen.width() - kOuterSize.width()) / 2, (screen.height() - kOuterSize.height()) / 2};
}

QSize ClientSizeFor(const QSize& frameExtra) {
    const QSize extra = frameExtra.isNull() ? kClassicFrameExtra : frameExtra;
    return kOuterSize - extra;
}

}  // namespace korvel
