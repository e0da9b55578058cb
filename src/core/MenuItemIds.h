#pragma once

namespace pelorin::menu_item {

// The names of the main menu (MainPopup) and its items, by which the menu, the command
// codes and the power actions find them.
inline constexpr char kMainPopup[] = "MainPopup";
inline constexpr char kRun[] = "MainPopup_Run";                        // the Programs submenu
inline constexpr char kProgramsWindow[] = "MainPopup_ProgramsWindow";  // "Programs..."
inline constexpr char kNote[] = "MainPopup_Note";
inline constexpr char kTel[] = "MainPopup_Tel";
inline constexpr char kDB[] = "MainPopup_DB";
inline constexpr char kShed[] = "MainPopup_Shed";
inline constexpr char kClock[] = "MainPopup_Clock";
inline constexpr char kTime[] = "MainPopup_Time";
inline constexpr char kCDAudio[] = "MainPopup_CDAudio";
inline constexpr char kCalc[] = "MainPopup_Calc";
inline constexpr char kACD[] = "MainPopup_ACD";
inline constexpr char kAPC[] = "MainPopup_APC";
inline constexpr char kStatus[] = "MainPopup_Status";
inline constexpr char kPower[] = "MainPopup_Power";  // the Power submenu
inline constexpr char kPowerOff[] = "MainPopup_PowerOff";
inline constexpr char kHibernate[] = "MainPopup_Hibernate";
inline constexpr char kSleep[] = "MainPopup_Sleep";
inline constexpr char kRestart[] = "MainPopup_Restart";
inline constexpr char kProfile[] = "MainPopup_Profile";              // the Profiles submenu
inline constexpr char kProfileEditor[] = "MainPopup_ProfileEditor";  // "Profiles..."
inline constexpr char kConfig[] = "MainPopup_Config";
inline constexpr char kBlock[] = "MainPopup_Block";
inline constexpr char kClose[] = "MainPopup_Close";

}  // namespace pelorin::menu_item
