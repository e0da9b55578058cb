#include "common/Hotkeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelorin {
namespace {

constexpr int kShift = 16, kCtrl = 17, kAlt = 18, kLeftWin = 91, kRightWin = 92;
constexpr int kBackspace = 8, kF5 = 116;

THotkey Hotkey(std::uint16_t key, int ctrl, int alt, int shift, int win) {
  return THotkey{key, static_cast<std::uint8_t>(ctrl), static_cast<std::uint8_t>(alt),
                 static_cast<std::uint8_t>(shift), static_cast<std::uint8_t>(win)};
}

TEST(KeyName, NamesSpecialKeysAndReadsOthersAsCharacters) {
  struct Case {
    int key;
    const char* name;
  };
  const Case cases[] = {
      {3, "Break"},   {8, "None"},        {13, "Enter"},      {20, "C-Lock"},  {32, "Space"},
      {34, "PgDown"}, {37, "Left Arrow"}, {40, "Down Arrow"}, {46, "Del"},     {93, "Menu"},
      {96, "Num 0"},  {105, "Num 9"},     {106, "Num *"},     {110, "Num ."},  {111, "Num /"},
      {112, "F1"},    {123, "F12"},       {144, "N-Lock"},    {145, "S-Lock"}, {186, ";"},
      {188, "<"},     {190, ">"},         {192, "`"},         {220, "\\"},     {222, "'"},
      {65, "A"},      {48, "0"},          {124, "|"},         {223, "Я"},      {300, "300"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(KeyName(c.key), c.name) << c.key;
}

TEST(HotkeyCode, RoundTripsAndNeverKeepsBackspace) {
  const THotkey ctrlAltF5 = Hotkey(kF5, 1, 1, 0, 0);
  EXPECT_EQ(HotkeyToCode(ctrlAltF5), 3116);
  EXPECT_EQ(CodeToHotkey(3116), ctrlAltF5);
  EXPECT_EQ(CodeToHotkey(8), THotkey{});
  EXPECT_EQ(CodeToHotkey(0), THotkey{});
  EXPECT_EQ(CodeToHotkey(9008), Hotkey(0, 1, 0, 0, 1));

  for (int ctrl = 0; ctrl <= 1; ++ctrl)
    for (int alt = 0; alt <= 1; ++alt)
      for (int shift = 0; shift <= 1; ++shift)
        for (int win = 0; win <= 1; ++win) {
          const THotkey h = Hotkey(65, ctrl, alt, shift, win);
          EXPECT_EQ(CodeToHotkey(HotkeyToCode(h)), h) << HotkeyText(h);
        }
  EXPECT_EQ(HotkeyToCode(Hotkey(65, 1, 1, 1, 1)), 15065);
  EXPECT_EQ(HotkeyToCode(Hotkey(65, 2, 0, 0, 0)), 1065);  // a flag is set or not
}

TEST(HotkeyText, PrefixesInFixedOrder) {
  EXPECT_EQ(HotkeyText(THotkey{}), "None");
  EXPECT_EQ(HotkeyText(Hotkey(0, 1, 1, 0, 0)), "None");
  EXPECT_EQ(HotkeyText(Hotkey(65, 0, 0, 1, 1)), "Shift + Win + A");
  EXPECT_EQ(HotkeyText(Hotkey(kF5, 1, 1, 0, 0)), "Ctrl + Alt + F5");
  EXPECT_EQ(HotkeyText(Hotkey(65, 1, 1, 1, 1)), "Ctrl + Alt + Shift + Win + A");
  EXPECT_EQ(HotkeyText(Hotkey(kF5, 0, 0, 0, 0)), "F5");
}

TEST(HotkeyRecord, ClearSameAndModifierMask) {
  THotkey h = Hotkey(kF5, 1, 1, 1, 1);
  EXPECT_EQ(HotkeyModifiers(h), 15u);
  EXPECT_EQ(HotkeyModifiers(Hotkey(kF5, 0, 1, 0, 0)), 1u);
  EXPECT_EQ(HotkeyModifiers(Hotkey(kF5, 1, 0, 0, 0)), 2u);
  EXPECT_EQ(HotkeyModifiers(Hotkey(kF5, 0, 0, 1, 0)), 4u);
  EXPECT_EQ(HotkeyModifiers(Hotkey(kF5, 0, 0, 0, 1)), 8u);
  EXPECT_FALSE(SameHotkey(h, Hotkey(kF5, 1, 1, 1, 0)));
  EXPECT_TRUE(SameHotkey(h, Hotkey(kF5, 1, 1, 1, 1)));
  ClearHotkey(h);
  EXPECT_TRUE(SameHotkey(h, THotkey{}));
}

struct KeyEvent {
  bool down;
  int key;
};

KeyEvent Down(int key) {
  return {true, key};
}
KeyEvent Up(int key) {
  return {false, key};
}

TEST(HotkeyCapture, ShowsModifiersWhileHeldAndTheCombinationOnRelease) {
  THotkey h;
  EXPECT_EQ(HotkeyKeyDown(kCtrl, h), "Ctrl +  ");
  EXPECT_EQ(HotkeyKeyDown(kF5, h), "Ctrl +  ");
  EXPECT_EQ(HotkeyKeyUp(kF5, h), "Ctrl + F5");
  EXPECT_EQ(HotkeyKeyUp(kCtrl, h), "Ctrl + F5");
  EXPECT_EQ(h, Hotkey(kF5, 1, 0, 0, 0));
}

// A hotkey box of a settings window: it shows its record when the window opens, and
// the capture writes into it.
TEST(HotkeyCapture, InABox) {
  TextBox box{"typed text"};
  THotkey h = Hotkey(kF5, 1, 1, 0, 0);
  ShowHotkey(box, h);
  EXPECT_EQ(box.text, "Ctrl + Alt + F5");
  HotkeyKeyDown(box, kShift, h);
  EXPECT_EQ(box.text, "Shift +  ");
  HotkeyKeyDown(box, 65, h);
  HotkeyKeyUp(box, 65, h);
  EXPECT_EQ(box.text, "Shift + A");
  HotkeyKeyDown(box, kBackspace, h);
  HotkeyKeyUp(box, kBackspace, h);
  EXPECT_EQ(box.text, "None");
  ShowHotkey(box, h);
  EXPECT_EQ(box.text, "None");
}

TEST(HotkeyCapture, Sequences) {
  struct Case {
    const char* name;
    THotkey start;
    std::vector<KeyEvent> events;
    const char* text;  // after the last event
    THotkey result;
  };
  const THotkey ctrlF5 = Hotkey(kF5, 1, 0, 0, 0);
  const Case cases[] = {
      {"modifiers released in reverse order",
       {},
       {Down(kCtrl), Down(kAlt), Down(kF5), Up(kF5), Up(kAlt), Up(kCtrl)},
       "Ctrl + Alt + F5",
       Hotkey(kF5, 1, 1, 0, 0)},
      {"main key released last",
       {},
       {Down(kShift), Down(65), Up(kShift), Up(65)},
       "Shift + A",
       Hotkey(65, 0, 0, 1, 0)},
      {"both Windows keys set Win",
       {},
       {Down(kRightWin), Down(65), Up(65)},
       "Win + A",
       Hotkey(65, 0, 0, 0, 1)},
      {"left Windows key",
       {},
       {Down(kLeftWin), Down(66), Up(66), Up(kLeftWin)},
       "Win + B",
       Hotkey(66, 0, 0, 0, 1)},
      {"a key alone", {}, {Down(kF5), Up(kF5)}, "F5", Hotkey(kF5, 0, 0, 0, 0)},
      {"a modifier alone", {}, {Down(kCtrl), Up(kCtrl)}, "None", {}},
      {"two modifiers alone", {}, {Down(kCtrl), Down(kShift), Up(kCtrl), Up(kShift)}, "None", {}},
      {"one of two modifiers released",
       {},
       {Down(kCtrl), Down(kShift), Up(kCtrl)},
       "Shift +  ",
       Hotkey(0, 0, 0, 1, 0)},
      {"Backspace clears a combination", ctrlF5, {Down(kBackspace), Up(kBackspace)}, "None", {}},
      {"Backspace clears a single key",
       Hotkey(kF5, 0, 0, 0, 0),
       {Down(kBackspace), Up(kBackspace)},
       "None",
       {}},
      {"Backspace under a modifier is not a key",
       {},
       {Down(kCtrl), Down(kBackspace), Up(kBackspace)},
       "Ctrl +  ",
       Hotkey(0, 1, 0, 0, 0)},
      {"a new combination replaces the old",
       ctrlF5,
       {Down(kAlt), Down(65), Up(65), Up(kAlt)},
       "Alt + A",
       Hotkey(65, 0, 1, 0, 0)},
      {"a plain key after a combination starts anew",
       ctrlF5,
       {Down(66), Up(66)},
       "B",
       Hotkey(66, 0, 0, 0, 0)},
      {"a held modifier repeats",
       {},
       {Down(kCtrl), Down(kCtrl), Down(kCtrl), Down(kF5), Up(kF5)},
       "Ctrl + F5",
       ctrlF5},
  };
  for (const Case& c : cases) {
    THotkey h = c.start;
    std::string text;
    for (const KeyEvent& e : c.events)
      text = e.down ? HotkeyKeyDown(e.key, h) : HotkeyKeyUp(e.key, h);
    EXPECT_EQ(text, c.text) << c.name;
    EXPECT_EQ(h, c.result) << c.name << ": " << HotkeyText(h);
  }
}

}  // namespace
}  // namespace pelorin
