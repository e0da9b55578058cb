#include "ui/ListRows.h"

namespace pelorin::ui {

void KeepRows(QTreeWidget& list, int count, Qt::ItemFlags extraFlags) {
  while (list.topLevelItemCount() > count)
    delete list.takeTopLevelItem(list.topLevelItemCount() - 1);
  while (list.topLevelItemCount() < count) {
    auto* item = new QTreeWidgetItem;
    item->setFlags(item->flags() | extraFlags);
    list.addTopLevelItem(item);
  }
}

void ShowSelectedRow(QTreeWidget& list, int row) {
  list.clearSelection();
  if (QTreeWidgetItem* item = list.topLevelItem(row)) {
    item->setSelected(true);
    list.setCurrentItem(item);
  }
}

int SelectedRow(const QTreeWidget& list) {
  const QList<QTreeWidgetItem*> selected = list.selectedItems();
  return selected.isEmpty() ? -1 : list.indexOfTopLevelItem(selected.front());
}

}  // namespace pelorin::ui
