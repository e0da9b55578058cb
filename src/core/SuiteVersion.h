#pragma once

namespace pelorin {

// The suite's version as the user sees it: on the splash picture and in --version.
inline constexpr const char* kSuiteVersion = "1.0 R4";

}  // namespace pelorin
