#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "core/SubsystemId.h"

namespace pelorin {

class SuiteLifetime;
struct SharedValues;
struct SuiteHooks;

// What the main menu's items do. Each item belongs to one subsystem, which fills its
// click; an item nobody filled belongs to a part of the suite that does not exist in
// this build and stays hidden. The entries of the Programs and Profiles submenus go to
// one handler each, with their position in the submenu (counted from 0).
class CommandRegistry {
 public:
  enum class Entries { Programs, Profiles };

  CommandRegistry(const SuiteLifetime& lifetime, const SharedValues& values,
                  const SuiteHooks& hooks);

  // The subsystem an item belongs to (SubsystemId::Core for ids the menu does not have).
  static SubsystemId OwnerOf(std::string_view itemId);

  void Bind(std::string_view itemId, SubsystemId owner, std::function<void()> click);
  void BindEntries(Entries which, SubsystemId owner, std::function<void(int position)> click);

  // Whether the part behind an item exists: its click is filled (a submenu exists with
  // its first item: "Programs...", "Power off", the profile entries).
  bool Exists(std::string_view itemId) const;

  // Whether clicks are taken now: not after the end, and not before a profile has been
  // loaded (its passwords are not known until then).
  bool Answering() const;
  void Click(std::string_view itemId) const;
  void EntryClick(Entries which, int position) const;

 private:
  const SuiteLifetime& lifetime_;
  const SharedValues& values_;
  const SuiteHooks& hooks_;
  std::map<std::string, std::function<void()>, std::less<>> clicks_;
  std::function<void(int)> programs_;
  std::function<void(int)> profiles_;
};

}  // namespace pelorin
