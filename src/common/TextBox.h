#pragma once

#include <string>

namespace pelorin {

// A one-line text box of a window model as the general operations fill it (the hotkey
// boxes of the settings windows): the model owns it and the operations put text into
// it; its widget only shows `text`, re-reading it when the model reports a change.
struct TextBox {
  std::string text;
};

}  // namespace pelorin
