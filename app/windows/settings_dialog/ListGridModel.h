// The small model behind the dialogs' grid views: its rows are the entries of a live list, read
// through the functions it is given, so a row always shows its entry as it is now. Refill resets the
// view after the list changed.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <vector>

namespace app {

struct TGridColumn {
    QString Header;
    std::function<QString(int row)> Text;  // empty: no text
    std::function<int(int row)> Image;     // an AmpelImage index, -1 for none; empty: no image
};

class TListGridModel : public QAbstractTableModel {
public:
    TListGridModel(std::function<int()> rowCount, std::vector<TGridColumn> columns, QObject* parent = nullptr);

    void Refill();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::function<int()> rowCount_;
    std::vector<TGridColumn> columns_;
};

}  // namespace app
