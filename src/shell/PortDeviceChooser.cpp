// The device chooser of the port window: discovered ports, a typed path, refresh, and absence shown.
#include "shell/PortDeviceChooser.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace k52 {
namespace {

constexpr int kPathRole = Qt::UserRole + 1;

QString Local(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

PortDeviceChooser::PortDeviceChooser(PortScanner& scanner, QWidget* parent)
    : QWidget(parent), scanner_(scanner) {
    box_ = new QComboBox(this);
    box_->setObjectName(QStringLiteral("portDevice"));
    box_->setEditable(true);
    box_->setInsertPolicy(QComboBox::NoInsert);
    box_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    box_->setMinimumContentsLength(32);
    refresh_ = new QPushButton(tr("重新整理"), this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("portDeviceStatus"));
    connect(refresh_, &QPushButton::clicked, this, &PortDeviceChooser::Refresh);
    connect(box_, &QComboBox::editTextChanged, this, [this] { UpdateStatus(); });

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box_, 0, 0);
    layout->addWidget(refresh_, 0, 1);
    layout->addWidget(status_, 1, 0, 1, 2);
    Refresh();
}

void PortDeviceChooser::Refresh() {
    const std::string chosen = ChosenPath();
    const QSignalBlocker quiet(box_);
    box_->clear();
    for (const DiscoveredPort& p : scanner_.Scan()) {
        box_->addItem(Local(p.description) + QStringLiteral(" — ") + Local(p.PreferredPath()));
        box_->setItemData(box_->count() - 1, Local(p.PreferredPath()), kPathRole);
        box_->setItemData(box_->count() - 1, Local(p.device), Qt::ToolTipRole);
    }
    SetChosen(chosen);
}

void PortDeviceChooser::ShowPort(int comPort, const ComPortResolution& resolved, const std::string& chosen) {
    const bool fixed = resolved.source == AssignmentSource::Environment;
    fixedBy_ = fixed ? ComPortVariable(comPort) : std::string();
    box_->setEnabled(!fixed);
    box_->lineEdit()->setPlaceholderText(fixed ? QString() : Local(resolved.device));
    SetChosen(fixed ? resolved.device : chosen);
}

void PortDeviceChooser::SetChosen(const std::string& path) {
    const QSignalBlocker quiet(box_);
    const QString wanted = Local(path);
    int index = -1;
    for (int i = 0; i < box_->count() && !path.empty(); ++i)
        if (box_->itemData(i, kPathRole).toString() == wanted ||
            box_->itemData(i, Qt::ToolTipRole).toString() == wanted)
            index = i;
    box_->setCurrentIndex(index);
    if (index < 0) box_->setEditText(wanted);
    UpdateStatus();
}

std::string PortDeviceChooser::ChosenPath() const {
    const int i = box_->currentIndex();
    if (i >= 0 && box_->currentText() == box_->itemText(i))
        return box_->itemData(i, kPathRole).toString().toLocal8Bit().toStdString();
    return box_->currentText().trimmed().toLocal8Bit().toStdString();
}

void PortDeviceChooser::UpdateStatus() {
    if (!fixedBy_.empty()) {
        status_->setText(tr("由環境變數 %1 指定").arg(Local(fixedBy_)));
        return;
    }
    std::string path = ChosenPath();
    if (path.empty()) path = box_->lineEdit()->placeholderText().toLocal8Bit().toStdString();
    status_->setText(DevicePresent(path) ? QString() : tr("未連接"));
}

}  // namespace k52
