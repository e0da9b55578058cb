#pragma once

#include <string>

#include "core/CoreContext.h"

namespace pelorin {

// The windows whose places the core keeps in status.hif (section WPOS).
enum class AppletWindow { Run, Note, Tel, DB, Rem, Shed, Time, CDA, PCA };

// `LoadProfile`: the one place where a profile's settings are (re)loaded, with the
// window placement and the saving of window positions.
class ProfileLoader {
 public:
  explicit ProfileLoader(CoreContext& ctx);

  void LoadProfile(const std::string& path);
  void SaveWindowPositions();

  // Where an applet window stands (after placement, or as moved since).
  WindowPlace PlaceOf(AppletWindow window) const;
  void SetPlace(AppletWindow window, WindowPlace place);

 private:
  void PlaceWindows(const class SettingsFile& status);

  CoreContext& ctx_;
  WindowPlace places_[9];
};

}  // namespace pelorin
