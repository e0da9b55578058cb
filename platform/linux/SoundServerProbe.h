#pragma once

#include <chrono>

namespace pelorin::lnx {

// What listens on the sockets of the desktop's sound server (PulseAudio, or PipeWire
// with its PulseAudio service): PULSE_SERVER's local sockets when it names any, else
// $XDG_RUNTIME_DIR/pulse/native; and PipeWire's own $XDG_RUNTIME_DIR/pipewire-0.
enum class SoundServerState {
  kAbsent,     // no server listens
  kListening,  // a server takes connections
  kStuck,      // a server listens but takes no more connections: it is frozen, and its
               // queue is full of clients waiting for it
};

// Tries a connection to each socket without waiting and closes it at once. ALSA's
// PulseAudio plug-in fails at once on a stuck server, as if there were none; this tells
// the two apart.
SoundServerState ProbeSoundServer();

// Whether a listening server also answers within `wait`: a frozen server with room in
// its queue takes a connection and then says nothing. The probe sends a frame that no
// server takes, and a live one answers it at once by closing the connection (the server
// may log a protocol warning, so this is for a rare check, not every sound).
bool SoundServerAnswers(std::chrono::milliseconds wait);

}  // namespace pelorin::lnx
