#pragma once

#include <QWidget>

namespace pelorin::ui {

// Moves a window so that its middle lies on the middle of the primary screen.
void CentreOnScreen(QWidget& window);

}  // namespace pelorin::ui
