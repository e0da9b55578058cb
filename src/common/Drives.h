#pragma once

#include <string>
#include <string_view>

#include "ports/DriveTable.h"

namespace pelorin {

// Drives are named by their letter; drive numbers run 1 = A ... 26 = Z.

// "A".."Z" for 1..26, a single blank for any other number.
std::string DriveLetter(int number);

// 1..26 for a one-letter text "A".."Z" in either case, 0 for anything else.
int DriveNumber(std::string_view letter);

// True when the drive's root exists as a file or directory (`PathExists`): a drive
// that the table maps to a root, which is there now (a CD drive has one only while a
// disc is mounted).
bool DriveExists(const ports::DriveTable& drives, std::string_view letter);

}  // namespace pelorin
