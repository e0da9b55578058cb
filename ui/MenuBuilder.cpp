#include "ui/MenuBuilder.h"

#include <QActionGroup>
#include <QTimer>

#include "ui/MenuPictures.h"

namespace pelorin::ui {

namespace {

QIcon PictureOf(const MenuItem& item) {
  if (item.picture != MenuPicture::None) return MenuPictureIcon(item.picture);
  return ProgramStyleIcon(item.programPicture);
}

}  // namespace

void FillMenu(QMenu& menu, const MenuItem& items) {
  QActionGroup* radios = nullptr;
  for (const MenuItem& item : items.children) {
    if (!item.visible) continue;
    if (item.separator) {
      menu.addSeparator();
      continue;
    }
    const QString caption = QString::fromStdString(item.caption);
    if (!item.children.empty()) {
      QMenu* sub = menu.addMenu(PictureOf(item), caption);
      sub->setEnabled(item.enabled);
      FillMenu(*sub, item);
      continue;
    }
    QAction* action = menu.addAction(PictureOf(item), caption);
    action->setEnabled(item.enabled);
    if (item.radio) {
      if (radios == nullptr) radios = new QActionGroup(&menu);
      action->setCheckable(true);
      action->setChecked(item.checked);
      radios->addAction(action);
    } else if (item.checked) {
      action->setCheckable(true);
      action->setChecked(true);
    }
    if (item.onClick) {
      // Run the action once the menu has closed, as the suite's handlers expect.
      auto onClick = item.onClick;
      QObject::connect(action, &QAction::triggered, &menu,
                       [onClick] { QTimer::singleShot(0, [onClick] { onClick(); }); });
    }
  }
}

}  // namespace pelorin::ui
