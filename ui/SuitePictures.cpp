#include "ui/SuitePictures.h"

#include <QLinearGradient>
#include <QPainter>

namespace pelorin::ui {

QIcon TrayFrame(int frame) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(20, 60, 120));
  p.setPen(Qt::NoPen);
  p.drawEllipse(1, 1, 30, 30);
  // A bright segment turns round the ring, a quarter per frame.
  p.setBrush(QColor(250, 200, 40));
  p.drawPie(3, 3, 26, 26, (90 - 90 * (frame % kTrayFrames)) * 16, -90 * 16);
  p.setBrush(QColor(20, 60, 120));
  p.drawEllipse(9, 9, 14, 14);
  // A bold "P" drawn as shapes: no font is needed to show the icon.
  p.setBrush(Qt::white);
  p.drawRect(12, 10, 3, 12);
  p.drawEllipse(12, 10, 9, 7);
  p.setBrush(QColor(20, 60, 120));
  p.drawEllipse(15, 12, 4, 3);
  return QIcon(pixmap);
}

QPixmap SplashPicture(int width, int height, const QString& versionLabel) {
  QPixmap pixmap(width, height);
  QPainter p(&pixmap);
  QLinearGradient gradient(0, 0, 0, height);
  gradient.setColorAt(0, QColor(20, 60, 120));
  gradient.setColorAt(1, QColor(5, 15, 40));
  p.fillRect(pixmap.rect(), gradient);
  p.setPen(QColor(250, 200, 40));
  QFont title("Arial");
  title.setBold(true);
  title.setPixelSize(40);
  p.setFont(title);
  p.drawText(QRect(0, height / 3, width, 60), Qt::AlignCenter, "Pelorin");
  QFont small("Arial");
  small.setPixelSize(13);
  p.setFont(small);
  p.setPen(Qt::white);
  p.drawText(QRect(0, height / 3 + 60, width, 24), Qt::AlignCenter, "Brimwell  Pelorin  Ovelle");
  p.drawText(QRect(0, height - 34, width - 12, 24), Qt::AlignRight | Qt::AlignVCenter,
             versionLabel);
  return pixmap;
}

}  // namespace pelorin::ui
