#pragma once

#include <array>
#include <filesystem>

#include "ports/DriveTable.h"

namespace pelorin::sim {

// A drive table that tests fill letter by letter; a letter never set has no root
// directory (NoRootDir). The space of a drive is what the test sets (none at first);
// a drive whose root is missing or not there now has none to tell (-1, -1).
class SimDriveTable : public ports::DriveTable {
 public:
  // Maps the letter (either case) to a drive of that type whose root is `root`
  // (empty for a CD drive without a disc). Other characters are ignored.
  void SetDrive(char letter, ports::DriveType type, std::filesystem::path root = {});
  // Sets the space the drive reports while its root is there.
  void SetSpace(char letter, ports::DiskSpace space);
  // Makes the letter unused again, its space included.
  void RemoveDrive(char letter);

  ports::DriveInfo Drive(char letter) const override;
  ports::DiskSpace Space(char letter) const override;

 private:
  std::array<ports::DriveInfo, 26> drives_{};
  std::array<ports::DiskSpace, 26> spaces_{};
};

}  // namespace pelorin::sim
