// The shell's rules without a window: the command table, the save prompt, the modified flag and the
// command menu as data. The desktop layer turns menu choices, shortcuts and close requests into calls
// here, and implements ShellActions to open what the commands open.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "app/RecentFiles.h"
#include "app/TemplateCommands.h"
#include "transfer/TransferOutcome.h"

namespace k52 {

enum CommandId : int {
    kCmdNew = 1010,
    kCmdOpen = 1020,
    kCmdSave = 1030,
    kCmdSaveAs = 1040,
    kCmdPrint = 1045,
    kCmdRecentFirst = 1051,  // 1051..1058: the recent files, newest first
    kCmdRecentLast = 1058,
    kCmdExit = 1090,
    kCmdEdit = 2000,
    kCmdPortSettings = 2100,
    kCmdTerminals = 2150,
    kCmdZoomIn = 2201,
    kCmdZoomOut = 2202,
    kCmdZoom100 = 2210,
    kCmdZoom150 = 2215,
    kCmdZoom200 = 2220,
    kCmdZoom300 = 2230,
    kCmdScan = 2300,
    kCmdPasteScan = 2301,
    kCmdRecordKeys = 2310,
    kCmdCopyScreen = 2320,
    kCmdSavePicture = 2330,
    kCmdDownloadProgram = 3020,
    kCmdDownloadProgramCradle = 3021,
    kCmdReceiveData = 3030,
    kCmdReceiveDataCradle = 3031,
    kCmdDownloadLookup = 3040,
    kCmdDownloadLookupCradle = 3041,
    kCmdHelp = 9010,
    kCmdAbout = 9030,
};

extern const char kSavePromptText[];     // "儲存目前程式嗎??"
extern const char kShellTitle[];         // "Varnell's K52 Application Generator"
extern const char kMainWindowTitle[];    // "Application Generator"
extern const char kStopRecordingText[];  // the record command's item while it records: "停止錄製"

// One line of the command menu. A submenu line is followed by its items and closed by an End line.
struct CommandMenuEntry {
    // Recent: a submenu filled, when it opens, with the recent files' commands.
    enum Kind { Item, Separator, Submenu, End, Recent };
    Kind kind;
    const char* text;      // UTF-8
    const char* shortcut;  // the label shown after the text, or nullptr
    int command;
};
std::span<const CommandMenuEntry> CommandMenu();

// The zoom in percent that a zoom step's command sets; none for any other command.
std::optional<int> ZoomStepOfCommand(int id);

// What the terminal's own commands do with the simulated terminal.
enum class TerminalTool { Scan, Paste, Record, CopyScreen, SavePicture };

// What the commands open or run; each is modal and returns when it is closed or done, but for the
// transfers, which return once started and keep the program modal until they end.
class ShellActions {
  public:
    virtual ~ShellActions() = default;
    // True after OK, false after Cancel.
    virtual bool OpenEditor() = 0;
    // The template was put back as it was before a New or Open whose sheet was cancelled.
    virtual void TemplateRestored() {}
    // The template's changes were saved or discarded: nothing of them needs a recovery copy any more.
    virtual void ChangesSettled() {}
    // The recent files changed: a front end that keeps them between runs stores them.
    virtual void RecentFilesChanged() {}
    virtual void OpenPortSettings() = 0;
    // The design sheet, printed or saved as PDF.
    virtual void PrintSheet() {}
    // The Terminals window, beside the terminal and not modal.
    virtual void OpenTerminals() {}
    virtual void RunDownload(Transport transport, Payload payload) = 0;
    virtual void RunReceive(Transport transport) = 0;
    virtual void UseTerminalTool(TerminalTool) {}
    // The README and the template format, in a window beside the terminal.
    virtual void ShowHelp() {}
    virtual void ShowAbout() = 0;
    // The terminal picture's zoom in percent: one of kZoomSteps.
    virtual int Zoom() const = 0;
    virtual void SetZoom(int percent) = 0;
    // The same close request as the window system's close; it comes back through CloseRequest().
    virtual void RequestClose() = 0;
};

class Shell {
  public:
    Shell(TemplateDocument& doc, MessageBoxes& messages, TemplateFileDialogs& dialogs, ShellActions& actions)
        : doc_(doc), messages_(messages), dialogs_(dialogs), actions_(actions) {}

    // The template's state before the simulator exists: barcode defaults, then a new-template reset.
    void Startup();

    // A command id from the menu, a shortcut or the simulator. Unknown ids are ignored.
    void OnCommand(int id);

    // The window system's close, Alt+F4 and Exit: true when the window is to be destroyed.
    bool CloseRequest();

    TemplateDocument& document() { return doc_; }
    RecentFiles& recentFiles() { return recent_; }
    // The template file a front end opened itself (from its command line): listed as recent.
    void NoteOpened(const std::string& path);

  private:
    // False when the user cancelled; a failed save still lets the caller go on.
    bool SavePrompt();
    // The sheet after New or Open; its Cancel puts back the template the command replaced.
    void EditReplacing(const TemplateDocument& before);
    void OpenRecent(std::size_t index);
    void Saved(int result);

    TemplateDocument& doc_;
    MessageBoxes& messages_;
    TemplateFileDialogs& dialogs_;
    ShellActions& actions_;
    RecentFiles recent_;
};

}  // namespace k52
