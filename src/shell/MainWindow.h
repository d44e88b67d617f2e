// The main window: the frameless terminal picture at 300,50, the command menu, the shortcuts and the
// close request, around the Qt-free Shell that holds the command rules.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "app/TemplateCommands.h"
#include "app/UnsavedCopy.h"
#include "editor/EditorHost.h"
#include "line/Clock.h"
#include "line/SerialLine.h"
#include "shell/CommandMenuQt.h"
#include "shell/Shell.h"
#include "shell/TerminalsWindow.h"
#include "shell/TransferThread.h"
#include "simulator/LocalClock.h"
#include "transfer/TerminalLink.h"

class QMenu;
class QSessionManager;
class QTimer;

namespace k52 {

class DeskTransfer;
class PortScanner;
class SimulatorWidget;
class QtTransferUi;
class TransferChoices;
class TransferThread;
class UnsimulatedNote;
class Worker;

// What the desktop asks the user through; tests put their own in place. nullptr: the real thing.
struct DesktopServices {
    MessageBoxes* messages = nullptr;
    TemplateFileDialogs* templateDialogs = nullptr;
    LocalClock* clock = nullptr;  // the status line's time
    TransferChoices* transferFiles = nullptr;
    LineFactory* lines = nullptr;    // the serial ports
    Clock* linkClock = nullptr;      // the transfers' time-outs
    PortScanner* scanner = nullptr;  // the host's ports, for the Terminals window
    TerminalsServices terminals;     // its lines and folder question; the rest is filled in from here
    std::string unsavedFolder;       // the recovery copies (empty: UnsavedCopies::DefaultFolder())
};

// The editor sheet: modal, returns 1 for OK and 0 for Cancel.
using EditorSheetFn = std::function<int(QWidget* owner, TemplateDocument& doc, EditorHost& host)>;
// The sheet this build opens: the template editor when it is built in, else the stand-in.
EditorSheetFn DefaultEditorSheet();

class MainWindow : public QWidget, private ShellActions, private EditorHost {
    Q_OBJECT
  public:
    explicit MainWindow(const DesktopServices& services = {});
    ~MainWindow() override;

    Shell& shell() { return *shell_; }
    TemplateDocument& document() { return doc_; }
    SimulatorWidget* simulatorWidget() const { return simulator_; }
    QMenu* commandMenu() const { return menu_; }
    // The Terminals window once it has been opened.
    TerminalsWindow* terminalsWindow() const { return terminals_; }
    // The help window once it has been opened.
    QWidget* helpWindow() const { return help_; }
    TerminalLink& link() { return *link_; }
    QtTransferUi& transferUi() { return *transferUi_; }
    bool transferRunning() const { return transferRunning_; }
    // Asks the transfer running now to end at its next safe point; safe from any thread.
    void CancelTransfer();

    void setEditorSheet(EditorSheetFn sheet) { editorSheet_ = std::move(sheet); }

    // `k52gen FILE`: the Open command on a file named on the command line. A file that cannot be read
    // is named in a message with the reason; the start-up template stays either way.
    void OpenFromCommandLine(const std::string& path);

    // Shows the terminal at `percent` (snapped to an offered step) without remembering it; the zoom
    // commands also store it for the next run.
    void ApplyZoom(int percent);
    // Moves the terminal to `topLeft` (where the last run left it), as far onto a screen as it fits.
    void PlaceAt(const QPoint& topLeft);
    int Zoom() const override { return zoom_; }

    // Asks about each recovery copy an earlier k52gen left (newest first): restoring one ends the
    // questions, declining one removes it.
    void OfferUnsavedCopies();
    // Writes the recovery copy now when the template has changes not saved or discarded (the program is
    // about to be ended).
    void KeepUnsavedCopy();

    // Records the terminal's keys and ticks from a fresh start; StopRecording writes them to `path` as
    // a key script (false, after saying why, when it cannot).
    void StartRecording(const std::string& path);
    bool StopRecording();
    // `text` into the current form line as one scan, then Enter; says why when it cannot.
    void EnterScan(const QString& text);
    // Writes the terminal as drawn now, at its zoom, to `path` as PNG; says why when it cannot.
    bool SavePicture(const QString& path);
    UnsimulatedNote* unsimulatedNote() const { return note_; }

  public slots:
    void OnCommand(int id);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // ShellActions
    bool OpenEditor() override;
    void TemplateRestored() override;
    void RecentFilesChanged() override;
    void ChangesSettled() override;
    void OpenPortSettings() override;
    void PrintSheet() override;
    void OpenTerminals() override;
    void RunDownload(Transport transport, Payload payload) override;
    void RunReceive(Transport transport) override;
    void UseTerminalTool(TerminalTool tool) override;
    void ShowHelp() override;
    void ShowAbout() override;
    void RequestClose() override;
    void SetZoom(int percent) override;
    // EditorHost
    void TemplateApplied() override;
    MessageBoxes* SheetMessages() override { return messages_; }
    void MakeTestLabels(const BarcodeSettings& settings) override;
    // The template's file name, heading the sheets it prints.
    std::string SheetName() const;

    void KeepOnScreen();
    // The template changed: its recovery copy falls due a few seconds later.
    void NoteChange();
    void SetUpUnsavedCopies(const std::string& folder);
    void ArmUnsavedTimer();
    // The desktop session is ending (a logout): the save question where the session lets us ask.
    void CommitSession(QSessionManager& manager);
    // The record command's item says what choosing it does now.
    void UpdateRecordItem();
    // The note on what the template uses that the terminal here does not simulate.
    void UpdateUnsimulatedNote();
    // "NAME.ATC[*] - Application Generator" once the template has a path, with the modified marker.
    void UpdateTitle();
    // Runs `job` on the worker, with the waiting window for the template's port; input to the
    // terminal waits until it ends.
    void StartTransfer(TransferThread::Job job, bool receive);
    void TransferEnded(const TransferOutcome& outcome);

    TemplateDocument doc_;
    std::unique_ptr<MessageBoxes> ownMessages_;
    std::unique_ptr<TemplateFileDialogs> ownDialogs_;
    MessageBoxes* messages_;
    TemplateFileDialogs* dialogs_;
    std::unique_ptr<Shell> shell_;
    std::unique_ptr<QtTransferUi> transferUi_;
    std::unique_ptr<TransferChoices> ownFiles_;
    SystemLineFactory ownLines_;
    MonotonicClock ownClock_;
    std::unique_ptr<TerminalLink> link_;
    std::unique_ptr<DeskTransfer> desk_;
    TransferThread* worker_ = nullptr;
    Worker* paper_ = nullptr;  // prints and draws labels
    TransferChoices* files_ = nullptr;
    TerminalsWindow* terminals_ = nullptr;
    QWidget* help_ = nullptr;
    PortScanner* scanner_ = nullptr;
    SimulatorWidget* simulator_ = nullptr;
    UnsimulatedNote* note_ = nullptr;
    QMenu* menu_ = nullptr;
    std::string recordPath_;
    bool applied_ = false;  // the editor applied changes since it was opened
    EditorSheetFn editorSheet_;
    bool transferRunning_ = false;
    bool receiving_ = false;
    bool closeAfterTransfer_ = false;
    bool closeAfterTerminals_ = false;  // asked to close; waits for the Terminals window's jobs to stop
    TerminalsServices terminalServices_;
    bool iconPending_ = true;  // set once the terminal was first drawn
    int zoom_ = 100;
    std::unique_ptr<UnsavedCopies> unsaved_;
    UnsavedCopySchedule unsavedSchedule_;
    QTimer* unsavedTimer_ = nullptr;
    bool changesSettled_ = false;   // saved or discarded since the last change: no copy is kept
    bool sessionAnswered_ = false;  // the logout's save question was answered; the close does not ask
};

}  // namespace k52
