#pragma once

#include <QIcon>

#include "core/MenuPicture.h"

namespace pelorin::ui {

// The small pictures of the menus, drawn at run time from simple shapes (no font and
// no file is needed to show them).
// A main-menu item's picture; a null icon for MenuPicture::None.
QIcon MenuPictureIcon(MenuPicture picture);
// The Programs window's small picture of an icon style (0-11); a null icon for any
// other number (an entry's own icon comes from its program).
QIcon ProgramStyleIcon(int style);
constexpr int kProgramStyles = 12;

}  // namespace pelorin::ui
