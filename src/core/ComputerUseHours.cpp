#include "core/ComputerUseHours.h"

#include <charconv>

#include "common/Text.h"

namespace pelorin {

namespace {

int BoxValue(const std::string& box, int otherwise) {
  if (box.empty() || !IsDigits(box)) return otherwise;
  int value = otherwise;
  const auto [end, error] = std::from_chars(box.data(), box.data() + box.size(), value);
  // Digits too many for a number are no time either.
  return error == std::errc() && end == box.data() + box.size() ? value : otherwise;
}

}  // namespace

bool ComputerUseHours::Allows(int hour, int minute) const {
  const int h1 = BoxValue(H1, 0);
  const int m1 = BoxValue(M1, 0);
  const int h2 = BoxValue(H2, 23);
  const int m2 = BoxValue(M2, 59);
  if (hour < h1 || (hour == h1 && minute < m1)) return false;
  if (hour > h2 || (hour == h2 && minute > m2)) return false;
  return true;
}

}  // namespace pelorin
