// The Terminals window's table as a model over the rack: a row per port, the check that picks it, its
// cradle choice, and what its transfer or collecting shows; a delegate draws the state as a bar.
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <functional>
#include <vector>

#include "app/TerminalRack.h"

namespace k52 {

class TerminalsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { kName, kDevice, kPresent, kCradle, kState, kSpeed, kResult, kColumns };
    // The state column's percentage (-1 while not known), for the delegate.
    static constexpr int kPercentRole = Qt::UserRole + 1;

    explicit TerminalsModel(TerminalRack& rack, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The rack has rows beyond those shown (a scan added them) or changed them: shown again.
    void RackChanged();
    void RowChanged(std::size_t row);
    bool checked(std::size_t row) const { return row < checked_.size() && checked_[row]; }
    void SetChecked(std::size_t row, bool checked);
    // Whether every transfer has ended, so a finished receive's row names its file.
    void setShowFiles(bool show) { showFiles_ = show; }

    // The person changed a row's cradle choice.
    std::function<void(std::size_t row, bool cradle)> cradleChanged;

  private:
    QString ResultText(const RackRow& r) const;

    TerminalRack& rack_;
    std::vector<bool> checked_;
    bool showFiles_ = true;
};

// The state column: the row's phase as text on a bar that fills with its percentage.
class StateBarDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace k52
