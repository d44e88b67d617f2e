// The port settings dialog: port and speed, stored into the template at OK.
#include "shell/PortSettingsDialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "app/TemplateCommands.h"
#include "i18n/Translate.h"
#include "line/SerialLine.h"
#include "shell/PortDeviceChooser.h"
#include "shell/QtDialogs.h"
#include "template/TemplateFile.h"

#include "protocol/LineSpeeds.h"

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

// The file's warnings, one a line, in the user's language.
std::string Join(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += (out.empty() ? "" : "\n") + LocalizeFinished(l);
    return out;
}

}  // namespace

PortSettingsDialog::PortSettingsDialog(QWidget* owner, PortSettings& settings, PortScanner* scanner,
                                       MessageBoxes* messages)
    : QDialog(owner), settings_(settings) {
    setWindowTitle(tr("傳輸埠設定"));
    setModal(true);
    if (!scanner) {
        ownScanner_ = std::make_unique<SystemPortScanner>();
        scanner = ownScanner_.get();
    }
    if (!messages) {
        ownMessages_ = std::make_unique<QtMessageBoxes>(this);
        messages = ownMessages_.get();
    }
    messages_ = messages;
    std::vector<std::string> warnings;
    confPath_ = DefaultPortsConfPath();
    conf_ = ReadPortsConf(confPath_, &warnings);
    for (std::size_t i = 0; i < chosen_.size(); ++i) chosen_[i] = conf_.assignments()[i].value_or("");

    BuildLists();
    BuildDeviceLabel();
    chooser_ = new PortDeviceChooser(*scanner, this);
    connect(ports_, &QComboBox::currentIndexChanged, this, &PortSettingsDialog::ShowDeviceOf);
    ShowDeviceOf(ports_->currentIndex());
    auto* warningText = new QLabel(QString::fromStdString(Join(warnings)), this);
    warningText->setObjectName(QStringLiteral("portsConfWarnings"));
    warningText->setVisible(!warnings.empty());
    warningText->setWordWrap(true);

    ok_ = new QPushButton(tr("確定"), this);
    ok_->setDefault(true);
    cancel_ = new QPushButton(tr("取消"), this);
    connect(ok_, &QPushButton::clicked, this, &PortSettingsDialog::Confirm);
    connect(cancel_, &QPushButton::clicked, this, [this] { done(0); });
    LayOut(warningText);
}

// The port list, each port with the device it maps to, and the speed list, on the template's settings.
void PortSettingsDialog::BuildLists() {
    ports_ = new QComboBox(this);
    ports_->setObjectName(QStringLiteral("list701"));
    ports_->setItemDelegate(new PortDelegate(ports_));
    for (int i = 0; i < kComPortCount; ++i) {
        ports_->addItem(QString::fromStdString(ComPortName(i)));
        QString device = QString::fromLocal8Bit(ResolveComPort(i, conf_.assignments()).device.c_str());
        ports_->setItemData(i, device, kDeviceRole);
        ports_->setItemData(i, device, Qt::ToolTipRole);
    }
    // The open list sizes itself by the names alone; it must also hold the devices beside them.
    ports_->view()->setMinimumWidth(ports_->view()->sizeHintForColumn(0) + 2 * ports_->view()->frameWidth());
    speeds_ = new QComboBox(this);
    speeds_->setObjectName(QStringLiteral("list702"));
    for (std::uint32_t bps : kLineSpeeds) speeds_->addItem(QString::number(bps));

    // A damaged template may hold a number beyond the lists: then nothing is selected.
    ports_->setCurrentIndex(settings_.comPort < kComPortCount ? settings_.comPort : -1);
    speeds_->setCurrentIndex(settings_.baudRate < kBaudRateCount ? settings_.baudRate : -1);
}

// The device the selected port maps to, beside the port list.
void PortSettingsDialog::BuildDeviceLabel() {
    device_ = new QLabel(this);
    device_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("/dev/ttyUSB00")));
    auto showDevice = [this](int i) {
        device_->setText(i >= 0 ? ports_->itemData(i, kDeviceRole).toString() : QString());
    };
    connect(ports_, &QComboBox::currentIndexChanged, this, showDevice);
    showDevice(ports_->currentIndex());
}

void PortSettingsDialog::LayOut(QLabel* warningText) {
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("傳輸埠 :"), this), 0, 0);
    grid->addWidget(ports_, 0, 1);
    grid->addWidget(device_, 0, 2);
    grid->addWidget(new QLabel(tr("傳輸速率 :"), this), 1, 0);
    grid->addWidget(speeds_, 1, 1);
    grid->addWidget(new QLabel(tr("裝置 :"), this), 2, 0, Qt::AlignTop);
    grid->addWidget(chooser_, 2, 1, 1, 2);
    grid->addWidget(warningText, 3, 0, 1, 3);
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

PortSettingsDialog::~PortSettingsDialog() = default;

void PortSettingsDialog::ShowDeviceOf(int comPort) {
    if (shownPort_ >= 0) chosen_[static_cast<std::size_t>(shownPort_)] = chooser_->ChosenPath();
    shownPort_ = comPort;
    chooser_->setVisible(comPort >= 0);
    if (comPort < 0) return;
    chooser_->ShowPort(comPort, ResolveComPort(comPort, conf_.assignments()),
                       chosen_[static_cast<std::size_t>(comPort)]);
}

bool PortSettingsDialog::StoreAssignments() {
    if (shownPort_ >= 0) chosen_[static_cast<std::size_t>(shownPort_)] = chooser_->ChosenPath();
    PortsConf updated = conf_;
    bool changed = false;
    for (int i = 0; i < kComPortCount; ++i) {
        const std::string& chosen = chosen_[static_cast<std::size_t>(i)];
        const std::optional<std::string>& stored = conf_.assignments()[static_cast<std::size_t>(i)];
        // An environment override is shown, not chosen: the file's line under it stays as it is.
        if (ResolveComPort(i, conf_.assignments()).source == AssignmentSource::Environment) continue;
        if (chosen == stored.value_or("")) continue;
        changed = true;
        if (chosen.empty()) {
            updated.Unassign(i);
        } else if (!updated.Assign(i, StableDevicePath(chosen))) {
            messages_->ShowMessage(
                Localize("%1: \"%2\" is not a device path such as /dev/ttyUSB0", {ComPortName(i), chosen}),
                kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
            return false;
        }
    }
    std::string error;
    if (changed && !WritePortsConf(confPath_, updated, &error)) {
        messages_->ShowMessage(Localize("The port assignments could not be stored: %1", {error}), kErrorTitle,
                               MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    conf_ = std::move(updated);
    return true;
}

void PortSettingsDialog::Confirm() {
    if (!StoreAssignments()) return;
    if (ports_->currentIndex() >= 0) settings_.comPort = static_cast<u8>(ports_->currentIndex());
    if (speeds_->currentIndex() >= 0) settings_.baudRate = static_cast<u8>(speeds_->currentIndex());
    done(1);
}

int RunPortSettingsDialog(QWidget* owner, PortSettings& settings, MessageBoxes* messages) {
    PortSettingsDialog dialog(owner, settings, nullptr, messages);
    return dialog.exec();
}

}  // namespace k52
