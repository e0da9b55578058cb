#include "ui/MenuPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace pelorin::ui {

namespace {

// The shapes the pictures are made of, each drawn on a 32 x 32 square.
enum class Glyph {
  Window,
  Disc,
  Gear,
  Landscape,
  MusicNote,
  Document,
  Film,
  Folder,
  Book,
  Calendar,
  Bell,
  Hourglass,
  Calculator,
  Monitor,
  Strip,
  PowerSign,
  Moon,
  Snowflake,
  Restart,
  Person,
  Padlock,
  OpenPadlock,
  Door,
  Pencil,
};

struct Look {
  Glyph glyph;
  QColor colour;
};

constexpr int kSize = 32;

void DrawGlyph(QPainter& p, Glyph glyph, const QColor& colour) {
  const QColor dark = colour.darker(170);
  p.setPen(QPen(dark, 2));
  p.setBrush(colour);
  switch (glyph) {
    case Glyph::Window:
      p.drawRect(3, 5, 26, 22);
      p.setBrush(dark);
      p.drawRect(3, 5, 26, 6);
      break;
    case Glyph::Disc:
      p.drawEllipse(3, 3, 26, 26);
      p.setBrush(Qt::white);
      p.drawEllipse(12, 12, 8, 8);
      break;
    case Glyph::Gear:
      for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(16, 16);
        p.rotate(45.0 * i);
        p.drawRect(-3, -15, 6, 8);
        p.restore();
      }
      p.drawEllipse(6, 6, 20, 20);
      p.setBrush(Qt::white);
      p.drawEllipse(12, 12, 8, 8);
      break;
    case Glyph::Landscape:
      p.setBrush(QColor(200, 230, 255));
      p.drawRect(3, 5, 26, 22);
      p.setBrush(colour);
      p.drawPolygon(QPolygon(
          {QPoint(4, 26), QPoint(13, 13), QPoint(20, 21), QPoint(24, 16), QPoint(28, 26)}));
      break;
    case Glyph::MusicNote:
      p.drawEllipse(5, 20, 9, 7);
      p.drawEllipse(18, 17, 9, 7);
      p.drawLine(13, 23, 13, 6);
      p.drawLine(26, 20, 26, 4);
      p.drawLine(13, 6, 26, 4);
      break;
    case Glyph::Document:
      p.setBrush(Qt::white);
      p.drawPolygon(
          QPolygon({QPoint(6, 3), QPoint(20, 3), QPoint(26, 9), QPoint(26, 29), QPoint(6, 29)}));
      p.setPen(QPen(colour, 2));
      for (int y = 12; y <= 24; y += 4)
        p.drawLine(10, y, 22, y);
      break;
    case Glyph::Film:
      p.setBrush(dark);
      p.drawRect(4, 3, 24, 26);
      p.setBrush(colour);
      p.drawRect(9, 7, 14, 18);
      p.setBrush(Qt::white);
      for (int y = 6; y <= 24; y += 6) {
        p.drawRect(5, y, 2, 3);
        p.drawRect(25, y, 2, 3);
      }
      break;
    case Glyph::Folder:
      p.drawPolygon(QPolygon({QPoint(3, 8), QPoint(12, 8), QPoint(15, 11), QPoint(29, 11),
                              QPoint(29, 27), QPoint(3, 27)}));
      break;
    case Glyph::Book:
      p.drawRect(6, 3, 21, 26);
      p.setBrush(dark);
      p.drawRect(6, 3, 5, 26);
      p.setPen(QPen(Qt::white, 2));
      p.drawLine(15, 10, 23, 10);
      break;
    case Glyph::Calendar:
      p.setBrush(Qt::white);
      p.drawRect(4, 6, 24, 22);
      p.setBrush(colour);
      p.drawRect(4, 6, 24, 7);
      p.setPen(Qt::NoPen);
      p.setBrush(dark);
      for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 4; ++column)
          p.drawRect(7 + column * 5, 16 + row * 5, 3, 3);
      }
      break;
    case Glyph::Bell: {
      QPainterPath bell;
      bell.moveTo(5, 24);
      bell.cubicTo(9, 20, 7, 5, 16, 5);
      bell.cubicTo(25, 5, 23, 20, 27, 24);
      bell.closeSubpath();
      p.drawPath(bell);
      p.drawEllipse(13, 24, 6, 6);
      break;
    }
    case Glyph::Hourglass:
      p.drawPolygon(QPolygon({QPoint(7, 4), QPoint(25, 4), QPoint(16, 16)}));
      p.drawPolygon(QPolygon({QPoint(16, 16), QPoint(25, 28), QPoint(7, 28)}));
      break;
    case Glyph::Calculator:
      p.drawRect(6, 3, 20, 26);
      p.setBrush(QColor(200, 230, 200));
      p.drawRect(9, 6, 14, 6);
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
          p.drawRect(9 + column * 5, 15 + row * 5, 3, 3);
      }
      break;
    case Glyph::Monitor:
      p.drawRect(3, 4, 26, 18);
      p.setBrush(dark);
      p.drawRect(12, 23, 8, 3);
      p.drawRect(8, 26, 16, 3);
      break;
    case Glyph::Strip:
      p.setBrush(dark);
      p.drawRect(2, 9, 28, 14);
      p.setPen(QPen(colour, 2));
      p.drawLine(5, 13, 13, 13);
      p.drawLine(19, 13, 27, 13);
      p.drawLine(9, 19, 23, 19);
      break;
    case Glyph::PowerSign:
      p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(5, 6, 22, 22, 125 * 16, -250 * 16);
      p.drawLine(16, 3, 16, 15);
      break;
    case Glyph::Moon: {
      QPainterPath moon;
      moon.addEllipse(4, 4, 24, 24);
      QPainterPath bite;
      bite.addEllipse(12, 1, 20, 20);
      p.drawPath(moon.subtracted(bite));
      break;
    }
    case Glyph::Snowflake:
      p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
      for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(16, 16);
        p.rotate(60.0 * i);
        p.drawLine(0, -13, 0, 13);
        p.restore();
      }
      break;
    case Glyph::Restart:
      p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(5, 5, 22, 22, 90 * 16, 270 * 16);
      p.setPen(Qt::NoPen);
      p.setBrush(colour);
      p.drawPolygon(QPolygon({QPoint(14, 0), QPoint(23, 5), QPoint(14, 11)}));
      break;
    case Glyph::Person:
      p.drawEllipse(10, 3, 12, 12);
      p.drawChord(4, 16, 24, 26, 0, 180 * 16);
      break;
    case Glyph::Padlock:
    case Glyph::OpenPadlock:
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(dark, 3));
      if (glyph == Glyph::Padlock) {
        p.drawArc(9, 3, 14, 16, 0, 180 * 16);
        p.drawLine(9, 11, 9, 15);
        p.drawLine(23, 11, 23, 15);
      } else {
        p.drawArc(15, 1, 14, 16, 0, 180 * 16);
        p.drawLine(29, 9, 29, 13);
      }
      p.setPen(QPen(dark, 2));
      p.setBrush(colour);
      p.drawRect(5, 14, 22, 15);
      break;
    case Glyph::Door:
      p.setBrush(QColor(120, 80, 40));
      p.drawRect(5, 3, 14, 26);
      p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(14, 16, 28, 16);
      p.drawLine(22, 10, 28, 16);
      p.drawLine(22, 22, 28, 16);
      break;
    case Glyph::Pencil:
      p.drawPolygon(
          QPolygon({QPoint(22, 3), QPoint(29, 10), QPoint(11, 28), QPoint(3, 29), QPoint(4, 21)}));
      break;
  }
}

QIcon Draw(const Look& look) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawGlyph(p, look.glyph, look.colour);
  p.end();
  return QIcon(pixmap);
}

Look LookOf(MenuPicture picture) {
  switch (picture) {
    case MenuPicture::Programs:
      return {Glyph::Window, QColor(60, 120, 200)};
    case MenuPicture::Notebook:
      return {Glyph::Book, QColor(230, 170, 40)};
    case MenuPicture::PhoneBook:
      return {Glyph::Book, QColor(60, 160, 90)};
    case MenuPicture::DayBook:
      return {Glyph::Book, QColor(180, 60, 60)};
    case MenuPicture::Organizer:
      return {Glyph::Calendar, QColor(200, 70, 50)};
    case MenuPicture::Reminder:
      return {Glyph::Bell, QColor(240, 190, 40)};
    case MenuPicture::Duzuzoze:
      return {Glyph::Hourglass, QColor(210, 160, 90)};
    case MenuPicture::CdPlayer:
      return {Glyph::MusicNote, QColor(120, 70, 180)};
    case MenuPicture::Calculator:
      return {Glyph::Calculator, QColor(110, 110, 120)};
    case MenuPicture::CdAgent:
      return {Glyph::Disc, QColor(170, 180, 200)};
    case MenuPicture::PcAgent:
      return {Glyph::Monitor, QColor(70, 130, 190)};
    case MenuPicture::Panel:
      return {Glyph::Strip, QColor(220, 230, 245)};
    case MenuPicture::Power:
      return {Glyph::PowerSign, QColor(40, 150, 70)};
    case MenuPicture::Profiles:
      return {Glyph::Person, QColor(90, 140, 210)};
    case MenuPicture::Preferences:
      return {Glyph::Gear, QColor(140, 140, 150)};
    case MenuPicture::Lock:
      return {Glyph::Padlock, QColor(230, 180, 40)};
    case MenuPicture::Unlock:
      return {Glyph::OpenPadlock, QColor(230, 180, 40)};
    case MenuPicture::Exit:
      return {Glyph::Door, QColor(200, 50, 50)};
    case MenuPicture::PowerOff:
      return {Glyph::PowerSign, QColor(200, 50, 50)};
    case MenuPicture::Hibernate:
      return {Glyph::Snowflake, QColor(80, 160, 220)};
    case MenuPicture::Sleep:
      return {Glyph::Moon, QColor(240, 200, 80)};
    case MenuPicture::Restart:
      return {Glyph::Restart, QColor(40, 150, 70)};
    case MenuPicture::None:
      break;
  }
  return {Glyph::Window, QColor()};
}

// The icon styles in their order: "Executable - Normal", "- CD needed", "- System",
// "- Graphics", "- Music", "- Editor", "Text file", "Document file", "Video file",
// "Sound or music file", "Other type of file", "Folder".
constexpr Glyph kStyleGlyphs[kProgramStyles] = {
    Glyph::Window,    Glyph::Disc,      Glyph::Gear,     Glyph::Landscape,
    Glyph::MusicNote, Glyph::Pencil,    Glyph::Document, Glyph::Document,
    Glyph::Film,      Glyph::MusicNote, Glyph::Document, Glyph::Folder,
};
const QColor kStyleColours[kProgramStyles] = {
    QColor(60, 120, 200), QColor(170, 180, 200), QColor(140, 140, 150), QColor(60, 160, 90),
    QColor(120, 70, 180), QColor(230, 170, 40),  QColor(150, 150, 150), QColor(60, 110, 200),
    QColor(90, 90, 100),  QColor(200, 90, 160),  QColor(190, 190, 190), QColor(235, 190, 70),
};

}  // namespace

QIcon MenuPictureIcon(MenuPicture picture) {
  if (picture == MenuPicture::None) return QIcon();
  return Draw(LookOf(picture));
}

QIcon ProgramStyleIcon(int style) {
  if (style < 0 || style >= kProgramStyles) return QIcon();
  return Draw({kStyleGlyphs[style], kStyleColours[style]});
}

}  // namespace pelorin::ui
