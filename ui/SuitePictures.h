#pragma once

#include <QIcon>
#include <QPixmap>

namespace pelorin::ui {

// The suite's own pictures, drawn at run time: the tray icon's animation frames and
// the splash picture.
QIcon TrayFrame(int frame);  // frame 0..3
constexpr int kTrayFrames = 4;
QPixmap SplashPicture(int width, int height, const QString& versionLabel);

}  // namespace pelorin::ui
