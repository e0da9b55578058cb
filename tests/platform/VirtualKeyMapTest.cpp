#include "linux/VirtualKeyMap.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdint>

namespace pelorin::lnx {
namespace {

TEST(VirtualKeyMapTest, KeysOfTheSuiteMapToTheirUsLayoutKeysyms) {
  const struct {
    int virtualKey;
    std::uint32_t keysym;
  } cases[] = {
      {'A', XK_a},
      {'Z', XK_z},
      {'0', XK_0},
      {'9', XK_9},
      {112, XK_F1},
      {116, XK_F5},
      {123, XK_F12},
      {135, XK_F24},
      {3, XK_Break},
      {8, XK_BackSpace},
      {9, XK_Tab},
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
      {45, XK_Insert},
      {46, XK_Delete},
      {93, XK_Menu},
      {96, XK_KP_0},
      {105, XK_KP_9},
      {106, XK_KP_Multiply},
      {107, XK_KP_Add},
      {109, XK_KP_Subtract},
      {110, XK_KP_Decimal},
      {111, XK_KP_Divide},
      {144, XK_Num_Lock},
      {145, XK_Scroll_Lock},
      {173, XF86XK_AudioMute},
      {174, XF86XK_AudioLowerVolume},
      {175, XF86XK_AudioRaiseVolume},
      {176, XF86XK_AudioNext},
      {177, XF86XK_AudioPrev},
      {178, XF86XK_AudioStop},
      {179, XF86XK_AudioPlay},
      {183, XF86XK_Calculator},
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
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeysymForVirtualKey(c.virtualKey), c.keysym) << "virtual key " << c.virtualKey;
  }
}

TEST(VirtualKeyMapTest, CodesWithoutAKeyHaveNoKeysym) {
  // Nothing, the modifier keys themselves (Shift, Ctrl, Alt, the Windows keys), the
  // gaps between the letter and keypad blocks and codes beyond a byte.
  for (const int virtualKey : {-1, 0, 16, 17, 18, 58, 64, 91, 92, 136, 193, 255, 256, 1116}) {
    EXPECT_EQ(KeysymForVirtualKey(virtualKey), 0u) << "virtual key " << virtualKey;
  }
}

}  // namespace
}  // namespace pelorin::lnx
