#pragma once

#include <QTreeWidget>

namespace pelorin::ui {

// A list that follows its model's rows: `count` rows are kept (new ones made with
// `extraFlags`), and the item of each row is given back for its texts.
void KeepRows(QTreeWidget& list, int count, Qt::ItemFlags extraFlags = {});
// Selects row `row` as the model says (none when it is out of range).
void ShowSelectedRow(QTreeWidget& list, int row);
// The row of the selected item, or -1.
int SelectedRow(const QTreeWidget& list);

}  // namespace pelorin::ui
