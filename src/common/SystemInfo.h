#pragma once

#include <string>

namespace pelorin {

// The operating system's version as the suite's rules see it.
struct WindowsVersionInfo {
  int majorVersion = 0;
  int minorVersion = 0;
  int buildNumber = 0;
  std::string servicePack;  // at most 128 characters
  std::string family;       // "9X" for the consumer line, "NT" otherwise
};

// Fills `version`; false when the system cannot tell. The suite's rules for the NT
// family (power and session handling) are the ones that apply on Linux, so it
// reports the NT family, version 5.1, build 2600, without a service pack.
bool WindowsVersion(WindowsVersionInfo& version);

}  // namespace pelorin
