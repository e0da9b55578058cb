#include "BellSounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

namespace pelorin::soundgen {
namespace {

// One partial of a bell: its frequency as a multiple of the strike's, its loudness, and
// how much faster than the fundamental it dies away.
struct Partial {
  double ratio;
  double amplitude;
  double decay;
};

// A bell struck at `atSeconds` with the fundamental `hz`.
struct Strike {
  double atSeconds;
  double hz;
};

// A small bright bell: the inharmonic modes of a struck bar over a strong octave, the
// high ones short-lived.
constexpr Partial kBrightBell[] = {
    {1.0, 1.0, 1.0}, {2.0, 0.55, 1.5}, {2.76, 0.35, 2.2}, {5.40, 0.14, 3.5}, {8.93, 0.05, 5.0}};
// A soft round bell: a hum an octave below, and few, quiet overtones.
constexpr Partial kSoftBell[] = {
    {0.5, 0.22, 0.6}, {1.0, 1.0, 1.0}, {2.0, 0.3, 1.8}, {3.0, 0.1, 2.6}, {4.2, 0.04, 3.5}};

// Partials above this would fold back below the rate's limit as off-key tones.
constexpr double kHighestHz = 0.45 * kSampleRate;
constexpr double kAttackSeconds = 0.003;  // a strike rises this fast: sharp, yet no click

// Adds the strikes' sound into `out`. With `wrap`, what rings past the end goes on from
// the start, as it would when the sound is looped.
void Ring(std::span<double> out, std::span<const Strike> strikes, std::span<const Partial> bell,
          double decaySeconds, bool wrap) {
  const std::size_t size = out.size();
  // Ringing is followed until it has died to below a thousandth.
  const auto ringSamples = static_cast<std::size_t>(7.0 * decaySeconds * kSampleRate);
  for (const Strike& strike : strikes) {
    const auto start = static_cast<std::size_t>(strike.atSeconds * kSampleRate);
    const std::size_t length = wrap ? std::min(ringSamples, size) : ringSamples;
    for (std::size_t i = 0; i < length; ++i) {
      std::size_t at = start + i;
      if (at >= size) {
        if (!wrap) break;
        at -= size;
      }
      const double t = static_cast<double>(i) / kSampleRate;
      const double attack = std::min(1.0, t / kAttackSeconds);
      double sample = 0.0;
      for (const Partial& p : bell)
        if (strike.hz * p.ratio < kHighestHz)
          sample += p.amplitude * std::exp(-t * p.decay / decaySeconds) *
                    std::sin(2.0 * std::numbers::pi * strike.hz * p.ratio * t);
      out[at] += attack * sample;
    }
  }
}

// Scales the sound so that its loudest sample is `peak` of full scale.
std::vector<std::int16_t> ToSamples(std::span<const double> sound, double peak) {
  double loudest = 0.0;
  for (const double s : sound)
    loudest = std::max(loudest, std::abs(s));
  const double scale = loudest > 0.0 ? peak * 32767.0 / loudest : 0.0;
  std::vector<std::int16_t> samples(sound.size());
  std::ranges::transform(sound, samples.begin(), [scale](double s) {
    return static_cast<std::int16_t>(std::lround(s * scale));
  });
  return samples;
}

}  // namespace

std::vector<std::int16_t> AlarmBells(double peak) {
  constexpr double kHigh = 1568.0;  // G6
  constexpr double kLow = 1318.5;   // E6
  // Two quick pairs of high and low strikes, a rest, two more pairs, and a rest before
  // the loop begins again.
  constexpr Strike kStrikes[] = {{0.00, kHigh}, {0.18, kLow}, {0.36, kHigh}, {0.54, kLow},
                                 {1.20, kHigh}, {1.38, kLow}, {1.56, kHigh}, {1.74, kLow}};
  std::vector<double> sound(static_cast<std::size_t>(2.6 * kSampleRate));
  Ring(sound, kStrikes, kBrightBell, 0.22, true);
  return ToSamples(sound, peak);
}

std::vector<std::int16_t> HourChime(double peak) {
  constexpr Strike kStrikes[] = {{0.0, 880.0}, {0.45, 659.25}};  // A5, then E5
  constexpr double kFadeSeconds = 0.2;
  std::vector<double> sound(static_cast<std::size_t>(1.5 * kSampleRate));
  Ring(sound, kStrikes, kSoftBell, 0.4, false);
  // The last of the ringing fades out, so the chime ends in silence.
  const auto fade = static_cast<std::size_t>(kFadeSeconds * kSampleRate);
  for (std::size_t i = 0; i < fade; ++i)
    sound[sound.size() - 1 - i] *= static_cast<double>(i) / fade;
  return ToSamples(sound, peak);
}

std::string AlarmFileName(int level) {
  return "C_Remind" + std::to_string(level) + ".wav";
}

std::string ChimeFileName(int level) {
  return "C_EveryHour" + std::to_string(level) + ".wav";
}

}  // namespace pelorin::soundgen
