#include "common/SystemInfo.h"

namespace pelorin {

bool WindowsVersion(WindowsVersionInfo& version) {
  version.majorVersion = 5;
  version.minorVersion = 1;
  version.buildNumber = 2600;
  version.servicePack.clear();
  version.family = "NT";
  return true;
}

}  // namespace pelorin
