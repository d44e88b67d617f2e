// The main window: the terminal picture, the command menu, shortcuts and close requests.
#include "shell/MainWindow.h"

#include <QAction>
#include <QBitmap>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QTimer>

#include "app/DeskTransfer.h"
#include "editor/ui/EditorSheetDialog.h"
#include "i18n/Translate.h"
#include "ports/PortResolver.h"
#include "shell/AboutBox.h"
#include "shell/CommandMenuQt.h"
#include "shell/DeskSettings.h"
#include "shell/HelpWindow.h"
#include "shell/PortSettingsDialog.h"
#include "shell/QtDialogs.h"
#include "shell/ShortcutKeys.h"
#include "shell/TerminalsWindow.h"
#include "shell/TransferThread.h"
#include "shell/TransferWindows.h"
#include "shell/UnsimulatedNote.h"
#include "shell/Zoom.h"
#include "simulator/Unsimulated.h"
#include "simulator/ui/SimulatorWidget.h"
#include "template/Defaults.h"
#include "util/RegularFile.h"

namespace k52 {

namespace {

// Why `path` cannot be read as a template file, or empty when it can. Open's dialog never offers such a
// file, so Open itself has no message for it. A FIFO or device is refused without waiting on it, before
// the window could be kept from appearing.
std::string UnreadableReason(const std::string& path) {
    std::string reason;
    return OpenRegularFileForReading(path, &reason) ? std::string() : reason;
}

}  // namespace

EditorSheetFn DefaultEditorSheet() {
    return &OpenEditorSheet;
}

MainWindow::MainWindow(const DesktopServices& services)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), editorSheet_(DefaultEditorSheet()) {
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    setFixedSize(180, 400);
    move(300, 50);

    if (services.messages) {
        messages_ = services.messages;
    } else {
        ownMessages_ = std::make_unique<QtMessageBoxes>(this);
        messages_ = ownMessages_.get();
    }
    if (services.templateDialogs) {
        dialogs_ = services.templateDialogs;
    } else {
        ownDialogs_ = std::make_unique<QtTemplateFileDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    shell_ = std::make_unique<Shell>(doc_, *messages_, *dialogs_, static_cast<ShellActions&>(*this));
    shell_->recentFiles().Set(StoredRecentFiles());
    transferUi_ = std::make_unique<QtTransferUi>(*messages_, this);
    TransferChoices* files = services.transferFiles;
    if (!files) {
        ownFiles_ = std::make_unique<QtTransferFiles>(*messages_, this, &doc_.tmpl.fieldSeparators);
        files = ownFiles_.get();
    }
    files_ = files;
    scanner_ = services.scanner;
    terminalServices_ = services.terminals;
    link_ = std::make_unique<TerminalLink>(doc_.tmpl, services.lines ? *services.lines : ownLines_,
                                           services.linkClock ? *services.linkClock : ownClock_);
    desk_ = std::make_unique<DeskTransfer>(*link_, *transferUi_, *files);
    worker_ = new TransferThread(
        *transferUi_, [this](const Notice& failed) { return desk_->AskRetry(failed); }, this);
    connect(worker_, &TransferThread::done, this, &MainWindow::TransferEnded);

    // The template holds its defaults before the simulator starts on it.
    shell_->Startup();
    simulator_ = new SimulatorWidget(doc_.tmpl, *messages_, this, services.clock);
    simulator_->move(0, 0);
    menu_ = BuildCommandMenu(this, &shell_->recentFiles());
    simulator_->setCommandMenu(menu_);
    connect(simulator_, &SimulatorWidget::commandRequested, this, &MainWindow::OnCommand);
    simulator_->installEventFilter(this);
    // Keys typed on the terminal's window are the terminal's.
    setFocusProxy(simulator_);
    simulator_->setFocus();
    note_ = new UnsimulatedNote(this);

    // The window takes the shape of the case.
    ApplyZoom(kNoZoom);

    for (const ShortcutKey& k : kShortcutKeys) {
        auto* s = new QShortcut(QKeySequence(QString::fromLatin1(k.keys)), this);
        // Window managers close on Alt+F4 themselves; without one the key still asks to close.
        if (k.command == kCmdExit)
            connect(s, &QShortcut::activated, this, [this] { close(); });
        else
            connect(s, &QShortcut::activated, this, [this, id = k.command] { OnCommand(id); });
    }
    SetUpUnsavedCopies(services.unsavedFolder);
}

MainWindow::~MainWindow() {
    // The worker goes first: it still talks to the windows and the link below.
    delete worker_;
    worker_ = nullptr;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The window's icon is the whole case, converted and sent to the display when set: it follows the
    // first picture instead of holding it up.
    if (iconPending_ && watched == simulator_ && event->type() == QEvent::Paint) {
        iconPending_ = false;
        QTimer::singleShot(0, this, [this] { setWindowIcon(QIcon(TerminalImage(kCaseImageId))); });
    }
    // While a transfer runs the terminal takes no keys or clicks, as a modal command would have it.
    if (transferRunning_ && watched == simulator_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::OnCommand(int id) {
    // A transfer keeps the program modal: nothing else starts until it ends.
    if (transferRunning_) return;
    shell_->OnCommand(id);
    UpdateTitle();
}

void MainWindow::UpdateTitle() {
    if (doc_.templatePath.empty()) {
        setWindowModified(false);
        setWindowTitle(QString::fromUtf8(kMainWindowTitle));
        return;
    }
    const QString name = QFileInfo(QFile::decodeName(doc_.templatePath.c_str())).fileName();
    setWindowTitle(name + QStringLiteral("[*] - ") + QString::fromUtf8(kMainWindowTitle));
    setWindowModified(doc_.templateModified);
}

void MainWindow::ApplyZoom(int percent) {
    zoom_ = NearestZoom(percent);
    simulator_->setZoom(zoom_);
    setFixedSize(simulator_->size());
    QBitmap shape = TerminalImage(kCaseImageId).mask();
    if (!shape.isNull() && QGuiApplication::platformName() != QLatin1String("offscreen"))
        setMask(QBitmap::fromImage(
            shape.toImage().scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    // The menu's step items show which one is in use.
    for (QAction* a : menu_->findChildren<QAction*>()) {
        const auto step = ZoomStepOfCommand(a->data().toInt());
        if (!step) continue;
        a->setCheckable(true);
        a->setChecked(*step == zoom_);
    }
    KeepOnScreen();
}

void MainWindow::PlaceAt(const QPoint& topLeft) {
    move(topLeft);
    KeepOnScreen();
}

void MainWindow::KeepOnScreen() {
    // A larger terminal, or one placed where a screen used to be, moves back onto a screen as far as it
    // fits there.
    QScreen* s = QGuiApplication::screenAt(geometry().center());
    if (!s) s = screen();
    if (s) {
        const QRect area = s->availableGeometry();
        QPoint at = pos();
        at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - width())));
        at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - height())));
        move(at);
    }
}

void MainWindow::SetZoom(int percent) {
    ApplyZoom(percent);
    RememberZoom(zoom_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (transferRunning_) {
        // Quitting stops the transfer at its next safe point; the window closes once it has.
        event->ignore();
        if (closeAfterTransfer_) return;
        const std::string_view question =
            Translate("MainWindow", K52_TR("MainWindow", "傳輸尚未結束, 要停止傳輸並結束程式嗎??"));
        if (transferUi_->ShowMessage(question, kShellTitle, MessageIcon::Question, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
            return;
        closeAfterTransfer_ = true;
        // Nothing more of the transfer is shown: the window closes once it has stopped.
        worker_->Abandon();
        return;
    }
    if (!closeAfterTerminals_ && !sessionAnswered_ && !shell_->CloseRequest()) {
        event->ignore();
        return;
    }
    // Its transfers and stations stop at their next safe point. This window closes last: a quit while
    // the Terminals window still refuses to close is cancelled, and that window alone never ends the
    // program.
    if (terminals_) terminals_->close();
    if (terminals_ && (terminals_->running() || terminals_->collecting())) {
        closeAfterTerminals_ = true;
        event->ignore();
        return;
    }
    closeAfterTerminals_ = false;
    if (simulator_->recording()) StopRecording();
    RememberPosition(pos());
    event->accept();
}

void MainWindow::RequestClose() {
    close();
}

bool MainWindow::OpenEditor() {
    applied_ = false;
    const bool confirmed = editorSheet_(this, doc_, *this) == 1;
    UpdateTitle();
    // Only now is the whole sheet written back, the start-up page's password included.
    if (applied_) UpdateUnsimulatedNote();
    return confirmed;
}

void MainWindow::TemplateRestored() {
    simulator_->RestartAfterEdit();
    UpdateTitle();
    NoteChange();
}

void MainWindow::RecentFilesChanged() {
    StoreRecentFiles(shell_->recentFiles().paths());
}

void MainWindow::TemplateApplied() {
    applied_ = true;
    simulator_->RestartAfterEdit();
    UpdateTitle();
    NoteChange();
}

void MainWindow::UpdateUnsimulatedNote() {
    note_->ShowOnce(doc_.templatePath, DescribeUnsimulated(FindUnsimulated(doc_.tmpl)));
}

void MainWindow::OpenPortSettings() {
    RunPortSettingsDialog(this, doc_.tmpl.portSettings, messages_);
}

void MainWindow::OpenTerminals() {
    if (!terminals_) {
        TerminalsServices services;
        services.messages = messages_;
        services.files = files_;
        services.scanner = scanner_;
        services.lines = terminalServices_.lines;
        services.chooseFolder = terminalServices_.chooseFolder;
        terminals_ = new TerminalsWindow(doc_.tmpl, services, this);
        auto closeIfWaiting = [this] {
            if (closeAfterTerminals_ && !terminals_->running() && !terminals_->collecting()) close();
        };
        connect(terminals_, &TerminalsWindow::allEnded, this, closeIfWaiting, Qt::QueuedConnection);
        connect(terminals_, &TerminalsWindow::collectingEnded, this, closeIfWaiting, Qt::QueuedConnection);
    }
    terminals_->show();
    terminals_->raise();
    terminals_->activateWindow();
}

void MainWindow::OpenFromCommandLine(const std::string& path) {
    if (const std::string why = UnreadableReason(path); !why.empty()) {
        const std::string text =
            Substitute(Translate("MainWindow", K52_TR("MainWindow", "無法開啟檔案 %1 : %2")), {path, why});
        messages_->ShowMessage(text, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    NamedFile named(path);
    const bool opened = OpenTemplate(doc_, named, *messages_) == 1;
    UpdateTitle();
    if (!opened) return;
    shell_->NoteOpened(doc_.templatePath);
    OpenEditor();
}

void MainWindow::ShowHelp() {
    if (!help_) help_ = new HelpWindow(this);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void MainWindow::ShowAbout() {
    AboutBox box(this);
    box.exec();
}

void MainWindow::StartTransfer(TransferThread::Job job, bool receive) {
    transferRunning_ = true;
    receiving_ = receive;
    transferUi_->BeginTransfer(
        QFile::decodeName(ResolveComPort(doc_.tmpl.portSettings.comPort).device.c_str()),
        [this] { CancelTransfer(); });
    worker_->Start(std::move(job));
}

void MainWindow::TransferEnded(const TransferOutcome& outcome) {
    transferUi_->EndTransfer();
    transferRunning_ = false;
    if (receiving_ && !closeAfterTransfer_) desk_->FinishReceive(outcome);
    if (closeAfterTransfer_) {
        closeAfterTransfer_ = false;
        close();
    }
}

void MainWindow::CancelTransfer() {
    worker_->RequestStop();
}

void MainWindow::RunDownload(Transport transport, Payload payload) {
    auto prepared = desk_->PrepareDownload(transport, payload);
    auto* request = std::get_if<DownloadRequest>(&prepared);
    if (!request) return;
    StartTransfer(
        [this, request = *request](TransferObserver& observer, const StopFlag* stop,
                                   TransferThread::RetryHook askRetry) mutable {
            request.stop = stop;
            request.askRetry = std::move(askRetry);
            return link_->Download(request, observer);
        },
        false);
}

void MainWindow::RunReceive(Transport transport) {
    auto prepared = desk_->PrepareReceive(transport);
    auto* request = std::get_if<ReceiveRequest>(&prepared);
    if (!request) return;
    StartTransfer(
        [this, request = *request](TransferObserver& observer, const StopFlag* stop,
                                   TransferThread::RetryHook) mutable {
            request.stop = stop;
            return link_->Receive(request, observer);
        },
        true);
}

}  // namespace k52
