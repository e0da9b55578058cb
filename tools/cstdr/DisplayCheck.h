#pragma once

#include <string_view>

namespace pelorin::cstdr {

// Whether the X display named by a DISPLAY value still answers. A local display (":n",
// ":n.s", "unix:n") answers when its server accepts a connection on
// /tmp/.X11-unix/X<n> or on the abstract socket of that name, as Xlib and xcb connect.
// A display on another host, or a value that names no display number, cannot be judged
// without the network and counts as answering. A plain socket connection is used rather
// than xcb so that the watchdog needs no X library.
bool DisplayAnswers(std::string_view display);

}  // namespace pelorin::cstdr
