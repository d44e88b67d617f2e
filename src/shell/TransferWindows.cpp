// What a transfer shows on the desktop: the progress window, the receive status box and their dialogs.
#include "shell/TransferWindows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "i18n/Translate.h"
#include "shell/DataViewer.h"
#include "shell/QtDialogs.h"
#include "shell/Shell.h"

namespace k52 {

namespace {

// Dialog units of the default font, as dialog templates measure.
QSize DialogUnits(const QFont& font, int w, int h) {
    QFontMetrics fm(font);
    double baseX =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
    double baseY = fm.height();
    return QSize(static_cast<int>(w * baseX / 4 + 0.5), static_cast<int>(h * baseY / 8 + 0.5));
}

void CentreOnScreen(QWidget* w) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect area = screen->geometry();
    w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
}

}  // namespace

// "取消" under the bar, at the window's bottom right.
QPushButton* AddCancelButton(QWidget* window) {
    auto* button = new QPushButton(QCoreApplication::translate("TransferWindows", "取消"), window);
    button->setAutoDefault(false);
    return button;
}

void PlaceCancelButton(QWidget* window, QPushButton* button) {
    const QSize hint = button->sizeHint();
    button->setGeometry(window->width() - hint.width() - 14, window->height() - hint.height() - 8,
                        hint.width(), hint.height());
}

ProgressDialog::ProgressDialog(const QString& title, const QString& text)
    : QWidget(nullptr,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose, false);
    cancel_ = AddCancelButton(this);
    setFixedSize(DialogUnits(font(), 104, 40) + QSize(0, cancel_->sizeHint().height() + 8));
    connect(cancel_, &QPushButton::clicked, this, &ProgressDialog::cancelRequested);
    label_ = new QLabel(text, this);
    QSize origin = DialogUnits(font(), 10, 8);
    QSize size = DialogUnits(font(), 80, 12);
    label_->setGeometry(origin.width(), origin.height(), size.width(), size.height());
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("Downloading"));
    bar_->setAccessibleName(QStringLiteral("Downloading"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    CentreOnScreen(this);
}

void ProgressDialog::resizeEvent(QResizeEvent*) {
    bar_->setGeometry(14, DialogUnits(font(), 104, 40).height() / 2, width() - 28, 20);
    PlaceCancelButton(this, cancel_);
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit cancelRequested();
}

void ProgressDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) emit cancelRequested();
}

WaitingWindow::WaitingWindow(const QString& device)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    setAttribute(Qt::WA_ShowWithoutActivating);
    cancel_ = AddCancelButton(this);
    setFixedSize(DialogUnits(font(), 160, 40) + QSize(0, cancel_->sizeHint().height() + 8));
    connect(cancel_, &QPushButton::clicked, this, &WaitingWindow::cancelRequested);
    label_ = new QLabel(tr("等待終端機回應… %1").arg(device), this);
    QSize origin = DialogUnits(font(), 10, 8);
    label_->setGeometry(origin.width(), origin.height(), width() - 2 * origin.width(),
                        fontMetrics().height());
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 0);  // moving without a figure: how long the terminal takes is unknown
    bar->setTextVisible(false);
    bar->setGeometry(14, DialogUnits(font(), 160, 40).height() / 2, width() - 28, 20);
    PlaceCancelButton(this, cancel_);
    CentreOnScreen(this);
}

void WaitingWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit cancelRequested();
}

void WaitingWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) emit cancelRequested();
}

ReceiveStatusBox::ReceiveStatusBox()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    QFontMetrics fm(font());
    setFixedSize(fm.horizontalAdvance(QStringLiteral("Data received : 0   ")) + 20, 40);
    CentreOnScreen(this);
}

QString ReceiveStatusBox::text() const {
    return tr("Data received : %1").arg(count_);
}

void ReceiveStatusBox::SetCount(int count) {
    count_ = count;
    update();
}

void ReceiveStatusBox::mousePressEvent(QMouseEvent*) {
    emit cancelRequested();
}

void ReceiveStatusBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(255, 255, 100));
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

QtTransferUi::QtTransferUi(MessageBoxes& messages, QWidget*) : messages_(messages) {}

QtTransferUi::~QtTransferUi() {
    SetWaitingAside();
}

MessageAnswer QtTransferUi::ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                        MessageButtons buttons) {
    return ShowDetailedMessage(text, title, icon, buttons, {});
}

MessageAnswer QtTransferUi::ShowDetailedMessage(std::string_view text, std::string_view title,
                                                MessageIcon icon, MessageButtons buttons,
                                                std::string_view detail) {
    SetWaitingAside();
    ++boxesUp_;
    const MessageAnswer answer = messages_.ShowDetailedMessage(text, title, icon, buttons, detail);
    --boxesUp_;
    return answer;
}

void QtTransferUi::BeginTransfer(const QString& device, std::function<void()> onCancel) {
    transferDevice_ = device;
    onCancel_ = std::move(onCancel);
}

void QtTransferUi::Cancel() {
    if (onCancel_) onCancel_();
}

void QtTransferUi::EndTransfer() {
    SetWaitingAside();
    progress_.reset();
    status_.reset();
    transferDevice_.reset();
    onCancel_ = {};
}

void QtTransferUi::SetWaitingAside() {
    waiting_.reset();
    if (busyCursor_) QGuiApplication::restoreOverrideCursor();
    busyCursor_ = false;
}

bool QtTransferUi::ReportShowing() const {
    return (progress_ && progress_->isVisible()) || (status_ && status_->isVisible());
}

void QtTransferUi::BeginProgress(std::string_view title, std::string_view text) {
    waiting_.reset();
    progress_ = std::make_unique<ProgressDialog>(FromUtf8(title), FromUtf8(text));
    QObject::connect(progress_.get(), &ProgressDialog::cancelRequested, [this] { Cancel(); });
    progress_->show();
}

void QtTransferUi::SetProgress(int percent) {
    if (!progress_) return;
    progress_->bar()->setValue(percent < 0 ? 0 : percent > 100 ? 100 : percent);
}

void QtTransferUi::EndProgress() {
    progress_.reset();
}

void QtTransferUi::BeginReceiveStatus() {
    status_ = std::make_unique<ReceiveStatusBox>();
    QObject::connect(status_.get(), &ReceiveStatusBox::cancelRequested, [this] { Cancel(); });
}

void QtTransferUi::UpdateReceiveStatus(int count) {
    if (!status_) return;
    status_->SetCount(count);
    waiting_.reset();
    if (!status_->isVisible()) status_->show();
}

void QtTransferUi::EndReceiveStatus() {
    status_.reset();
}

std::optional<std::string> QtTransferFiles::ChooseLookupFile(const std::string& previous) {
    return ChooseFile(
        owner_, false,
        {{QCoreApplication::translate("QtTransferFiles", "Lookup data files {*.TXT}"),
          QStringLiteral("*.TXT")},
         {QCoreApplication::translate("QtTransferFiles", "All files {*.*}"), QStringLiteral("*")}},
        QStringLiteral("TXT"), QFile::decodeName(previous.c_str()), kLookupFolderKey);
}

std::optional<int> QtTransferFiles::ChooseLookupNumber(const std::vector<int>& defined,
                                                       const ApplicationTemplate& tmpl) {
    static const char* const kNames[] = {QT_TRANSLATE_NOOP("QtTransferFiles", "第一索引檔"),
                                         QT_TRANSLATE_NOOP("QtTransferFiles", "第二索引檔"),
                                         QT_TRANSLATE_NOOP("QtTransferFiles", "第三索引檔")};
    QStringList items;
    for (int n : defined) {
        const LookupFileRecord& layout = tmpl.lookupFile(n);
        items << QCoreApplication::translate("QtTransferFiles", "%1 (每筆 %2 位元組, %3 個欄位)")
                     .arg(QCoreApplication::translate("QtTransferFiles", kNames[n - 1]))
                     .arg(layout.recordLength)
                     .arg(layout.fieldCount);
    }
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(owner_, QCoreApplication::translate("QtTransferFiles", "下載索引檔"),
                              QCoreApplication::translate("QtTransferFiles", "這個資料檔要填入哪一個索引檔?"),
                              items, 0, false, &ok);
    if (!ok) return std::nullopt;
    const auto at = items.indexOf(chosen);
    return at < 0 ? std::nullopt : std::optional<int>(defined[static_cast<std::size_t>(at)]);
}

std::optional<std::string> QtTransferFiles::ChooseDataFile() {
    return ChooseFile(
        owner_, true,
        {{QCoreApplication::translate("QtTransferFiles", "Data files {*.TXT}"), QStringLiteral("*.TXT")},
         {QCoreApplication::translate("QtTransferFiles", "All files {*.*}"), QStringLiteral("*")}},
        QStringLiteral("TXT"), {}, kReceivedFolderKey);
}

void QtTransferFiles::OpenForViewing(const std::string& path) {
    // The desktop's text viewers read UTF-8; the records are CP950, so they get a viewer of our own.
    const FieldSeparators comma{44, 0};
    auto* viewer = new DataViewer(separators_ ? *separators_ : comma, messages_, owner_);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    if (!viewer->Open(QFile::decodeName(path.c_str()))) {
        delete viewer;
        return;
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

void QtTransferUi::ShowWaiting() {
    if (transferDevice_ && !ReportShowing() && boxesUp_ == 0) {
        if (!busyCursor_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor_ = true;
        if (!waiting_) {
            waiting_ = std::make_unique<WaitingWindow>(*transferDevice_);
            QObject::connect(waiting_.get(), &WaitingWindow::cancelRequested, [this] { Cancel(); });
            waiting_->show();
        }
    }
}

}  // namespace k52
