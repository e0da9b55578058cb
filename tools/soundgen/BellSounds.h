#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelorin::soundgen {

// The rate of the delivered sounds.
constexpr int kSampleRate = 22050;

// The peak of each sound level, 0 the softest to 3 the loudest, as a share of full scale.
constexpr double kLevelPeaks[] = {0.18, 0.32, 0.55, 0.9};
constexpr int kLevels = 4;

// The alarm: a bright two-tone bell pattern, about 2.6 s, made to be looped (its last
// strikes ring on into its start, so the seam is not heard).
std::vector<std::int16_t> AlarmBells(double peak);

// The hourly chime: two soft bell strikes, high then low, fading out within 1.5 s.
std::vector<std::int16_t> HourChime(double peak);

// The files the suite looks for, by level.
std::string AlarmFileName(int level);  // "C_Remind<level>.wav"
std::string ChimeFileName(int level);  // "C_EveryHour<level>.wav"

}  // namespace pelorin::soundgen
