#pragma once

#include <filesystem>
#include <vector>

#include "ports/DriveTable.h"

namespace pelorin::lnx {

// The drive table of a Linux system: C: is the root file system, and the CD drives
// /dev/sr0, /dev/sr1, ... (in the order of their numbers) are D:, E:, ... up to Z:.
// A CD drive's root is the mount point of its disc while one is mounted, else empty.
// Every look-up reads the devices and the mount table afresh, so a disc mounted or
// unmounted a moment ago shows at once. A drive's space is that of the file system
// holding its root.
class LinuxDriveTable : public ports::DriveTable {
 public:
  explicit LinuxDriveTable(std::filesystem::path deviceDirectory = "/dev",
                           std::filesystem::path mountsFile = "/proc/self/mounts");

  ports::DriveInfo Drive(char letter) const override;
  ports::DiskSpace Space(char letter) const override;

 private:
  // The CD devices ("sr" and a number) of the device directory, in number order.
  std::vector<std::filesystem::path> CdDevices() const;
  // Where the device is mounted; empty when it is not.
  std::filesystem::path MountPointOf(const std::filesystem::path& device) const;

  std::filesystem::path deviceDirectory_;
  std::filesystem::path mountsFile_;
};

}  // namespace pelorin::lnx
