#include "app/windows/settings_dialog/ListGridModel.h"

#include <QColor>
#include <QFont>

#include "app/windows/base/AmpelImages.h"

namespace app {

TListGridModel::TListGridModel(std::function<int()> rowCount, std::vector<TGridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), rowCount_(std::move(rowCount)), columns_(std::move(columns)) {}

void TListGridModel::Refill() {
    beginResetModel();
    endResetModel();
}

int TListGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rowCount_(); }

int TListGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TListGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount_() || index.column() >= columnCount()) return {};
    const TGridColumn& column = columns_[static_cast<size_t>(index.column())];
    switch (role) {
        case Qt::DisplayRole:
            return column.Text ? QVariant(column.Text(index.row())) : QVariant();
        case Qt::DecorationRole: {
            if (!column.Image) return {};
            const int image = column.Image(index.row());
            return image < 0 ? QVariant() : QVariant(AmpelImage(image));
        }
        case Qt::FontRole:
            return QFont(QStringLiteral("Verdana"), 8);
        case Qt::ForegroundRole:
            return QColor(0x00, 0x00, 0x80);  // navy; the view's selection draws white
        default:
            return {};
    }
}

QVariant TListGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
    return columns_[static_cast<size_t>(section)].Header;
}

}  // namespace app
