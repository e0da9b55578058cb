#include "core/PasswordActions.h"

#include <stdexcept>
#include <string>

namespace pelorin {

const PasswordActionRow* PasswordActions::Row(PasswordAction action) {
  for (const PasswordActionRow& row : kPasswordActions) {
    if (row.action == action) return &row;
  }
  return nullptr;
}

void PasswordActions::Bind(PasswordAction action, SubsystemId owner, PasswordOutcome outcome) {
  const PasswordActionRow* row = Row(action);
  if (row == nullptr || row->owner != owner || bound_[action]) {
    throw std::logic_error("password action " + std::to_string(action) + " bound by " +
                           std::string(SubsystemName(owner)));
  }
  bound_[action] = true;
  outcomes_[action] = std::move(outcome);
}

const PasswordOutcome& PasswordActions::Outcome(PasswordAction action) const {
  static const PasswordOutcome kDropped;
  if (Row(action) == nullptr) return kDropped;
  return outcomes_[action];
}

}  // namespace pelorin
