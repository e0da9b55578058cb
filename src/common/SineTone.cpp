#include "common/SineTone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pelorin {
namespace {

constexpr double kFadeMs = 5.0;

}  // namespace

std::vector<std::int16_t> SineTone(int frequencyHz, int durationMs, int sampleRate,
                                   double amplitude) {
  if (durationMs <= 0 || sampleRate <= 0) return {};
  const auto count = static_cast<std::size_t>(std::int64_t{durationMs} * sampleRate / 1000);
  // Short tones fade over a quarter of their length each way, so some of them stays whole.
  const double fade = std::max(1.0, std::min(kFadeMs, durationMs / 4.0) * sampleRate / 1000.0);
  const double peak = std::clamp(amplitude, 0.0, 1.0) * 32767.0;
  const double step = 2.0 * std::numbers::pi * frequencyHz / sampleRate;
  std::vector<std::int16_t> samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double fromEdge = static_cast<double>(std::min(i, count - 1 - i));
    // A raised-cosine ramp: its slope is zero where the tone starts and ends.
    const double envelope =
        fromEdge >= fade ? 1.0 : 0.5 - 0.5 * std::cos(std::numbers::pi * fromEdge / fade);
    samples[i] = static_cast<std::int16_t>(std::lround(peak * envelope * std::sin(step * i)));
  }
  return samples;
}

}  // namespace pelorin
