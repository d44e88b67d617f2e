// The port settings dialog: port and speed, stored into the template at OK.
#include "shell/ComSettingDlg.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "link/SerialLine.h"

#include "util/LineSpeeds.h"

namespace k52 {

namespace {

constexpr int kDeviceRole = Qt::UserRole + 1;

// Draws each port name as usual and the device it maps to, dimmed, at the right of the entry.
class PortDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(p, option, index);
        QString device = index.data(kDeviceRole).toString();
        if (device.isEmpty()) return;
        p->save();
        QColor c = option.palette.color((option.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                : QPalette::PlaceholderText);
        p->setPen(c);
        p->drawText(option.rect.adjusted(0, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter, device);
        p->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setWidth(s.width() + option.fontMetrics.horizontalAdvance(index.data(kDeviceRole).toString()) + 24);
        return s;
    }
};

}  // namespace

ComSettingDlg::ComSettingDlg(QWidget* owner, PortSettings& settings) : QDialog(owner), settings_(settings) {
    setWindowTitle(QStringLiteral("傳輸埠設定"));
    setModal(true);

    ports_ = new QComboBox(this);
    ports_->setObjectName(QStringLiteral("list701"));
    ports_->setItemDelegate(new PortDelegate(ports_));
    for (int i = 0; i < kComPortCount; ++i) {
        ports_->addItem(QString::fromStdString(ComPortName(i)));
        QString device = QString::fromLocal8Bit(ComPortDevice(i).c_str());
        ports_->setItemData(i, device, kDeviceRole);
        ports_->setItemData(i, device, Qt::ToolTipRole);
    }
    // The open list sizes itself by the names alone; it must also hold the devices beside them.
    ports_->view()->setMinimumWidth(ports_->view()->sizeHintForColumn(0) + 2 * ports_->view()->frameWidth());
    speeds_ = new QComboBox(this);
    speeds_->setObjectName(QStringLiteral("list702"));
    for (std::uint32_t bps : kLineSpeeds) speeds_->addItem(QString::number(bps));

    // A damaged template may hold a number beyond the lists: then nothing is selected.
    ports_->setCurrentIndex(settings.comPort < kComPortCount ? settings.comPort : -1);
    speeds_->setCurrentIndex(settings.baudRate < kBaudRateCount ? settings.baudRate : -1);

    device_ = new QLabel(this);
    device_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("/dev/ttyUSB00")));
    auto showDevice = [this](int i) {
        device_->setText(i >= 0 ? ports_->itemData(i, kDeviceRole).toString() : QString());
    };
    connect(ports_, &QComboBox::currentIndexChanged, this, showDevice);
    showDevice(ports_->currentIndex());

    ok_ = new QPushButton(QStringLiteral("確定"), this);
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    connect(ok_, &QPushButton::clicked, this, &ComSettingDlg::Confirm);
    connect(cancel_, &QPushButton::clicked, this, [this] { done(0); });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("傳輸埠 :"), this), 0, 0);
    grid->addWidget(ports_, 0, 1);
    grid->addWidget(device_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("傳輸速率 :"), this), 1, 0);
    grid->addWidget(speeds_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ComSettingDlg::Confirm() {
    if (ports_->currentIndex() >= 0) settings_.comPort = static_cast<u8>(ports_->currentIndex());
    if (speeds_->currentIndex() >= 0) settings_.baudRate = static_cast<u8>(speeds_->currentIndex());
    done(1);
}

int RunComSettingDlg(QWidget* owner, PortSettings& settings) {
    ComSettingDlg dialog(owner, settings);
    return dialog.exec();
}

}  // namespace k52
