#pragma once

#include <QMenu>

#include "core/MenuItem.h"

namespace pelorin::ui {

// Fills a QMenu with a copy of the suite's menu items: captions, pictures, visible and
// enabled states, radio items and check marks, submenus; a click calls the item's
// action after the menu has closed.
void FillMenu(QMenu& menu, const MenuItem& items);

}  // namespace pelorin::ui
