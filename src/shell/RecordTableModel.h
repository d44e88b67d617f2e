// The received records as a Qt table model: one row per record, its fields as columns, or the whole
// line in one column.
#pragma once

#include <QAbstractTableModel>

#include "template/RecordTable.h"

namespace k52 {

class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetTable(RecordTable table);
    const RecordTable& table() const { return table_; }
    // Raw: each record as it came, in one column.
    void SetRaw(bool raw);
    bool raw() const { return raw_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The cell's text, empty beyond the end of a short row.
    QString Text(int row, int column) const;

  private:
    RecordTable table_;
    bool raw_ = false;
};

}  // namespace k52
