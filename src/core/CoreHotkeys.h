#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "common/Hotkeys.h"
#include "core/CoreContext.h"
#include "ports/Notification.h"

namespace pelorin {

// The combinations the core registers; where each comes from is said beside it.
struct CoreHotkeySet {
  THotkey MenuKey;    // pelorin.hf System/MenuKey
  THotkey FastStart;  // run.hif SYSTEM/HotKey
  THotkey Note;       // note.hif SYSTEM/Hotkey
  THotkey Reminder;   // reminder.hif SYSTEM/Hotkey (registered by the reminder itself)
  THotkey VolUpKey, VolDownKey, PrevKey, NextKey, PlayKey, StopKey, PauseKey,
      FuncKey;                     // mixerfly.hif
  THotkey Key1, Key2, Key3, KeyT;  // pcagent.hif POWER
};

// The sources a press is compared with, in the order their actions run.
enum class HotkeySource {
  kMenuKey,
  kReminder,
  kFastStart,
  kNote,
  kVolUpKey,
  kVolDownKey,
  kPrevKey,
  kNextKey,
  kPlayKey,
  kStopKey,
  kPauseKey,
  kFuncKey,
  kKeyT,
  kKey1,
  kKey2,
  kKey3,
  kUserHotkeys,
  kCount
};

struct HotkeyDispatchRow {
  HotkeySource source;
  SubsystemId owner;
  THotkey CoreHotkeySet::*hotkey;  // nullptr: the user's hot-keys, which test each press
  bool ignoredWhileLocked;
};

inline constexpr std::array<HotkeyDispatchRow, static_cast<std::size_t>(HotkeySource::kCount)>
    kHotkeyDispatch = {{
        {HotkeySource::kMenuKey, SubsystemId::Core, &CoreHotkeySet::MenuKey, false},
        {HotkeySource::kReminder, SubsystemId::Alarms, &CoreHotkeySet::Reminder, false},
        {HotkeySource::kFastStart, SubsystemId::Launcher, &CoreHotkeySet::FastStart, true},
        {HotkeySource::kNote, SubsystemId::Books, &CoreHotkeySet::Note, true},
        {HotkeySource::kVolUpKey, SubsystemId::Multimedia, &CoreHotkeySet::VolUpKey, false},
        {HotkeySource::kVolDownKey, SubsystemId::Multimedia, &CoreHotkeySet::VolDownKey, false},
        {HotkeySource::kPrevKey, SubsystemId::Multimedia, &CoreHotkeySet::PrevKey, false},
        {HotkeySource::kNextKey, SubsystemId::Multimedia, &CoreHotkeySet::NextKey, false},
        {HotkeySource::kPlayKey, SubsystemId::Multimedia, &CoreHotkeySet::PlayKey, false},
        {HotkeySource::kStopKey, SubsystemId::Multimedia, &CoreHotkeySet::StopKey, false},
        {HotkeySource::kPauseKey, SubsystemId::Multimedia, &CoreHotkeySet::PauseKey, false},
        {HotkeySource::kFuncKey, SubsystemId::Multimedia, &CoreHotkeySet::FuncKey, false},
        {HotkeySource::kKeyT, SubsystemId::Multimedia, &CoreHotkeySet::KeyT, false},
        {HotkeySource::kKey1, SubsystemId::Core, &CoreHotkeySet::Key1, false},
        {HotkeySource::kKey2, SubsystemId::Core, &CoreHotkeySet::Key2, false},
        {HotkeySource::kKey3, SubsystemId::Core, &CoreHotkeySet::Key3, false},
        {HotkeySource::kUserHotkeys, SubsystemId::Agents, nullptr, false},
    }};

// The core's global hot-keys: the 17 identifiers (global atoms), the combinations and
// their registration with the system, and the dispatch of a press (WM_HOTKEY): every
// source that matches acts, in the order of kHotkeyDispatch, each through the call its
// subsystem filled in.
class CoreHotkeys {
 public:
  static constexpr std::array<std::string_view, 17> kAtomNames = {
      "PELN_FASTSTART", "PELN_REM",     "PELN_MENU",   "PELN_CDAUDIO", "PELN_VOLDOWN",
      "PELN_VOLUP",     "PELN_MMNEXT",  "PELN_MMPREV", "PELN_MMPLAY",  "PELN_MMFUNC",
      "PELN_MMSTOP",    "PELN_MMPAUSE", "PELN_NOTE",   "PELN_PWR1",    "PELN_PWR2",
      "PELN_PWR3",      "PELN_PWRT"};

  // Identifier of the first atom; the others follow in the order of kAtomNames.
  static constexpr int kFirstAtom = 0xC000;

  using PressCall = std::function<void(const THotkey& pressed)>;

  // Takes the presses of registered combinations from the Hotkeys port.
  explicit CoreHotkeys(CoreContext& ctx);
  CoreHotkeys(const CoreHotkeys&) = delete;
  CoreHotkeys& operator=(const CoreHotkeys&) = delete;

  // The combinations, as the profile load reads them.
  CoreHotkeySet& Keys() { return keys_; }
  const CoreHotkeySet& Keys() const { return keys_; }

  // Fills a source's action; only its owner, once.
  void BindPress(HotkeySource source, SubsystemId owner, PressCall call);

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
  // One identifier's combination on its own, for a source that holds it only for a
  // while (the reminder's stop key, while something rings): a Key of 0, or a
  // combination the system refuses, leaves the identifier holding nothing.
  void RegisterOne(std::string_view atom, const THotkey& hotkey);
  void UnregisterOne(std::string_view atom);

  // A press: the WM_HOTKEY lParam's low word (modifiers) and high word (key).
  void WM_HOTKEY(unsigned modifiers, int virtualKey);

 private:
  CoreContext& ctx_;
  CoreHotkeySet keys_;
  std::array<PressCall, kHotkeyDispatch.size()> presses_{};
  std::array<int, 17> atoms_{};
  // The identifier under which the system holds each atom's combination (0: none).
  std::array<int, 17> held_{};
  ports::Subscription pressesFromSystem_;
};

}  // namespace pelorin
