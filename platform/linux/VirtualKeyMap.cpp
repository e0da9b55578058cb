#include "linux/VirtualKeyMap.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <utility>

namespace pelorin::lnx {
namespace {

// Keys whose keysym does not follow from a run of codes.
constexpr std::pair<int, std::uint32_t> kSingleKeys[] = {
    {3, XK_Break},
    {8, XK_BackSpace},
    {9, XK_Tab},
    {12, XK_KP_Begin},  // the keypad's 5 without NumLock ("Center")
    {13, XK_Return},
    {19, XK_Pause},
    {20, XK_Caps_Lock},
    {27, XK_Escape},
    {32, XK_space},
    {33, XK_Prior},
    {34, XK_Next},
    {35, XK_End},
    {36, XK_Home},
    {37, XK_Left},
    {38, XK_Up},
    {39, XK_Right},
    {40, XK_Down},
    {41, XK_Select},
    {42, XK_Print},
    {43, XK_Execute},
    {44, XK_Print},  // Print Screen
    {45, XK_Insert},
    {46, XK_Delete},
    {47, XK_Help},
    {93, XK_Menu},
    {106, XK_KP_Multiply},
    {107, XK_KP_Add},
    {108, XK_KP_Separator},
    {109, XK_KP_Subtract},
    {110, XK_KP_Decimal},
    {111, XK_KP_Divide},
    {144, XK_Num_Lock},
    {145, XK_Scroll_Lock},
    {166, XF86XK_Back},
    {167, XF86XK_Forward},
    {168, XF86XK_Refresh},
    {169, XF86XK_Stop},
    {170, XF86XK_Search},
    {171, XF86XK_Favorites},
    {172, XF86XK_HomePage},
    {173, XF86XK_AudioMute},
    {174, XF86XK_AudioLowerVolume},
    {175, XF86XK_AudioRaiseVolume},
    {176, XF86XK_AudioNext},
    {177, XF86XK_AudioPrev},
    {178, XF86XK_AudioStop},
    {179, XF86XK_AudioPlay},
    {180, XF86XK_Mail},
    {181, XF86XK_AudioMedia},
    {182, XF86XK_MyComputer},
    {183, XF86XK_Calculator},
    // The punctuation keys of a US keyboard, by their unshifted character.
    {186, XK_semicolon},
    {187, XK_equal},
    {188, XK_comma},
    {189, XK_minus},
    {190, XK_period},
    {191, XK_slash},
    {192, XK_grave},
    {219, XK_bracketleft},
    {220, XK_backslash},
    {221, XK_bracketright},
    {222, XK_apostrophe},
    {226, XK_less},  // the extra key beside the left Shift of a 102-key keyboard
};

}  // namespace

std::uint32_t KeysymForVirtualKey(int virtualKey) {
  if (virtualKey >= '0' && virtualKey <= '9') return XK_0 + (virtualKey - '0');
  // The letter keys give the lower-case keysym, the one in a key's first column.
  if (virtualKey >= 'A' && virtualKey <= 'Z') return XK_a + (virtualKey - 'A');
  if (virtualKey >= 96 && virtualKey <= 105) return XK_KP_0 + (virtualKey - 96);
  if (virtualKey >= 112 && virtualKey <= 135) return XK_F1 + (virtualKey - 112);
  for (const auto& [code, keysym] : kSingleKeys) {
    if (code == virtualKey) return keysym;
  }
  return 0;
}

}  // namespace pelorin::lnx
