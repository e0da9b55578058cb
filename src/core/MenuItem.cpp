#include "core/MenuItem.h"

namespace pelorin {

MenuItem* MenuItem::Find(const std::string& itemId) {
  if (id == itemId) return this;
  for (auto& child : children) {
    if (MenuItem* found = child.Find(itemId)) return found;
  }
  return nullptr;
}

const MenuItem* MenuItem::Find(const std::string& itemId) const {
  return const_cast<MenuItem*>(this)->Find(itemId);
}

}  // namespace pelorin
