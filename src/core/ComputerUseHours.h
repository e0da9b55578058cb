#pragma once

#include <string>

namespace pelorin {

// The PC agent's window of allowed computer-use hours (wimpcax2.hf POWER: from H1:M1
// to H2:M2, as the agent's four boxes hold them) and the power function that runs
// when nobody gives the password outside it (FuncS).
struct ComputerUseHours {
  std::string H1 = "00", M1 = "00", H2 = "23", M2 = "59";
  int FuncS = 0;

  // Whether the local time hour:minute lies inside the window. A box that does not
  // hold digits only counts as 0, 0, 23 and 59 respectively.
  bool Allows(int hour, int minute) const;
};

}  // namespace pelorin
