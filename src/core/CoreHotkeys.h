#pragma once

#include <array>
#include <string_view>

#include "core/CoreContext.h"

namespace pelorin {

// The core's global hot-keys: the 17 identifiers (global atoms), registration with
// the system, and the dispatch of a press (WM_HOTKEY) in the suite's order.
class CoreHotkeys {
 public:
  static constexpr std::array<std::string_view, 17> kAtomNames = {
      "PELN_FASTSTART", "PELN_REM",     "PELN_MENU",   "PELN_CDAUDIO", "PELN_VOLDOWN",
      "PELN_VOLUP",     "PELN_MMNEXT",  "PELN_MMPREV", "PELN_MMPLAY",  "PELN_MMFUNC",
      "PELN_MMSTOP",    "PELN_MMPAUSE", "PELN_NOTE",   "PELN_PWR1",    "PELN_PWR2",
      "PELN_PWR3",      "PELN_PWRT"};

  // Identifier of the first atom; the others follow in the order of kAtomNames.
  static constexpr int kFirstAtom = 0xC000;

  // Takes the presses of registered combinations from the Hotkeys port.
  explicit CoreHotkeys(CoreContext& ctx);
  ~CoreHotkeys();
  CoreHotkeys(const CoreHotkeys&) = delete;
  CoreHotkeys& operator=(const CoreHotkeys&) = delete;

  void AddAtoms();
  // Deletes the identifiers. Combinations registered under them stay with the system
  // (as a key registered under an atom's value outlives the atom) until the next
  // UnregisterHotkeys or RegisterHotkeys replaces them.
  void DeleteAtoms();
  // The identifier of an atom (0 while the atoms do not exist).
  int AtomId(std::string_view name) const;

  // Atoms that a refused close request deleted are added again first: only shutdown
  // ends them for good.
  void RegisterHotkeys();
  void UnregisterHotkeys();

  // A press: the WM_HOTKEY lParam's low word (modifiers) and high word (key).
  void WM_HOTKEY(unsigned modifiers, int virtualKey);

 private:
  CoreContext& ctx_;
  std::array<int, 17> atoms_{};
  // The identifier under which the system holds each atom's combination (0: none).
  std::array<int, 17> held_{};
};

}  // namespace pelorin
