#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/MenuPicture.h"

namespace pelorin {

// One item of a menu as the user interface shows it. A pop-up menu is a copy of the
// main menu's items as they are at that moment.
struct MenuItem {
  std::string id;  // the suite's name of the item ("MainPopup_Close"), or empty
  std::string caption;
  bool separator = false;
  bool visible = true;
  bool enabled = true;
  bool radio = false;
  bool checked = false;
  MenuPicture picture = MenuPicture::None;
  // A Programs entry's small picture from the Programs window: 0-11 the icon styles,
  // 12 + i entry i's own icon; -1 none.
  int programPicture = -1;
  std::function<void()> onClick;
  std::vector<MenuItem> children;  // a submenu when not empty

  MenuItem* Find(const std::string& itemId);
  const MenuItem* Find(const std::string& itemId) const;
};

}  // namespace pelorin
