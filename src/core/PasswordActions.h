#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "core/SubsystemId.h"

namespace pelorin {

// The pending actions of the password protocol, by code: who asks for each, and the
// dialog's text.
enum PasswordAction {
  kNoPasswordAction = 0,
  kHiddenCdAgentAction = 1,
  kDiscPasswordAction = 2,
  kPreferencesPageAction = 3,
  kUnlockAction = 4,
  kPreferencesAction = 5,
  kHiddenPcAgentAction = 6,
  kProfileChangeAction = 7,
  kDayBookAction = 8,
  kExitAction = 9,
  kComputerUseAction = 10,
};

struct PasswordActionRow {
  PasswordAction action;
  SubsystemId owner;
  std::string_view text;
};

inline constexpr std::array<PasswordActionRow, 10> kPasswordActions = {{
    {kHiddenCdAgentAction, SubsystemId::Agents, "Enter password to show Hidden Agent."},
    {kDiscPasswordAction, SubsystemId::Agents, "Enter password to unlock this CD."},
    {kPreferencesPageAction, SubsystemId::Prefs, "Enter password to access to these preferences."},
    {kUnlockAction, SubsystemId::Core, "Enter password to unlock Pelorin."},
    {kPreferencesAction, SubsystemId::Prefs, "Enter password to open preferences window."},
    {kHiddenPcAgentAction, SubsystemId::Agents, "Enter password to show Hidden Agent."},
    {kProfileChangeAction, SubsystemId::Core, "Enter password for selected profile."},
    {kDayBookAction, SubsystemId::Books, "Enter password to open daybook."},
    {kExitAction, SubsystemId::Core, "Enter password to close Pelorin."},
    {kComputerUseAction, SubsystemId::Core, "Enter password for continuing work in Windows"},
}};

// What each pending action does when its password was given (`accepted`), when the
// request was cancelled or timed out (`cancelled`, after the request is over), and when
// the Cancel button itself is pressed (`cancelButton`, before the dialog closes). An
// action nobody filled is dropped whatever the outcome.
struct PasswordOutcome {
  std::function<void()> accepted = {};
  std::function<void()> cancelled = {};
  std::function<void()> cancelButton = {};
};

class PasswordActions {
 public:
  // Only the action's owner fills it, once.
  void Bind(PasswordAction action, SubsystemId owner, PasswordOutcome outcome);
  const PasswordOutcome& Outcome(PasswordAction action) const;
  static const PasswordActionRow* Row(PasswordAction action);

 private:
  std::array<PasswordOutcome, kPasswordActions.size() + 1> outcomes_{};
  std::array<bool, kPasswordActions.size() + 1> bound_{};
};

// What a part of the suite needs of the password dialog: a request names its action,
// the expected password (empty: none), a time-out (0: never) and whether Cancel may be
// pressed; the action's outcome runs when the dialog is answered.
class PasswordGate {
 public:
  virtual ~PasswordGate() = default;
  // Whether a request for `action` would be taken now.
  virtual bool Accepts(PasswordAction action) const = 0;
  // False when refused: nothing was shown and nothing is pending for it.
  virtual bool Request(PasswordAction action, const std::string& expectedPassword, int timeoutMs,
                       bool cancelEnabled) = 0;
  virtual PasswordAction Pending() const = 0;
};

}  // namespace pelorin
