// The reference for the suite's start-up figures: a minimal Qt 6 program with a tray
// icon and one window. It prints the milliseconds from entering main() to its window
// being shown, then quits.

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

class ShownWindow : public QWidget {
 public:
  explicit ShownWindow(QElapsedTimer& clock) : clock_(clock) {}

 protected:
  void showEvent(QShowEvent*) override {
    QTimer::singleShot(0, this, [this] {
      std::printf("%lld\n", static_cast<long long>(clock_.elapsed()));
      std::fflush(stdout);
      QApplication::quit();
    });
  }

 private:
  QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  QPixmap icon(32, 32);
  icon.fill(Qt::blue);
  QSystemTrayIcon tray{QIcon(icon)};
  tray.show();
  ShownWindow window(clock);
  window.resize(97, 33);
  window.show();
  return app.exec();
}
