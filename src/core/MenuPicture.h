#pragma once

namespace pelorin {

// The pictures of the main menu's own items, drawn by the user interface. (The
// entries of the Programs submenu show the Programs window's pictures instead:
// MenuItem::programPicture.)
enum class MenuPicture {
  None,
  Programs,
  Notebook,
  PhoneBook,
  DayBook,
  Organizer,
  Reminder,
  Duzuzoze,
  CdPlayer,
  Calculator,
  CdAgent,
  PcAgent,
  Panel,
  Power,
  Profiles,
  Preferences,
  Lock,
  Unlock,
  Exit,
  PowerOff,
  Hibernate,
  Sleep,
  Restart,
};

// One past the last picture: the pictures are None + 1 ... kMenuPictureCount - 1.
constexpr int kMenuPictureCount = static_cast<int>(MenuPicture::Restart) + 1;

}  // namespace pelorin
