#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/CoreContext.h"
#include "ports/Timers.h"

namespace pelorin {

// The main window: start-up and shutdown, the splash and the strip's place, the start
// profile request, the desktop session ending and refused close requests.
class TF_Main {
 public:
  static constexpr int kStripWidth = 97;
  static constexpr int kStripHeight = 33;
  // The strip's default place: this far left of and above the middle of the screen.
  static constexpr int kStripCentreOffsetX = 49;
  static constexpr int kStripCentreOffsetY = 16;
  // How far a shown strip may reach past the right or bottom border before it is put
  // back against that border.
  static constexpr int kStripOverhang = 10;
  // While dragged with snapping, the strip lies against a border it comes this close to.
  static constexpr int kStripSnapDistance = 10;
  static constexpr int kSplashWidth = 300;
  static constexpr int kSplashHeight = 377;
  static constexpr int kParked = -4000;  // left edge of a window parked off screen

  explicit TF_Main(CoreContext& ctx);
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
  bool Ended() const { return ended_; }

  // The main window's place (a left edge below 0: the strip is hidden).
  int Left() const { return left_; }
  int Top() const { return top_; }
  void MoveMainWindow(int left, int top);
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
  void SaveProfileState();

  CoreContext& ctx_;
  std::unique_ptr<ports::Timer> startupTimer_;
  std::vector<int> cdDrives_;
  bool startProfileFolderValid_ = true;
  int left_ = kParked;
  int top_ = 0;
  int width_ = kSplashWidth;
  int height_ = kSplashHeight;
  bool splash_ = true;
  bool shown_ = false;
  bool ended_ = false;
};

}  // namespace pelorin
