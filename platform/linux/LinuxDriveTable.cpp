#include "linux/LinuxDriveTable.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

#include "common/AtomicFile.h"
#include "common/Drives.h"

namespace pelorin::lnx {
namespace {

namespace fs = std::filesystem;

// The CD drives get letters from D: on.
constexpr int kFirstCdDriveNumber = 4;
constexpr int kLastDriveNumber = 26;

// The number of a CD device name "sr<digits>", or nothing for any other name.
std::optional<unsigned> CdDeviceNumber(std::string_view name) {
  if (name.size() < 3 || name.substr(0, 2) != "sr") return std::nullopt;
  const std::string_view digits = name.substr(2);
  unsigned number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return number;
}

bool IsOctalDigit(char c) {
  return c >= '0' && c <= '7';
}

// A field of the mount table with its escapes ("\040" for a blank, "\134" for a
// backslash, ...) turned back into the characters they stand for.
std::string DecodeMountField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
        IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
      out.push_back(static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                      (field[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

// Whether a mount source names the device: the same path, the same file after
// links are resolved (/dev/cdrom), or the same block device under another name.
bool IsSameDevice(const fs::path& source, const fs::path& device) {
  if (source == device) return true;
  std::error_code error;
  const fs::path resolvedSource = fs::weakly_canonical(source, error);
  if (error) return false;
  const fs::path resolvedDevice = fs::weakly_canonical(device, error);
  if (!error && resolvedSource == resolvedDevice) return true;
  struct stat sourceInfo {};
  struct stat deviceInfo {};
  return ::stat(source.c_str(), &sourceInfo) == 0 && ::stat(device.c_str(), &deviceInfo) == 0 &&
         S_ISBLK(sourceInfo.st_mode) && S_ISBLK(deviceInfo.st_mode) &&
         sourceInfo.st_rdev == deviceInfo.st_rdev;
}

// A byte count of the file system as a drive's figure; one too large to hold counts as
// the largest that can be held.
std::int64_t DriveBytes(std::uintmax_t bytes) {
  constexpr auto kMost = static_cast<std::uintmax_t>(std::numeric_limits<std::int64_t>::max());
  return static_cast<std::int64_t>(std::min(bytes, kMost));
}

}  // namespace

LinuxDriveTable::LinuxDriveTable(fs::path deviceDirectory, fs::path mountsFile)
    : deviceDirectory_(std::move(deviceDirectory)), mountsFile_(std::move(mountsFile)) {}

ports::DriveInfo LinuxDriveTable::Drive(char letter) const {
  const int number = DriveNumber(std::string_view(&letter, 1));
  if (number == 3) return {ports::DriveType::Fixed, "/"};
  if (number < kFirstCdDriveNumber || number > kLastDriveNumber) return {};
  const std::vector<fs::path> devices = CdDevices();
  const auto index = static_cast<std::size_t>(number - kFirstCdDriveNumber);
  if (index >= devices.size()) return {};
  return {ports::DriveType::CdRom, MountPointOf(devices[index])};
}

ports::DiskSpace LinuxDriveTable::Space(char letter) const {
  const fs::path root = Drive(letter).root;
  if (root.empty()) return {-1, -1};
  std::error_code error;
  const fs::space_info space = fs::space(root, error);
  if (error) return {-1, -1};
  return {DriveBytes(space.available), DriveBytes(space.capacity)};
}

std::vector<fs::path> LinuxDriveTable::CdDevices() const {
  std::vector<std::pair<unsigned, fs::path>> numbered;
  std::error_code error;
  fs::directory_iterator it(deviceDirectory_, error);
  for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
    if (const auto number = CdDeviceNumber(it->path().filename().string())) {
      numbered.emplace_back(*number, it->path());
    }
  }
  std::sort(numbered.begin(), numbered.end());
  std::vector<fs::path> devices;
  for (auto& [number, path] : numbered)
    devices.push_back(std::move(path));
  return devices;
}

fs::path LinuxDriveTable::MountPointOf(const fs::path& device) const {
  const std::optional<std::string> table = ReadWholeFile(mountsFile_);
  if (!table) return {};
  std::istringstream lines(*table);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string source;
    std::string mountPoint;
    if (!(fields >> source >> mountPoint) || source.empty() || source.front() != '/') continue;
    if (IsSameDevice(DecodeMountField(source), device)) return DecodeMountField(mountPoint);
  }
  return {};
}

}  // namespace pelorin::lnx
