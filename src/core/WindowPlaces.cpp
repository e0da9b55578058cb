#include "core/WindowPlaces.h"

#include <algorithm>

#include "core/CoreContext.h"
#include "core/MainWindowPlace.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"
#include "storage/SettingsTransaction.h"

namespace pelorin {

namespace {

// status.hif WPOS keys, by AppletWindow.
struct PlaceKeys {
  const char* x;
  const char* y;
};
constexpr std::array<PlaceKeys, 9> kPlaceKeys = {{{"RunX", "RunY"},
                                                  {"NoteX", "NoteY"},
                                                  {"TelX", "TelY"},
                                                  {"DBX", "DBY"},
                                                  {"RemX", "RemY"},
                                                  {"ShedX", "ShedY"},
                                                  {"TimeX", "TimeY"},
                                                  {"CDAX", "CDAY"},
                                                  {"PCAX", "PCAY"}}};
// The order in which the windows are placed: the applet windows, then the three whose
// places live in the shared values.
constexpr std::array<AppletWindow, 9> kPlacementOrder = {
    AppletWindow::Run,  AppletWindow::Rem, AppletWindow::Time,
    AppletWindow::Shed, AppletWindow::CDA, AppletWindow::PCA,
    AppletWindow::Note, AppletWindow::Tel, AppletWindow::DB};

}  // namespace

WindowPlaces::WindowPlaces(CoreContext& ctx, const MainWindowPlace& mainWindow)
    : ctx_(ctx), mainWindow_(mainWindow) {
  // The applet windows' own sizes until their windows tell theirs.
  sizes_[IndexOf(AppletWindow::Run)] = {425, 330};
  sizes_[IndexOf(AppletWindow::Note)] = {646, 436};
  sizes_[IndexOf(AppletWindow::Tel)] = {330, 378};
  sizes_[IndexOf(AppletWindow::DB)] = {646, 436};
  sizes_[IndexOf(AppletWindow::Rem)] = {350, 270};
  sizes_[IndexOf(AppletWindow::Shed)] = {560, 410};
  sizes_[IndexOf(AppletWindow::Time)] = {310, 200};
  sizes_[IndexOf(AppletWindow::CDA)] = {480, 390};
  sizes_[IndexOf(AppletWindow::PCA)] = {480, 390};
}

std::size_t WindowPlaces::IndexOf(AppletWindow window) {
  return static_cast<std::size_t>(window);
}

void WindowPlaces::PlaceWindows(const SettingsFile& status) {
  const int screenWidth = ctx_.ports.screen.Width();
  const int screenHeight = ctx_.ports.screen.Height();
  for (const AppletWindow window : kPlacementOrder) {
    const PlaceKeys& keys = kPlaceKeys[IndexOf(window)];
    const WindowSize size = SizeOf(window);
    WindowPlace place;
    place.x = status.ReadInteger("WPOS", keys.x, screenWidth / 2 - size.width / 2);
    place.y = status.ReadInteger("WPOS", keys.y, screenHeight / 2 - size.height / 2);
    if (place.y < 0) place.y = 0;
    if (place.y > screenHeight - 30) place.y = screenHeight - size.height;
    if (place.x < 0) place.x = 0;
    if (place.x > screenWidth - 50) place.x = screenWidth - size.width;
    SetPlace(window, place);
  }
  placed_ = true;
}

void WindowPlaces::SaveWindowPositions() {
  if (ctx_.lifetime.Ended() || !placed_) return;
  ReportWriteErrors(ctx_.ports.dialogs, [this] {
    SettingsFile status(SuiteLayout::PlainTwin(ctx_.values.ProfileDir, "status"));
    SettingsTransaction change(status);
    status.WriteInteger("POSITION", "X", mainWindow_.Left());
    status.WriteInteger("POSITION", "Y", mainWindow_.Top());
    for (std::size_t i = 0; i < kPlaceKeys.size(); ++i) {
      const WindowPlace place = PlaceOf(static_cast<AppletWindow>(i));
      status.WriteInteger("WPOS", kPlaceKeys[i].x, place.x);
      status.WriteInteger("WPOS", kPlaceKeys[i].y, place.y);
    }
    change.Commit();
    ctx_.custodo.BackupSettingsFile("status");
  });
}

WindowPlace WindowPlaces::PlaceOf(AppletWindow window) const {
  switch (window) {
    case AppletWindow::Note:
      return ctx_.values.NotePlace;
    case AppletWindow::Tel:
      return ctx_.values.TelPlace;
    case AppletWindow::DB:
      return ctx_.values.DBPlace;
    default:
      return places_[IndexOf(window)];
  }
}

void WindowPlaces::SetPlace(AppletWindow window, WindowPlace place) {
  switch (window) {
    case AppletWindow::Note:
      ctx_.values.NotePlace = place;
      break;
    case AppletWindow::Tel:
      ctx_.values.TelPlace = place;
      break;
    case AppletWindow::DB:
      ctx_.values.DBPlace = place;
      break;
    default:
      places_[IndexOf(window)] = place;
      break;
  }
}

WindowPlaces::WindowSize WindowPlaces::SizeOf(AppletWindow window) const {
  return sizes_[IndexOf(window)];
}

void WindowPlaces::SetWindowSize(AppletWindow window, WindowSize size) {
  sizes_[IndexOf(window)] = size;
}

void WindowPlaces::AddTaskbarWindow(std::function<bool()> visible) {
  taskbarWindows_.push_back(std::move(visible));
}

bool WindowPlaces::AnyTaskbarWindowVisible() const {
  return std::any_of(taskbarWindows_.begin(), taskbarWindows_.end(),
                     [](const std::function<bool()>& visible) { return visible(); });
}

}  // namespace pelorin
