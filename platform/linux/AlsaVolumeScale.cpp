#include "linux/AlsaVolumeScale.h"

#include <algorithm>

namespace pelorin::lnx {
namespace {

constexpr long long kTop = 65535;

}  // namespace

int ToChannelValue(long raw, long min, long max) {
  if (max <= min) return 0;
  const long long range = static_cast<long long>(max) - min;
  const long long offset = std::clamp(raw, min, max) - static_cast<long long>(min);
  return static_cast<int>((offset * kTop * 2 + range) / (range * 2));
}

long ToRawVolume(int value, long present, long min, long max) {
  if (max <= min) return min;
  const long long range = static_cast<long long>(max) - min;
  const long long wanted = std::clamp<long long>(value, 0, kTop);
  const long nearest = static_cast<long>(min + (wanted * range * 2 + kTop) / (kTop * 2));
  if (nearest != present || present < min || present > max) return nearest;
  const int presentValue = ToChannelValue(present, min, max);
  if (wanted > presentValue && present < max) return present + 1;
  if (wanted < presentValue && present > min) return present - 1;
  return present;
}

}  // namespace pelorin::lnx
