#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>

namespace pelorin::ui {

// The busy box shown while a profile loads: a caption, a line of text and a progress
// bar, centred and on top.
class BusyBox : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kPaintAfterMs = 150;

  BusyBox();
  void Show(const QString& caption, const QString& text);
  void SetProgress(int position);

 private:
  QLabel* text_;
  QProgressBar* progress_;
  QElapsedTimer shownFor_;
};

}  // namespace pelorin::ui
