#include "common/Drives.h"

#include "common/Files.h"

namespace pelorin {

std::string DriveLetter(int number) {
  if (number < 1 || number > 26) return " ";
  return std::string(1, static_cast<char>('A' + number - 1));
}

int DriveNumber(std::string_view letter) {
  if (letter.size() != 1) return 0;
  const char c = letter.front();
  if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  if (c >= 'a' && c <= 'z') return c - 'a' + 1;
  return 0;
}

bool DriveExists(const ports::DriveTable& drives, std::string_view letter) {
  if (DriveNumber(letter) == 0) return false;
  const ports::DriveInfo drive = drives.Drive(letter.front());
  return !drive.root.empty() && PathExists(drive.root);
}

}  // namespace pelorin
