#include "linux/LinuxHotkeys.h"

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <QtGui/qguiapplication_platform.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "linux/VirtualKeyMap.h"

namespace pelorin::lnx {
namespace {

// The modifiers a combination is told by; the lock bits (CapsLock, NumLock) and the
// pointer button bits of a key event are left out when presses are matched.
constexpr std::uint16_t kCombinationBits =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

struct KeySymbolsDeleter {
  void operator()(xcb_key_symbols_t* symbols) const { xcb_key_symbols_free(symbols); }
};
using KeySymbols = std::unique_ptr<xcb_key_symbols_t, KeySymbolsDeleter>;

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

std::uint16_t XModifiers(unsigned windowsModifiers) {
  std::uint16_t bits = 0;
  if (windowsModifiers & 1) bits |= XCB_MOD_MASK_1;  // Alt
  if (windowsModifiers & 2) bits |= XCB_MOD_MASK_CONTROL;
  if (windowsModifiers & 4) bits |= XCB_MOD_MASK_SHIFT;
  if (windowsModifiers & 8) bits |= XCB_MOD_MASK_4;  // the Windows ("Super") key
  return bits;
}

// Every keycode that carries the keysym in the current keyboard map, each once.
std::vector<std::uint8_t> KeycodesOf(xcb_key_symbols_t* symbols, xcb_keysym_t keysym) {
  std::vector<std::uint8_t> keycodes;
  std::unique_ptr<xcb_keycode_t, FreeDeleter> list(xcb_key_symbols_get_keycode(symbols, keysym));
  if (!list) return keycodes;
  for (const xcb_keycode_t* k = list.get(); *k != XCB_NO_SYMBOL; ++k) {
    if (std::find(keycodes.begin(), keycodes.end(), *k) == keycodes.end()) keycodes.push_back(*k);
  }
  return keycodes;
}

// The modifier bit that NumLock sets: the modifier whose keys include a Num_Lock key;
// Mod2, the usual one, when the map does not say.
std::uint16_t NumLockMask(xcb_connection_t* connection, xcb_key_symbols_t* symbols) {
  const std::vector<std::uint8_t> numLockKeys = KeycodesOf(symbols, XK_Num_Lock);
  std::unique_ptr<xcb_get_modifier_mapping_reply_t, FreeDeleter> reply(
      xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
  if (!reply || numLockKeys.empty()) return XCB_MOD_MASK_2;
  const xcb_keycode_t* map = xcb_get_modifier_mapping_keycodes(reply.get());
  const int perModifier = reply->keycodes_per_modifier;
  for (int modifier = 0; modifier < 8; ++modifier) {
    for (int i = 0; i < perModifier; ++i) {
      const xcb_keycode_t k = map[modifier * perModifier + i];
      if (k != 0 && std::find(numLockKeys.begin(), numLockKeys.end(), k) != numLockKeys.end()) {
        return static_cast<std::uint16_t>(1u << modifier);
      }
    }
  }
  return XCB_MOD_MASK_2;
}

xcb_window_t RootWindow(xcb_connection_t* connection) {
  return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// "virtual key 0x70 (keysym 0xffbe) with Ctrl+Alt": how the log names a combination.
std::string CombinationText(int virtualKey, xcb_keysym_t keysym, unsigned windowsModifiers) {
  std::string text = "virtual key " + Hex(static_cast<unsigned>(virtualKey));
  if (keysym != 0) text += " (keysym " + Hex(keysym) + ")";
  std::string modifiers;
  const std::pair<unsigned, const char*> names[] = {
      {2, "Ctrl"}, {1, "Alt"}, {4, "Shift"}, {8, "Super"}};
  for (const auto& [bit, name] : names) {
    if ((windowsModifiers & bit) == 0) continue;
    modifiers += (modifiers.empty() ? "" : "+") + std::string(name);
  }
  return text + (modifiers.empty() ? " without modifiers" : " with " + modifiers);
}

// "BadAccess (10)": the X errors a passive grab may come back with.
std::string XErrorText(std::uint8_t code) {
  const char* name = code == XCB_ACCESS   ? "BadAccess"
                     : code == XCB_VALUE  ? "BadValue"
                     : code == XCB_WINDOW ? "BadWindow"
                                          : "X error";
  return std::string(name) + " (" + std::to_string(code) + ")";
}

bool Overlaps(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  return std::any_of(a.begin(), a.end(),
                     [&](std::uint8_t k) { return std::find(b.begin(), b.end(), k) != b.end(); });
}

}  // namespace

LinuxHotkeys::~LinuxHotkeys() {
  if (xcb_connection_t* connection = Connection()) {
    for (const auto& [id, registration] : registered_)
      Ungrab(connection, registration.grabs);
    xcb_flush(connection);
  }
  if (filterInstalled_ && QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }
}

xcb_connection_t* LinuxHotkeys::Connection() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (app == nullptr) return nullptr;
  auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

void LinuxHotkeys::Ungrab(xcb_connection_t* connection, const std::vector<Grab>& grabs,
                          const std::vector<Grab>& keep) {
  const xcb_window_t root = RootWindow(connection);
  for (const Grab& grab : grabs) {
    if (std::find(keep.begin(), keep.end(), grab) != keep.end()) continue;
    xcb_ungrab_key(connection, grab.keycode, root, grab.modifiers);
  }
}

bool LinuxHotkeys::Register(int id, unsigned modifiers, int virtualKey) {
  xcb_connection_t* connection = Connection();
  if (connection == nullptr || virtualKey <= 0) return false;
  const xcb_keysym_t keysym = KeysymForVirtualKey(virtualKey);
  if (keysym == 0) {
    log_.Write("hotkeys", "no X key stands for " + CombinationText(virtualKey, 0, modifiers));
    return false;
  }
  const KeySymbols symbols(xcb_key_symbols_alloc(connection));
  if (!symbols) return false;

  Registration wanted;
  wanted.modifiers = modifiers;
  wanted.virtualKey = virtualKey;
  wanted.xModifiers = XModifiers(modifiers);
  wanted.keycodes = KeycodesOf(symbols.get(), keysym);
  if (wanted.keycodes.empty()) {
    log_.Write("hotkeys",
               "the keyboard map has no key for " + CombinationText(virtualKey, keysym, modifiers));
    return false;
  }
  // X lets a client grab a combination twice; the system we stand in for refuses a
  // combination that another identifier of ours holds already.
  for (const auto& [otherId, other] : registered_) {
    if (otherId != id && other.xModifiers == wanted.xModifiers &&
        Overlaps(other.keycodes, wanted.keycodes)) {
      return false;
    }
  }

  const std::uint16_t numLock = NumLockMask(connection, symbols.get());
  std::vector<std::uint16_t> variants = {0, XCB_MOD_MASK_LOCK};
  if (numLock != XCB_MOD_MASK_LOCK && (numLock & wanted.xModifiers) == 0) {
    variants.push_back(numLock);
    variants.push_back(static_cast<std::uint16_t>(numLock | XCB_MOD_MASK_LOCK));
  }
  const xcb_window_t root = RootWindow(connection);
  std::vector<std::pair<Grab, xcb_void_cookie_t>> requests;
  for (const std::uint8_t keycode : wanted.keycodes) {
    for (const std::uint16_t variant : variants) {
      const Grab grab{keycode, static_cast<std::uint16_t>(wanted.xModifiers | variant)};
      requests.emplace_back(grab, xcb_grab_key_checked(connection, 0, root, grab.modifiers, keycode,
                                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
  }
  // A grab that another client holds comes back as BadAccess.
  std::optional<std::uint8_t> refusal;  // the first X error
  for (const auto& [grab, cookie] : requests) {
    std::unique_ptr<xcb_generic_error_t, FreeDeleter> error(xcb_request_check(connection, cookie));
    if (error) {
      if (!refusal) refusal = error->error_code;
    } else {
      wanted.grabs.push_back(grab);
    }
  }

  const auto previous = registered_.find(id);
  const std::vector<Grab> held =
      previous != registered_.end() ? previous->second.grabs : std::vector<Grab>{};
  if (refusal) {
    log_.Write("hotkeys", "the X server refused the grab of " +
                              CombinationText(virtualKey, keysym, modifiers) + ": " +
                              XErrorText(*refusal));
    // Let go of what this attempt took, but not what `id` held before it.
    Ungrab(connection, wanted.grabs, held);
    xcb_flush(connection);
    return false;
  }
  Ungrab(connection, held, wanted.grabs);
  xcb_flush(connection);
  registered_[id] = std::move(wanted);
  InstallFilter();
  return true;
}

void LinuxHotkeys::Unregister(int id) {
  const auto found = registered_.find(id);
  if (found == registered_.end()) return;
  if (xcb_connection_t* connection = Connection()) {
    Ungrab(connection, found->second.grabs);
    xcb_flush(connection);
  }
  registered_.erase(found);
}

void LinuxHotkeys::SetOnHotkey(std::function<void(int, unsigned, int)> handler) {
  handler_ = std::move(handler);
}

void LinuxHotkeys::InstallFilter() {
  if (filterInstalled_) return;
  QCoreApplication::instance()->installNativeEventFilter(this);
  filterInstalled_ = true;
}

bool LinuxHotkeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t" || message == nullptr) return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_KEY_PRESS) return false;
  const auto* press = static_cast<const xcb_key_press_event_t*>(message);
  const std::uint16_t pressed = press->state & kCombinationBits;

  // Copies, because the handler may register or unregister combinations.
  std::vector<std::tuple<int, unsigned, int>> calls;
  for (const auto& [id, registration] : registered_) {
    if (registration.xModifiers == pressed &&
        std::find(registration.keycodes.begin(), registration.keycodes.end(), press->detail) !=
            registration.keycodes.end()) {
      calls.emplace_back(id, registration.modifiers, registration.virtualKey);
    }
  }
  if (calls.empty()) return false;
  for (const auto& [id, modifiers, virtualKey] : calls) {
    if (handler_) handler_(id, modifiers, virtualKey);
  }
  return true;
}

}  // namespace pelorin::lnx
