#pragma once

#include <functional>
#include <map>
#include <set>
#include <utility>

#include "ports/Hotkeys.h"

namespace pelorin::sim {

// Records registrations; tests press combinations. A combination that "another
// program" holds is refused, as the system refuses it.
class SimHotkeys : public ports::Hotkeys {
 public:
  struct Combination {
    unsigned modifiers;
    int virtualKey;
    friend auto operator<=>(const Combination&, const Combination&) = default;
  };

  bool Register(int id, unsigned modifiers, int virtualKey) override;
  void Unregister(int id) override { registered_.erase(id); }
  void SetOnHotkey(std::function<void(int, unsigned, int)> handler) override {
    handler_ = std::move(handler);
  }

  // Presses a combination: every identifier registered for it is reported.
  void Press(unsigned modifiers, int virtualKey);
  void HoldElsewhere(unsigned modifiers, int virtualKey) {
    heldElsewhere_.insert({modifiers, virtualKey});
  }
  const std::map<int, Combination>& Registered() const { return registered_; }

 private:
  std::map<int, Combination> registered_;
  std::set<Combination> heldElsewhere_;
  std::function<void(int, unsigned, int)> handler_;
};

}  // namespace pelorin::sim
