#include "app/windows/settings_dialog/SettingsListView.h"

#include <QHeaderView>
#include <QTableView>

namespace app {

QTableView* MakeSettingsListView(QWidget* parent, QAbstractItemModel* model) {
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setSectionsMovable(true);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setStyleSheet(QStringLiteral("QTableView::item:selected { color: white; }"));
    return view;
}

int FocusedRow(const QTableView& view) {
    const QModelIndex current = view.currentIndex();
    return current.isValid() ? current.row() : -1;
}

}  // namespace app
