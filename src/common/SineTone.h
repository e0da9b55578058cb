#pragma once

#include <cstdint>
#include <vector>

namespace pelorin {

// The 16-bit samples of a sine tone of `frequencyHz` lasting `durationMs` at
// `sampleRate`, its peak `amplitude` of full scale (0 to 1). It fades in and out over a
// few milliseconds so that it starts and stops without a click.
std::vector<std::int16_t> SineTone(int frequencyHz, int durationMs, int sampleRate,
                                   double amplitude);

}  // namespace pelorin
