// The grid views of the settings dialog's lists: whole rows selected one at a time, no editing, the
// lists' font and colours, and the row that has the focus.
#pragma once

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace app {

QTableView* MakeSettingsListView(QWidget* parent, QAbstractItemModel* model);
// The focused (current) row, -1 for none.
int FocusedRow(const QTableView& view);

}  // namespace app
