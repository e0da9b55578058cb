#include "app/LoggedSimServices.h"

#include <iostream>
#include <string>
#include <utility>

namespace pelorin::app {

bool LoggedSimShell::Open(const std::string& file, const std::string& parameters,
                          const std::string& directory, ports::ShowMode mode) {
  std::cerr << "pelorin (sim): open \"" << file << "\" parameters \"" << parameters << "\" in \""
            << directory << "\"\n";
  return SimShell::Open(file, parameters, directory, mode);
}

bool LoggedSimDesktop::WriteAutostart() {
  std::cerr << "pelorin (sim): autostart entry written\n";
  return SimDesktop::WriteAutostart();
}

bool LoggedSimDesktop::SetPriority(ports::ProcessPriority wanted) {
  static const char* const kNames[] = {"idle", "normal", "high"};
  std::cerr << "pelorin (sim): process priority " << kNames[static_cast<int>(wanted)] << "\n";
  return SimDesktop::SetPriority(wanted);
}

void LoggedSimPower::Perform(ports::PowerCall call, ports::PowerReply reply) {
  static const char* const kNames[] = {"power off", "reboot", "log off", "suspend", "hibernate"};
  std::cerr << "pelorin (sim): " << kNames[static_cast<int>(call)] << "\n";
  SimPower::Perform(call, std::move(reply));
}

std::string SoundEventLine(const sim::SoundEvent& event) {
  using Kind = sim::SoundEvent::Kind;
  std::string line = "pelorin (sim): sound ";
  switch (event.kind) {
    case Kind::Play:
      line += event.player + " play \"" + event.file + "\" " +
              (event.repeat == ports::Repeat::Loop ? "loop" : "once");
      if (!event.sounded) line += ": nothing to play";
      break;
    case Kind::Stop:
      line += event.player + " stop";
      break;
    case Kind::Tone:
      line += "tone " + std::to_string(event.frequencyHz) + " Hz " +
              std::to_string(event.durationMs) + " ms";
      break;
  }
  return line;
}

LoggedSimSound::LoggedSimSound(const ports::Clock& clock) : SimSound(clock) {
  SetOnEvent([](const sim::SoundEvent& event) { std::cerr << SoundEventLine(event) << "\n"; });
}

}  // namespace pelorin::app
