// Received records as a Qt table model over the core's record table.
#include "shell/RecordTableModel.h"

#include "shell/QtDialogs.h"

namespace k52 {

void RecordTableModel::SetTable(RecordTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

void RecordTableModel::SetRaw(bool raw) {
    if (raw == raw_) return;
    beginResetModel();
    raw_ = raw;
    endResetModel();
}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || table_.rows.empty()) return 0;
    return raw_ ? 1 : static_cast<int>(table_.columnCount());
}

QString RecordTableModel::Text(int row, int column) const {
    if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= table_.rows.size()) return {};
    const RecordRow& r = table_.rows[static_cast<std::size_t>(row)];
    if (raw_) return column == 0 ? FromUtf8(r.line) : QString();
    const auto c = static_cast<std::size_t>(column);
    return c < r.fields.size() ? FromUtf8(r.fields[c]) : QString();
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    return Text(index.row(), index.column());
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return QString::number(section + 1);
    if (raw_) return tr("資料");
    return tr("欄位 %1").arg(section + 1);
}

}  // namespace k52
