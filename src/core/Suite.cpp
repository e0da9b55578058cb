#include "core/Suite.h"

namespace pelorin {

Suite::Suite(CorePorts ports, MainView& view, const std::filesystem::path& home)
    : ctx_(ports, view, home),
      main_(ctx_),
      pass_(ctx_),
      loader_(ctx_),
      menu_(ctx_),
      commands_(ctx_),
      hotkeys_(ctx_),
      timers_(ctx_),
      winamp_(ctx_),
      links_(ctx_),
      stripMouse_(ctx_),
      lock_(ctx_),
      strip_(ctx_),
      power_(ctx_),
      selector_(ctx_),
      profileEditor_(ctx_) {
  ctx_.main = &main_;
  ctx_.pass = &pass_;
  ctx_.loader = &loader_;
  ctx_.menu = &menu_;
  ctx_.commands = &commands_;
  ctx_.hotkeys = &hotkeys_;
  ctx_.timers = &timers_;
  ctx_.winamp = &winamp_;
  ctx_.links = &links_;
  ctx_.lock = &lock_;
  ctx_.strip = &strip_;
  ctx_.power = &power_;
  ctx_.selector = &selector_;
  ctx_.profileEditor = &profileEditor_;
  // The system's sleep reaches the suite from here on.
  power_.Attach();
}

}  // namespace pelorin
