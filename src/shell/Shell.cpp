// The shell's command rules: the menu as data, the save prompt and each command's steps.
#include "shell/Shell.h"

#include "i18n/Translate.h"
#include "shell/ShortcutKeys.h"
#include "shell/Zoom.h"
#include "template/Defaults.h"
#include "util/RegularFile.h"

namespace k52 {

const char kSavePromptText[] = K52_TR("Shell", "儲存目前程式嗎??");
const char kShellTitle[] = "Varnell's K52 Application Generator";
const char kMainWindowTitle[] = "Application Generator";
const char kStopRecordingText[] = K52_TR("Shell", "停止錄製");

namespace {

using E = CommandMenuEntry;

constexpr const char kViaCable[] = K52_TR("Shell", "經由 RS-232 或 IrDA...");
constexpr const char kViaCradle[] = K52_TR("Shell", "經由紅外線傳輸座...");

// An item of the command menu, with the shortcut the main window binds to its command.
constexpr CommandMenuEntry Item(const char* text, int command) {
    return {E::Item, text, ShortcutLabel(command), command};
}

constexpr CommandMenuEntry kMenu[] = {
    Item(K52_TR("Shell", "開新檔案"), kCmdNew),
    Item(K52_TR("Shell", "開啟舊檔..."), kCmdOpen),
    Item(K52_TR("Shell", "儲存檔案"), kCmdSave),
    Item(K52_TR("Shell", "另存檔案..."), kCmdSaveAs),
    Item(K52_TR("Shell", "列印 / 存成 PDF..."), kCmdPrint),
    {E::Recent, K52_TR("Shell", "最近的檔案"), nullptr, kCmdRecentFirst},
    {E::Separator, nullptr, nullptr, 0},
    Item(K52_TR("Shell", "編輯檔案"), kCmdEdit),
    Item(K52_TR("Shell", "傳輸埠設定..."), kCmdPortSettings),
    Item(K52_TR("Shell", "終端機..."), kCmdTerminals),
    {E::Submenu, K52_TR("Shell", "縮放"), nullptr, 0},
    Item(K52_TR("Shell", "放大"), kCmdZoomIn),
    Item(K52_TR("Shell", "縮小"), kCmdZoomOut),
    {E::Separator, nullptr, nullptr, 0},
    Item("100%", kCmdZoom100),
    Item("150%", kCmdZoom150),
    Item("200%", kCmdZoom200),
    Item("300%", kCmdZoom300),
    {E::End, nullptr, nullptr, 0},
    {E::Separator, nullptr, nullptr, 0},
    Item(K52_TR("Shell", "掃瞄..."), kCmdScan),
    Item(K52_TR("Shell", "錄製按鍵..."), kCmdRecordKeys),
    Item(K52_TR("Shell", "複製畫面"), kCmdCopyScreen),
    Item(K52_TR("Shell", "儲存圖片..."), kCmdSavePicture),
    {E::Separator, nullptr, nullptr, 0},
    {E::Submenu, K52_TR("Shell", "下載程式"), nullptr, 0},
    Item(kViaCable, kCmdDownloadProgram),
    Item(kViaCradle, kCmdDownloadProgramCradle),
    {E::End, nullptr, nullptr, 0},
    {E::Submenu, K52_TR("Shell", "下載索引檔"), nullptr, 0},
    Item(kViaCable, kCmdDownloadLookup),
    Item(kViaCradle, kCmdDownloadLookupCradle),
    {E::End, nullptr, nullptr, 0},
    {E::Submenu, K52_TR("Shell", "接收資料"), nullptr, 0},
    Item(kViaCable, kCmdReceiveData),
    Item(kViaCradle, kCmdReceiveDataCradle),
    {E::End, nullptr, nullptr, 0},
    {E::Separator, nullptr, nullptr, 0},
    Item(K52_TR("Shell", "說明..."), kCmdHelp),
    Item(K52_TR("Shell", "關於..."), kCmdAbout),
    Item(K52_TR("Shell", "離開"), kCmdExit),
};

}  // namespace

std::span<const CommandMenuEntry> CommandMenu() {
    return kMenu;
}

void Shell::Startup() {
    doc_.tmpl = StartupTemplate();
}

bool Shell::SavePrompt() {
    if (!doc_.templateModified) return true;
    switch (messages_.ShowMessage(kSavePromptText, kShellTitle, MessageIcon::Exclamation,
                                  MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            // The prompt's own save leaves the flag set; only the Save commands clear it.
            if (SaveTemplate(doc_, dialogs_, messages_) == 1) actions_.ChangesSettled();
            return true;
        case MessageAnswer::No:
            actions_.ChangesSettled();
            return true;
        default:
            return false;
    }
}

void Shell::EditReplacing(const TemplateDocument& before) {
    if (actions_.OpenEditor()) return;
    doc_ = before;
    actions_.TemplateRestored();
}

void Shell::NoteOpened(const std::string& path) {
    recent_.Add(path);
    actions_.RecentFilesChanged();
}

void Shell::OpenRecent(std::size_t index) {
    if (index >= recent_.paths().size()) return;
    const std::string path = recent_.paths()[index];
    if (!SavePrompt()) return;
    const TemplateDocument before = doc_;
    NamedFile named(path);
    std::string reason;
    const bool readable = static_cast<bool>(OpenRegularFileForReading(path, &reason));
    if (!readable) {
        const std::string text =
            Substitute(Translate("MainWindow", K52_TR("MainWindow", "無法開啟檔案 %1 : %2")),
                       {path, LocalizeReason(reason)});
        messages_.ShowMessage(text, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    }
    if (!readable || OpenTemplate(doc_, named, messages_) != 1) {
        // Gone or damaged: it is not offered again.
        recent_.Remove(path);
        actions_.RecentFilesChanged();
        return;
    }
    NoteOpened(doc_.templatePath);
    EditReplacing(before);
}

void Shell::Saved(int result) {
    if (result != 1) return;
    doc_.templateModified = false;
    actions_.ChangesSettled();
    NoteOpened(doc_.templatePath);
}

bool Shell::CloseRequest() {
    return SavePrompt();
}

void Shell::OnCommand(int id) {
    switch (id) {
        case kCmdNew: {
            if (!SavePrompt()) return;
            const TemplateDocument before = doc_;
            doc_.templateModified = false;
            doc_.templatePath.clear();
            NewTemplateReset(doc_.tmpl);
            EditReplacing(before);
            return;
        }
        case kCmdOpen: {
            if (!SavePrompt()) return;
            const TemplateDocument before = doc_;
            if (OpenTemplate(doc_, dialogs_, messages_) != 1) return;
            NoteOpened(doc_.templatePath);
            EditReplacing(before);
            return;
        }
        case kCmdSave:
            Saved(SaveTemplate(doc_, dialogs_, messages_));
            return;
        case kCmdSaveAs:
            Saved(SaveTemplateAs(doc_, dialogs_, messages_));
            return;
        case kCmdPrint:
            actions_.PrintSheet();
            return;
        case kCmdExit:
            actions_.RequestClose();
            return;
        case kCmdEdit:
            actions_.OpenEditor();
            return;
        case kCmdPortSettings:
            actions_.OpenPortSettings();
            return;
        case kCmdTerminals:
            actions_.OpenTerminals();
            return;
        case kCmdDownloadProgram:
            actions_.RunDownload(Transport::Direct, Payload::Program);
            return;
        case kCmdDownloadProgramCradle:
            actions_.RunDownload(Transport::Cradle, Payload::Program);
            return;
        case kCmdDownloadLookup:
            actions_.RunDownload(Transport::Direct, Payload::Lookup);
            return;
        case kCmdDownloadLookupCradle:
            actions_.RunDownload(Transport::Cradle, Payload::Lookup);
            return;
        case kCmdReceiveData:
            actions_.RunReceive(Transport::Direct);
            return;
        case kCmdReceiveDataCradle:
            actions_.RunReceive(Transport::Cradle);
            return;
        case kCmdHelp:
            actions_.ShowHelp();
            return;
        case kCmdAbout:
            actions_.ShowAbout();
            return;
        case kCmdScan:
            actions_.UseTerminalTool(TerminalTool::Scan);
            return;
        case kCmdPasteScan:
            actions_.UseTerminalTool(TerminalTool::Paste);
            return;
        case kCmdRecordKeys:
            actions_.UseTerminalTool(TerminalTool::Record);
            return;
        case kCmdCopyScreen:
            actions_.UseTerminalTool(TerminalTool::CopyScreen);
            return;
        case kCmdSavePicture:
            actions_.UseTerminalTool(TerminalTool::SavePicture);
            return;
        case kCmdZoomIn:
            actions_.SetZoom(ZoomIn(actions_.Zoom()));
            return;
        case kCmdZoomOut:
            actions_.SetZoom(ZoomOut(actions_.Zoom()));
            return;
        default:
            if (id >= kCmdRecentFirst && id <= kCmdRecentLast)
                OpenRecent(static_cast<std::size_t>(id - kCmdRecentFirst));
            else if (const auto step = ZoomStepOfCommand(id))
                actions_.SetZoom(*step);
            return;
    }
}

std::optional<int> ZoomStepOfCommand(int id) {
    switch (id) {
        case kCmdZoom100:
            return 100;
        case kCmdZoom150:
            return 150;
        case kCmdZoom200:
            return 200;
        case kCmdZoom300:
            return 300;
        default:
            return std::nullopt;
    }
}

}  // namespace k52
