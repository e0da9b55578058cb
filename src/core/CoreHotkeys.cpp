#include "core/CoreHotkeys.h"

#include <algorithm>
#include <cstdint>

#include <stdexcept>
#include <string>

namespace pelorin {

namespace {

// The 15 combinations the core registers, each under its atom, in registration order.
// (PELN_REM is registered by the reminder itself while it rings; PELN_CDAUDIO registers
// nothing.)
struct RegisteredHotkey {
  std::string_view atom;
  THotkey CoreHotkeySet::*hotkey;
};

constexpr RegisteredHotkey kRegistered[] = {
    {"PELN_MENU", &CoreHotkeySet::MenuKey},       {"PELN_FASTSTART", &CoreHotkeySet::FastStart},
    {"PELN_NOTE", &CoreHotkeySet::Note},          {"PELN_VOLUP", &CoreHotkeySet::VolUpKey},
    {"PELN_VOLDOWN", &CoreHotkeySet::VolDownKey}, {"PELN_MMPREV", &CoreHotkeySet::PrevKey},
    {"PELN_MMNEXT", &CoreHotkeySet::NextKey},     {"PELN_MMPLAY", &CoreHotkeySet::PlayKey},
    {"PELN_MMSTOP", &CoreHotkeySet::StopKey},     {"PELN_MMPAUSE", &CoreHotkeySet::PauseKey},
    {"PELN_MMFUNC", &CoreHotkeySet::FuncKey},     {"PELN_PWR1", &CoreHotkeySet::Key1},
    {"PELN_PWR2", &CoreHotkeySet::Key2},          {"PELN_PWR3", &CoreHotkeySet::Key3},
    {"PELN_PWRT", &CoreHotkeySet::KeyT},
};

constexpr std::string_view kReleased[] = {
    "PELN_MENU",   "PELN_REM",    "PELN_FASTSTART", "PELN_NOTE",   "PELN_VOLUP",   "PELN_VOLDOWN",
    "PELN_MMPREV", "PELN_MMNEXT", "PELN_MMPLAY",    "PELN_MMSTOP", "PELN_MMPAUSE", "PELN_MMFUNC",
    "PELN_PWR1",   "PELN_PWR2",   "PELN_PWR3",      "PELN_PWRT"};

// The WM_HOTKEY data as a combination: the modifier word's bits Win 8, Shift 4,
// Ctrl 2, Alt 1.
THotkey PressedHotkey(unsigned modifiers, int virtualKey) {
  THotkey pressed;
  pressed.Key = static_cast<std::uint16_t>(virtualKey);
  pressed.Win = (modifiers & 8u) != 0 ? 1 : 0;
  pressed.Shift = (modifiers & 4u) != 0 ? 1 : 0;
  pressed.Ctrl = (modifiers & 2u) != 0 ? 1 : 0;
  pressed.Alt = (modifiers & 1u) != 0 ? 1 : 0;
  return pressed;
}

// The position of a name in kAtomNames; only called with names of that list.
std::size_t IndexOf(std::string_view atom) {
  return static_cast<std::size_t>(
      std::find(CoreHotkeys::kAtomNames.begin(), CoreHotkeys::kAtomNames.end(), atom) -
      CoreHotkeys::kAtomNames.begin());
}

}  // namespace

CoreHotkeys::CoreHotkeys(CoreContext& ctx)
    : ctx_(ctx),
      pressesFromSystem_(ctx.hotkeyPresses.Subscribe(
          [this](int, unsigned modifiers, int virtualKey) { WM_HOTKEY(modifiers, virtualKey); })) {
  SuiteSteps& steps = ctx_.steps;
  steps.loadProfile.Bind(LoadStep::kUnregisterHotkeys, SubsystemId::Core,
                         [this] { UnregisterHotkeys(); });
  steps.loadProfile.Bind(LoadStep::kRegisterHotkeys, SubsystemId::Core,
                         [this] { RegisterHotkeys(); });
  steps.prepareShutdown.Bind(ShutdownStep::kDeleteAtoms, SubsystemId::Core,
                             [this] { DeleteAtoms(); });
  steps.refusedClose.Bind(RefusedCloseStep::kDeleteAtoms, SubsystemId::Core,
                          [this] { DeleteAtoms(); });
  steps.leaveProfile.Bind(LeaveProfileStep::kUnregisterHotkeys, SubsystemId::Core,
                          [this] { UnregisterHotkeys(); });
  steps.suspend.Bind(SuspendStep::kUnregisterHotkeys, SubsystemId::Core,
                     [this] { UnregisterHotkeys(); });
  steps.resume.Bind(ResumeStep::kRegisterHotkeys, SubsystemId::Core, [this] { RegisterHotkeys(); });
}

void CoreHotkeys::BindPress(HotkeySource source, SubsystemId owner, PressCall call) {
  const std::size_t index = static_cast<std::size_t>(source);
  if (kHotkeyDispatch[index].owner != owner || presses_[index]) {
    throw std::logic_error("hot-key source " + std::to_string(index) + " filled by " +
                           std::string(SubsystemName(owner)));
  }
  presses_[index] = std::move(call);
}

void CoreHotkeys::AddAtoms() {
  for (std::size_t i = 0; i < atoms_.size(); ++i)
    atoms_[i] = kFirstAtom + static_cast<int>(i);
}

void CoreHotkeys::DeleteAtoms() {
  atoms_.fill(0);
}

int CoreHotkeys::AtomId(std::string_view name) const {
  const auto found = std::find(kAtomNames.begin(), kAtomNames.end(), name);
  if (found == kAtomNames.end()) return 0;
  return atoms_[static_cast<std::size_t>(found - kAtomNames.begin())];
}

void CoreHotkeys::RegisterHotkeys() {
  const bool atomsDeleted = atoms_[0] == 0;  // all exist or none does
  if (atomsDeleted && !ctx_.lifetime.ClosingAllowed) AddAtoms();
  for (const RegisteredHotkey& row : kRegistered)
    RegisterOne(row.atom, keys_.*row.hotkey);
}

void CoreHotkeys::RegisterOne(std::string_view atom, const THotkey& hotkey) {
  const int id = AtomId(atom);
  if (id == 0) return;  // no atoms (shutdown has begun)
  ports::Hotkeys& system = ctx_.ports.hotkeys;
  int& held = held_[IndexOf(atom)];
  // A combination the system refuses (another program holds it, or the key has no
  // equivalent here) is left out without a message, and only the log says so; the
  // identifier then holds nothing.
  if (hotkey.Key != 0 && system.Register(id, HotkeyModifiers(hotkey), hotkey.Key)) {
    held = id;
    return;
  }
  if (hotkey.Key != 0) {
    ctx_.ports.log.Write(
        "hotkeys", "the system refused " + std::string(atom) + " (" + HotkeyText(hotkey) + ")");
  }
  system.Unregister(id);
  held = 0;
}

void CoreHotkeys::UnregisterOne(std::string_view atom) {
  int& held = held_[IndexOf(atom)];
  const int id = held != 0 ? held : AtomId(atom);
  if (id != 0) ctx_.ports.hotkeys.Unregister(id);
  held = 0;
}

void CoreHotkeys::UnregisterHotkeys() {
  for (std::string_view atom : kReleased)
    UnregisterOne(atom);
}

void CoreHotkeys::WM_HOTKEY(unsigned modifiers, int virtualKey) {
  if (ctx_.lifetime.Ended()) return;
  if (virtualKey <= 0 || virtualKey > 0xFFFF) return;
  const THotkey pressed = PressedHotkey(modifiers, virtualKey);
  // Every source that matches acts, in this order.
  for (const HotkeyDispatchRow& row : kHotkeyDispatch) {
    const PressCall& call = presses_[static_cast<std::size_t>(row.source)];
    if (!call) continue;
    if (row.hotkey != nullptr && !SameHotkey(pressed, keys_.*row.hotkey)) continue;
    if (row.ignoredWhileLocked && ctx_.values.Locked) continue;
    call(pressed);
    if (ctx_.lifetime.Ended()) return;
  }
}

}  // namespace pelorin
