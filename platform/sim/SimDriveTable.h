#pragma once

#include <array>
#include <filesystem>

#include "ports/DriveTable.h"

namespace pelorin::sim {

// A drive table that tests fill letter by letter; a letter never set has no root
// directory (NoRootDir).
class SimDriveTable : public ports::DriveTable {
 public:
  // Maps the letter (either case) to a drive of that type whose root is `root`
  // (empty for a CD drive without a disc). Other characters are ignored.
  void SetDrive(char letter, ports::DriveType type, std::filesystem::path root = {});
  // Makes the letter unused again.
  void RemoveDrive(char letter);

  ports::DriveInfo Drive(char letter) const override;

 private:
  std::array<ports::DriveInfo, 26> drives_{};
};

}  // namespace pelorin::sim
