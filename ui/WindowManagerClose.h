#pragma once

#include <QWidget>

namespace pelorin::ui {

// Keeps a window open when the window manager asks it to close (Alt+F4, a close
// button): windows such as the busy box or the fly-out anchor come and go with the
// suite's state, never at the user's request; the program hides them, it never closes
// them.
void RefuseWindowManagerClose(QWidget& window);

}  // namespace pelorin::ui
