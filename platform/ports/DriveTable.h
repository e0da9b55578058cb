#pragma once

#include <cstdint>
#include <filesystem>

namespace pelorin::ports {

// Drive types with the values the suite's rules compare against.
enum class DriveType {
  Unknown = 0,
  NoRootDir = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6,
};

struct DriveInfo {
  DriveType type = DriveType::NoRootDir;
  // Where the drive's contents live. Empty when the drive has no root now (a CD
  // drive without a mounted disc, a letter that no drive uses).
  std::filesystem::path root;
};

// The free and total bytes of a drive (`DiskFree`, `DiskSize`); both -1 when the drive
// has no root or its file system cannot be read.
struct DiskSpace {
  std::int64_t free = 0;
  std::int64_t size = 0;
};

// Drive letters stay the suite's vocabulary: this table maps a letter A..Z to the
// directory that stands for the drive's root and to the drive's type.
class DriveTable {
 public:
  virtual ~DriveTable() = default;

  // `letter` is 'A'..'Z' (either case); any other character gives NoRootDir.
  virtual DriveInfo Drive(char letter) const = 0;

  // The space on the drive's file system; free counts what the user may still write.
  virtual DiskSpace Space(char letter) const = 0;
};

}  // namespace pelorin::ports
