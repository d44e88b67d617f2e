// The rack's rows as table cells.
#include "shell/TerminalsModel.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QStyleOptionProgressBar>

namespace k52 {

TerminalsModel::TerminalsModel(TerminalRack& rack, QObject* parent)
    : QAbstractTableModel(parent), rack_(rack) {}

int TerminalsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(checked_.size());
}

int TerminalsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QString TerminalsModel::ResultText(const RackRow& r) const {
    QString text = QString::fromStdString(r.result);
    if (showFiles_ && !r.file.empty()) text += QStringLiteral("  ") + QFile::decodeName(r.file.c_str());
    return text;
}

QVariant TerminalsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= checked_.size()) return {};
    const std::size_t i = static_cast<std::size_t>(index.row());
    const RackRow& r = rack_.rows()[i];
    if (role == Qt::CheckStateRole) {
        if (index.column() == kName) return checked_[i] ? Qt::Checked : Qt::Unchecked;
        if (index.column() == kCradle) return r.cradle ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (role == kPercentRole && index.column() == kState) return r.percent;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
        case kName:
            return QString::fromStdString(r.name);
        case kDevice:
            return QFile::decodeName(r.device.c_str());
        case kPresent:
            return r.present ? QCoreApplication::translate("k52::TerminalsWindow", "已連接")
                             : QCoreApplication::translate("k52::TerminalsWindow", "未連接");
        case kState:
            return QString::fromStdString(RowStateText(r));
        case kSpeed:
            return r.bytesPerSecond > 0
                       ? QString::number(static_cast<long long>(r.bytesPerSecond)) + QStringLiteral(" B/s")
                       : QString();
        case kResult:
            // While it runs, the row shows what its transfer says now, in place of a message box.
            return ResultText(r);
        default:
            return {};
    }
}

bool TerminalsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid()) return false;
    const std::size_t i = static_cast<std::size_t>(index.row());
    const bool on = value.toInt() == Qt::Checked;
    if (index.column() == kName) {
        SetChecked(i, on);
        return true;
    }
    if (index.column() == kCradle) {
        rack_.SetCradle(i, on);
        if (cradleChanged) cradleChanged(i, on);
        RowChanged(i);
        return true;
    }
    return false;
}

Qt::ItemFlags TerminalsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == kName || index.column() == kCradle) f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant TerminalsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case kName:
            return QCoreApplication::translate("k52::TerminalsWindow", "名稱");
        case kDevice:
            return QCoreApplication::translate("k52::TerminalsWindow", "裝置");
        case kPresent:
            return QCoreApplication::translate("k52::TerminalsWindow", "連接");
        case kCradle:
            return QCoreApplication::translate("k52::TerminalsWindow", "紅外線傳輸座");
        case kState:
            return QCoreApplication::translate("k52::TerminalsWindow", "狀態");
        case kSpeed:
            return QCoreApplication::translate("k52::TerminalsWindow", "速度");
        case kResult:
            return QCoreApplication::translate("k52::TerminalsWindow", "結果");
        default:
            return {};
    }
}

void TerminalsModel::RackChanged() {
    const std::size_t rows = rack_.rows().size();
    if (rows > checked_.size()) {
        beginInsertRows({}, static_cast<int>(checked_.size()), static_cast<int>(rows) - 1);
        checked_.resize(rows, false);
        endInsertRows();
    }
    if (rows > 0) emit dataChanged(index(0, 0), index(static_cast<int>(rows) - 1, kColumns - 1));
}

void TerminalsModel::RowChanged(std::size_t row) {
    if (row >= checked_.size()) return;
    const int r = static_cast<int>(row);
    emit dataChanged(index(r, 0), index(r, kColumns - 1));
}

void TerminalsModel::SetChecked(std::size_t row, bool checked) {
    if (row >= checked_.size()) return;
    checked_[row] = checked;
    const QModelIndex cell = index(static_cast<int>(row), kName);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void StateBarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const int percent = index.data(TerminalsModel::kPercentRole).toInt();
    const QString state = index.data(Qt::DisplayRole).toString();
    QStyleOptionProgressBar bar;
    bar.rect = option.rect.adjusted(1, 1, -1, -1);
    bar.minimum = 0;
    bar.maximum = 100;
    bar.progress = std::max(percent, 0);
    bar.text = percent >= 0 ? state + QStringLiteral(" %1%").arg(percent) : state;
    bar.textVisible = true;
    bar.state = option.state | QStyle::State_Horizontal;
    QApplication::style()->drawControl(QStyle::CE_ProgressBar, &bar, painter);
}

}  // namespace k52
