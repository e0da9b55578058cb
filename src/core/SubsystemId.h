#pragma once

#include <string_view>

namespace pelorin {

// The parts of the suite that own rows of the core's step tables, menu items,
// hot-keys and password actions: the core itself and the applet subsystems.
enum class SubsystemId { Core, Organizer, Books, Alarms, Agents, Multimedia, Launcher, Prefs };

constexpr std::string_view SubsystemName(SubsystemId id) {
  switch (id) {
    case SubsystemId::Core:
      return "core";
    case SubsystemId::Organizer:
      return "organizer";
    case SubsystemId::Books:
      return "books";
    case SubsystemId::Alarms:
      return "alarms";
    case SubsystemId::Agents:
      return "agents";
    case SubsystemId::Multimedia:
      return "multimedia";
    case SubsystemId::Launcher:
      return "launcher";
    case SubsystemId::Prefs:
      return "prefs";
  }
  return "?";
}

}  // namespace pelorin
