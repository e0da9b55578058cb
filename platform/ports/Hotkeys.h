#pragma once

#include <functional>

namespace pelorin::ports {

// System-wide key combinations (RegisterHotKey / WM_HOTKEY). Keys are Windows
// virtual-key codes; modifiers are the mask Alt = 1, Ctrl = 2, Shift = 4, Win = 8.
class Hotkeys {
 public:
  virtual ~Hotkeys() = default;

  // Registers `id` for the combination, replacing what `id` had. False when the system
  // refused (another program holds the combination, or the key has no equivalent).
  virtual bool Register(int id, unsigned modifiers, int virtualKey) = 0;
  virtual void Unregister(int id) = 0;

  // Called on the user-interface thread for every press of a registered combination,
  // with the identifier, the modifier mask and the virtual key (the WM_HOTKEY data).
  virtual void SetOnHotkey(std::function<void(int id, unsigned modifiers, int virtualKey)>) = 0;
};

}  // namespace pelorin::ports
