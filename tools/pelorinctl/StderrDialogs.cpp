#include "StderrDialogs.h"

#include <iostream>

namespace pelorin::ctl {

ports::DialogAnswer StderrDialogs::Show(const ports::MessageRequest& request) {
  std::cerr << request.caption << ": " << request.text << "\n";
  switch (request.buttons) {
    case ports::DialogButtons::Ok:
      return ports::DialogAnswer::Ok;
    case ports::DialogButtons::OkCancel:
      return ports::DialogAnswer::Cancel;
    default:
      return ports::DialogAnswer::No;
  }
}

}  // namespace pelorin::ctl
