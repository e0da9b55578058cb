#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace pelorin::ui {

// Where a pop-up menu of `size` opens for the pointer at `pointer`: its corner at the
// pointer, opening to the left and upwards where the screen's edges leave no room, and
// always inside `screen`. When `avoid` is valid (the tray icon that was clicked), the
// menu opens beside it, never over it: below an icon in the upper half of the screen,
// above one in the lower half, or to its side when neither leaves room.
QPoint MenuPlacement(QPoint pointer, QSize size, QRect screen, QRect avoid = QRect());

}  // namespace pelorin::ui
