#include "ui/MenuPlacement.h"

#include <algorithm>

namespace pelorin::ui {

namespace {

// The start of a span of `length` at `at` within [low, high]: from `at` onwards when
// it fits, else ending at `at`, and moved inside the bounds when neither fits.
int Along(int at, int length, int low, int high) {
  int start = at;
  if (start + length - 1 > high) start = at - length;
  return std::clamp(start, low, std::max(low, high - length + 1));
}

}  // namespace

QPoint MenuPlacement(QPoint pointer, QSize size, QRect screen, QRect avoid) {
  const int w = size.width();
  const int h = size.height();
  QPoint at(Along(pointer.x(), w, screen.left(), screen.right()),
            Along(pointer.y(), h, screen.top(), screen.bottom()));
  if (!avoid.isValid() || !QRect(at, size).intersects(avoid)) return at;

  const bool iconInUpperHalf = avoid.center().y() < screen.center().y();
  const int beside = iconInUpperHalf ? avoid.bottom() + 1 : avoid.top() - h;
  if (beside >= screen.top() && beside + h - 1 <= screen.bottom()) {
    at.setY(beside);
    return at;
  }
  // A menu taller than the room above or below the icon: beside it on the side with room.
  const int right = avoid.right() + 1;
  at.setX(right + w - 1 <= screen.right() ? right : std::max(screen.left(), avoid.left() - w));
  return at;
}

}  // namespace pelorin::ui
