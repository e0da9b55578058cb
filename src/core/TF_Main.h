#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/CoreContext.h"
#include "ports/Timers.h"

namespace pelorin {

class CoreHotkeys;
class MainMenu;

// The main window: start-up and shutdown, the splash and the strip's place, the start
// profile request, the desktop session ending and refused close requests.
class TF_Main {
 public:
  static constexpr int kStripWidth = MainWindowPlace::kStripWidth;
  static constexpr int kStripHeight = MainWindowPlace::kStripHeight;
  static constexpr int kSplashWidth = MainWindowPlace::kSplashWidth;
  static constexpr int kSplashHeight = MainWindowPlace::kSplashHeight;
  static constexpr int kParked = MainWindowPlace::kParked;

  // `menu` gets the Profiles submenu of the start-up settings, `hotkeys` the menu key and
  // the atoms; `passwords` asks for the start profile's and the close password.
  TF_Main(CoreContext& ctx, MainMenu& menu, CoreHotkeys& hotkeys, PasswordGate& passwords);
  ~TF_Main();

  // The creation steps of the main window (after the single-instance check, which the
  // program does before anything else). `args` are the command-line arguments after
  // the program name; `restoringAllowed` says whether the companion's one-time token
  // was found, without which the restoring argument is not honoured. False when the
  // suite already ended (a damaged pelorin.hf that could not be restored).
  bool MainCreate(const std::vector<std::string>& args, bool restoringAllowed);

  void StartupTimerTimer();
  void FormShow();

  void PrepareShutdown();
  void SaveAndQuit();
  void QuitNow();
  void CloseAllWindows();
  // The Exit command: the question, then the close password (pending action 9).
  void Exit();

  // The desktop session ends: WM_QUERYENDSESSION answers true; WM_ENDSESSION saves and
  // quits whatever it says.
  bool QueryEndSession();
  void EndSession();
  // A close request from outside (not through Exit): refused while ClosingAllowed is
  // false, after saving as a refused close does. True when the close may go on.
  bool CloseRequested();

  // Whether the process has ended (QuitNow ran): handlers do nothing any more.
  bool Ended() const { return ctx_.lifetime.Ended(); }

  // The main window's place (a left edge below 0: the strip is hidden).
  int Left() const { return ctx_.mainWindow.Left(); }
  int Top() const { return ctx_.mainWindow.Top(); }
  void MoveMainWindow(int left, int top) { ctx_.mainWindow.Move(left, top); }
  bool StartupTimerRunning() const;

  // The CD drives found at start-up (drive numbers, 4 = D: ... 26 = Z:, in letter
  // order), for the CD agent's detection pass.
  const std::vector<int>& CdDrives() const { return cdDrives_; }

  // The second plain copy of the system settings, made by the start-up timer.
  std::filesystem::path SecondSystemSettingsCopy() const;

 private:
  void ReadStartupSettings();
  void EnumerateCdDrives();
  bool MakeSecondSystemSettingsCopy();
  void DeleteSystemSettingsCopies();
  void RequestStartProfile();
  // The start profile's entry names no valid folder: another profile may be chosen,
  // or the suite ends.
  void RefuseDamagedStartProfile();
  void PostShutdownToCompanion();
  void BindSteps();
  // The i-Panel item: the strip shown where it was hidden, or hidden (its hidden place
  // kept in status.hif).
  void ShowOrHideStrip();
  // The conditions of the shutdown's rows.
  bool Holds(StepCondition condition) const;

  CoreContext& ctx_;
  MainMenu& menu_;
  CoreHotkeys& hotkeys_;
  PasswordGate& passwords_;
  std::unique_ptr<ports::Timer> startupTimer_;
  std::vector<int> cdDrives_;
  bool startProfileFolderValid_ = true;
};

}  // namespace pelorin
