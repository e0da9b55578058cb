#pragma once

#include "core/MainView.h"

namespace pelorin {

// Where the main window stands and what it shows: the splash (300x377) during start-up,
// then the status strip (97x33); a left edge below 0 means the strip is parked off the
// screen.
class MainWindowPlace {
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

  explicit MainWindowPlace(MainView& view) : view_(view) {}

  int Left() const { return left_; }
  int Top() const { return top_; }
  void Move(int left, int top) {
    left_ = left;
    top_ = top;
    view_.PlaceMainWindow(left_, top_, width_, height_, splash_, shown_);
  }
  // The window becomes the splash or the strip, shown (it moves with the next Move).
  void BecomeSplash() { Become(kSplashWidth, kSplashHeight, true); }
  void BecomeStrip() { Become(kStripWidth, kStripHeight, false); }

 private:
  void Become(int width, int height, bool splash) {
    width_ = width;
    height_ = height;
    splash_ = splash;
    shown_ = true;
  }

  MainView& view_;
  int left_ = kParked;
  int top_ = 0;
  int width_ = kSplashWidth;
  int height_ = kSplashHeight;
  bool splash_ = true;
  bool shown_ = false;
};

}  // namespace pelorin
