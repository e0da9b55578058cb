#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "ports/Hotkeys.h"
#include "ports/Log.h"

struct xcb_connection_t;

namespace pelorin::lnx {

// System-wide key combinations on an X11 desktop: every registered combination is a
// passive key grab on the root window, taken once as it is and once with each of the
// lock modifiers (CapsLock, NumLock, both) so that the combination works whatever
// lock is on. Presses reach the application's X connection and are picked out by a
// native event filter. Outside an X11 session (e.g. the offscreen platform) nothing
// can be registered and Register answers false.
//
// The virtual key is turned into the keycodes that carry its keysym in the keyboard
// map current at registration time. A combination the X server refuses, or a key this
// keyboard map cannot type, is one line of the log (source "hotkeys"): the key, the
// modifiers and the X error.
class LinuxHotkeys : public ports::Hotkeys, public QAbstractNativeEventFilter {
 public:
  explicit LinuxHotkeys(ports::Log& log) : log_(log) {}
  ~LinuxHotkeys() override;
  LinuxHotkeys(const LinuxHotkeys&) = delete;
  LinuxHotkeys& operator=(const LinuxHotkeys&) = delete;

  // False, quietly, without an X11 connection, for a key with no keysym or keycode, for a
  // combination that another of our identifiers holds, and when the X server refuses any
  // of the grabs (another client holds the combination); the grabs already taken for the
  // refused combination are released and what `id` had before stays in force.
  bool Register(int id, unsigned modifiers, int virtualKey) override;
  void Unregister(int id) override;
  void SetOnHotkey(
      std::function<void(int id, unsigned modifiers, int virtualKey)> handler) override;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  // One passive grab on the server: a keycode with the exact modifier bits.
  struct Grab {
    std::uint8_t keycode = 0;
    std::uint16_t modifiers = 0;
    friend bool operator==(const Grab&, const Grab&) = default;
  };
  struct Registration {
    unsigned modifiers = 0;  // the Windows mask: Alt 1, Ctrl 2, Shift 4, Win 8
    int virtualKey = 0;
    std::uint16_t xModifiers = 0;  // the same modifiers as X modifier bits
    std::vector<std::uint8_t> keycodes;
    std::vector<Grab> grabs;  // every keycode with and without the lock modifiers
  };

  static xcb_connection_t* Connection();
  // Releases the grabs that are not also in `keep`.
  static void Ungrab(xcb_connection_t* connection, const std::vector<Grab>& grabs,
                     const std::vector<Grab>& keep = {});
  void InstallFilter();

  ports::Log& log_;
  std::map<int, Registration> registered_;
  std::function<void(int, unsigned, int)> handler_;
  bool filterInstalled_ = false;
};

}  // namespace pelorin::lnx
