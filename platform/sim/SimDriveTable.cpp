#include "sim/SimDriveTable.h"

#include <string_view>
#include <utility>

#include "common/Drives.h"

namespace pelorin::sim {

void SimDriveTable::SetDrive(char letter, ports::DriveType type, std::filesystem::path root) {
  const int number = DriveNumber(std::string_view(&letter, 1));
  if (number == 0) return;
  drives_[number - 1] = ports::DriveInfo{type, std::move(root)};
}

void SimDriveTable::SetSpace(char letter, ports::DiskSpace space) {
  const int number = DriveNumber(std::string_view(&letter, 1));
  if (number != 0) spaces_[number - 1] = space;
}

void SimDriveTable::RemoveDrive(char letter) {
  const int number = DriveNumber(std::string_view(&letter, 1));
  if (number == 0) return;
  drives_[number - 1] = ports::DriveInfo{};
  spaces_[number - 1] = ports::DiskSpace{};
}

ports::DriveInfo SimDriveTable::Drive(char letter) const {
  const int number = DriveNumber(std::string_view(&letter, 1));
  return number == 0 ? ports::DriveInfo{} : drives_[number - 1];
}

ports::DiskSpace SimDriveTable::Space(char letter) const {
  const std::string_view name(&letter, 1);
  if (!DriveExists(*this, name)) return {-1, -1};
  return spaces_[DriveNumber(name) - 1];
}

}  // namespace pelorin::sim
