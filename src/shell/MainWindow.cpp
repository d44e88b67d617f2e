// The main window: the terminal picture, the command menu, shortcuts and close requests.
#include "shell/MainWindow.h"

#include <QAction>
#include <QBitmap>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QShortcut>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "editor/ui/EditorSheet.h"
#include "shell/AboutBox.h"
#include "shell/ComSettingDlg.h"
#include "shell/QtDialogs.h"
#include "shell/TransferWindows.h"
#include "simulator/ui/SimulatorWidget.h"
#include "util/Translate.h"

namespace k52 {

namespace {

// Answers Open's file question with the file named on the command line.
class NamedFile : public TemplateFileDialogs {
  public:
    explicit NamedFile(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> ChooseTemplateToOpen() override { return path_; }
    std::optional<std::string> ChooseTemplateToSave() override { return std::nullopt; }

  private:
    std::string path_;
};

// Why `path` cannot be read as a file, or empty when it can. Open's dialog never offers such a file, so
// Open itself has no message for it.
std::string UnreadableReason(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    struct stat st {};
    const bool folder = fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    ::close(fd);
    return folder ? std::strerror(EISDIR) : std::string();
}

}  // namespace

EditorSheetFn DefaultEditorSheet() {
    return &OpenEditorSheet;
}

QMenu* BuildCommandMenu(QWidget* owner) {
    auto* root = new QMenu(owner);
    QMenu* current = root;
    for (const CommandMenuEntry& e : CommandMenu()) {
        switch (e.kind) {
            case CommandMenuEntry::Item: {
                QString text = FromUtf8(Translate("Shell", e.text));
                // The label after a tab is shown as the item's shortcut; the keys themselves belong
                // to the main window, so the menu does not bind them a second time.
                if (e.shortcut) text += QLatin1Char('\t') + QString::fromUtf8(e.shortcut);
                QAction* a = current->addAction(text);
                a->setData(e.command);
                break;
            }
            case CommandMenuEntry::Separator:
                current->addSeparator();
                break;
            case CommandMenuEntry::Submenu:
                current = current->addMenu(FromUtf8(Translate("Shell", e.text)));
                break;
            case CommandMenuEntry::End:
                current = root;
                break;
        }
    }
    return root;
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
    transferUi_ =
        std::make_unique<QtTransferUi>(*messages_, this, services.transferFiles, &doc_.tmpl.fieldSeparators);
    link_ = std::make_unique<TerminalLink>(doc_.tmpl, lines_, linkClock_, *transferUi_);

    // The template holds its defaults before the simulator starts on it.
    shell_->Startup();
    simulator_ = new SimulatorWidget(doc_.tmpl, *messages_, this, services.clock);
    simulator_->move(0, 0);
    menu_ = BuildCommandMenu(this);
    simulator_->setCommandMenu(menu_);
    connect(simulator_, &SimulatorWidget::commandRequested, this, &MainWindow::OnCommand);

    // The window takes the shape of the case.
    QBitmap shape = TerminalImage(500).mask();
    if (!shape.isNull() && QGuiApplication::platformName() != QLatin1String("offscreen")) setMask(shape);
    setWindowIcon(QIcon(TerminalImage(500)));

    const std::pair<const char*, int> keys[] = {
        {"Ctrl+N", kCmdNew}, {"Ctrl+O", kCmdOpen}, {"Ctrl+S", kCmdSave}, {"Ctrl+E", kCmdEdit}};
    for (const auto& [seq, id] : keys) {
        auto* s = new QShortcut(QKeySequence(QString::fromLatin1(seq)), this);
        connect(s, &QShortcut::activated, this, [this, id = id] { OnCommand(id); });
    }
    // Window managers close on Alt+F4 themselves; without one the key still asks to close.
    auto* altF4 = new QShortcut(QKeySequence(QStringLiteral("Alt+F4")), this);
    connect(altF4, &QShortcut::activated, this, [this] { close(); });
}

MainWindow::~MainWindow() = default;

void MainWindow::OnCommand(int id) {
    // A transfer keeps the program modal: nothing else starts until it ends.
    if (transferRunning_) return;
    shell_->OnCommand(id);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (transferRunning_ || !shell_->CloseRequest()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::RequestClose() {
    close();
}

void MainWindow::OpenEditor() {
    editorSheet_(this, doc_, *this);
}

void MainWindow::TemplateApplied() {
    simulator_->RestartAfterEdit();
}

void MainWindow::OpenPortSettings() {
    RunComSettingDlg(this, doc_.tmpl.portSettings, messages_);
}

void MainWindow::OpenFromCommandLine(const std::string& path) {
    if (const std::string why = UnreadableReason(path); !why.empty()) {
        const std::string text =
            Substitute(Translate("MainWindow", K52_TR("MainWindow", "無法開啟檔案 %1 : %2")), {path, why});
        messages_->ShowMessage(text, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    NamedFile named(path);
    if (OpenTemplate(doc_, named, *messages_) == 1) OpenEditor();
}

void MainWindow::ShowAbout() {
    AboutBox box(this);
    box.exec();
}

void MainWindow::RunDownload(int irMode, int lookupMode) {
    transferRunning_ = true;
    link_->RunDownload(irMode != 0 ? Transport::Cradle : Transport::Direct,
                       lookupMode != 0 ? Payload::Lookup : Payload::Program);
    transferRunning_ = false;
}

void MainWindow::RunReceive(int irMode) {
    transferRunning_ = true;
    link_->RunReceive(irMode != 0 ? Transport::Cradle : Transport::Direct);
    transferRunning_ = false;
}

}  // namespace k52
