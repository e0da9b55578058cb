// soundgen: writes the suite's delivered alarm and chime sounds, at every level, into a
// folder. The same bytes on every run: the sounds are computed, not recorded.
#include <filesystem>
#include <iostream>
#include <system_error>

#include "BellSounds.h"
#include "common/WaveFile.h"

namespace {

using namespace pelorin;

bool Write(const std::filesystem::path& file, const std::vector<std::int16_t>& samples) {
  if (WriteWaveFile(file, soundgen::kSampleRate, samples)) return true;
  std::cerr << "soundgen: cannot write " << file.string() << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: soundgen FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::cerr << "soundgen: cannot create " << folder.string() << ": " << error.message() << "\n";
    return 1;
  }
  for (int level = 0; level < soundgen::kLevels; ++level) {
    const double peak = soundgen::kLevelPeaks[level];
    if (!Write(folder / soundgen::AlarmFileName(level), soundgen::AlarmBells(peak)) ||
        !Write(folder / soundgen::ChimeFileName(level), soundgen::HourChime(peak)))
      return 1;
  }
  return 0;
}
