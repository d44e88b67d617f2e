// What a transfer shows on the desktop: the progress window, the receive status box and their dialogs.
#include "shell/TransferWindows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

#include "i18n/Translate.h"
#include "link/TerminalLink.h"
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

// Lets the windows paint while a transfer waits; clicks and keys wait until it ends.
void PaintPending() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

ProgressDlg::ProgressDlg(const QString& title, const QString& text)
    : QWidget(nullptr,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(DialogUnits(font(), 104, 40));
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

void ProgressDlg::resizeEvent(QResizeEvent*) {
    bar_->setGeometry(14, height() / 2, width() - 28, 20);
}

void ProgressDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
}

WaitingWindow::WaitingWindow(const QString& device)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(DialogUnits(font(), 160, 40));
    label_ = new QLabel(tr("等待終端機回應… %1").arg(device), this);
    QSize origin = DialogUnits(font(), 10, 8);
    label_->setGeometry(origin.width(), origin.height(), width() - 2 * origin.width(),
                        fontMetrics().height());
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 0);  // moving without a figure: how long the terminal takes is unknown
    bar->setTextVisible(false);
    bar->setGeometry(14, height() / 2, width() - 28, 20);
    CentreOnScreen(this);
}

void WaitingWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
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

void ReceiveStatusBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(255, 255, 100));
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

QtTransferUi::QtTransferUi(MessageBoxes& messages, QWidget* owner, TransferFiles* files,
                           const FieldSeparators* separators)
    : messages_(messages), files_(files) {
    if (!files_) {
        ownFiles_ = std::make_unique<QtTransferFiles>(messages, owner, separators);
        files_ = ownFiles_.get();
    }
}

QtTransferUi::~QtTransferUi() {
    SetWaitingAside();
}

MessageAnswer QtTransferUi::ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                        MessageButtons buttons) {
    SetWaitingAside();
    return messages_.ShowMessage(text, title, icon, buttons);
}

MessageAnswer QtTransferUi::ShowDetailedMessage(std::string_view text, std::string_view title,
                                                MessageIcon icon, MessageButtons buttons,
                                                std::string_view detail) {
    SetWaitingAside();
    return messages_.ShowDetailedMessage(text, title, icon, buttons, detail);
}

void QtTransferUi::BeginTransfer(const QString& device) {
    transferDevice_ = device;
}

void QtTransferUi::EndTransfer() {
    SetWaitingAside();
    transferDevice_.reset();
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
    progress_ = std::make_unique<ProgressDlg>(FromUtf8(Translate(title)), FromUtf8(Translate(text)));
    progress_->show();
    PaintPending();
}

void QtTransferUi::SetProgress(int percent) {
    if (!progress_) return;
    progress_->bar()->setValue(percent < 0 ? 0 : percent > 100 ? 100 : percent);
    PaintPending();
}

void QtTransferUi::EndProgress() {
    progress_.reset();
}

void QtTransferUi::BeginReceiveStatus() {
    status_ = std::make_unique<ReceiveStatusBox>();
}

void QtTransferUi::UpdateReceiveStatus(int count) {
    if (!status_) return;
    status_->SetCount(count);
    waiting_.reset();
    if (!status_->isVisible()) status_->show();
    PaintPending();
}

void QtTransferUi::EndReceiveStatus() {
    status_.reset();
}

std::optional<std::string> QtTransferUi::ChooseLookupFile(const std::string& previous) {
    SetWaitingAside();
    return files_->ChooseLookupFile(previous);
}

std::optional<std::string> QtTransferUi::ChooseDataFile() {
    SetWaitingAside();
    return files_->ChooseDataFile();
}

void QtTransferUi::OpenForViewing(const std::string& path) {
    files_->OpenForViewing(path);
}

std::optional<std::string> QtTransferFiles::ChooseLookupFile(const std::string& previous) {
    return ChooseFile(
        owner_, false,
        {{QCoreApplication::translate("QtTransferFiles", "Lookup data files {*.TXT}"),
          QStringLiteral("*.TXT")},
         {QCoreApplication::translate("QtTransferFiles", "All files {*.*}"), QStringLiteral("*")}},
        QStringLiteral("TXT"), QFile::decodeName(previous.c_str()));
}

std::optional<std::string> QtTransferFiles::ChooseDataFile() {
    return ChooseFile(
        owner_, true,
        {{QCoreApplication::translate("QtTransferFiles", "Data files {*.TXT}"), QStringLiteral("*.TXT")},
         {QCoreApplication::translate("QtTransferFiles", "All files {*.*}"), QStringLiteral("*")}},
        QStringLiteral("TXT"));
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

void QtTransferUi::Idle() {
    if (transferDevice_ && !ReportShowing()) {
        if (!busyCursor_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor_ = true;
        if (!waiting_) {
            waiting_ = std::make_unique<WaitingWindow>(*transferDevice_);
            waiting_->show();
        }
    }
    PaintPending();
}

}  // namespace k52
