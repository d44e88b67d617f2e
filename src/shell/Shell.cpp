// The shell's command rules: the menu as data, the save prompt and each command's steps.
#include "shell/Shell.h"

#include "shell/Zoom.h"
#include "template/Defaults.h"
#include "util/Translate.h"

namespace k52 {

const char kSavePromptText[] = K52_TR("Shell", "儲存目前程式嗎??");
const char kShellTitle[] = "Varnell's K52 Application Generator";
const char kMainWindowTitle[] = "Application Generator";

namespace {

using E = CommandMenuEntry;

constexpr const char kViaCable[] = K52_TR("Shell", "經由 RS-232 或 IrDA...");
constexpr const char kViaCradle[] = K52_TR("Shell", "經由紅外線傳輸座...");

constexpr CommandMenuEntry kMenu[] = {
    {E::Item, K52_TR("Shell", "開新檔案"), "Ctrl+N", kCmdNew},
    {E::Item, K52_TR("Shell", "開啟舊檔..."), "Ctrl+O", kCmdOpen},
    {E::Item, K52_TR("Shell", "儲存檔案"), "Ctrl+S", kCmdSave},
    {E::Item, K52_TR("Shell", "另存檔案..."), nullptr, kCmdSaveAs},
    {E::Separator, nullptr, nullptr, 0},
    {E::Item, K52_TR("Shell", "編輯檔案"), "Ctrl+E", kCmdEdit},
    {E::Item, K52_TR("Shell", "傳輸埠設定..."), nullptr, kCmdPortSettings},
    {E::Item, K52_TR("Shell", "終端機..."), "Ctrl+T", kCmdTerminals},
    {E::Submenu, K52_TR("Shell", "縮放"), nullptr, 0},
    {E::Item, K52_TR("Shell", "放大"), "Ctrl++", kCmdZoomIn},
    {E::Item, K52_TR("Shell", "縮小"), "Ctrl+-", kCmdZoomOut},
    {E::Separator, nullptr, nullptr, 0},
    {E::Item, "100%", "Ctrl+0", kCmdZoom100},
    {E::Item, "150%", nullptr, kCmdZoom150},
    {E::Item, "200%", nullptr, kCmdZoom200},
    {E::Item, "300%", nullptr, kCmdZoom300},
    {E::End, nullptr, nullptr, 0},
    {E::Separator, nullptr, nullptr, 0},
    {E::Submenu, K52_TR("Shell", "下載程式"), nullptr, 0},
    {E::Item, kViaCable, nullptr, kCmdDownloadProgram},
    {E::Item, kViaCradle, nullptr, kCmdDownloadProgramCradle},
    {E::End, nullptr, nullptr, 0},
    {E::Submenu, K52_TR("Shell", "下載索引檔"), nullptr, 0},
    {E::Item, kViaCable, nullptr, kCmdDownloadLookup},
    {E::Item, kViaCradle, nullptr, kCmdDownloadLookupCradle},
    {E::End, nullptr, nullptr, 0},
    {E::Submenu, K52_TR("Shell", "接收資料"), nullptr, 0},
    {E::Item, kViaCable, nullptr, kCmdReceiveData},
    {E::Item, kViaCradle, nullptr, kCmdReceiveDataCradle},
    {E::End, nullptr, nullptr, 0},
    {E::Separator, nullptr, nullptr, 0},
    {E::Item, K52_TR("Shell", "關於..."), nullptr, kCmdAbout},
    {E::Item, K52_TR("Shell", "離開"), "Alt+F4", kCmdExit},
};

}  // namespace

std::span<const CommandMenuEntry> CommandMenu() {
    return kMenu;
}

void Shell::Startup() {
    ApplyBarcodeDefaults(doc_.tmpl);
    NewTemplateReset(doc_.tmpl);
}

bool Shell::SavePrompt() {
    if (!doc_.templateModified) return true;
    switch (messages_.ShowMessage(kSavePromptText, kShellTitle, MessageIcon::Exclamation,
                                  MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            // The prompt's own save leaves the flag set; only the Save commands clear it.
            SaveTemplate(doc_, dialogs_, messages_);
            return true;
        case MessageAnswer::No:
            return true;
        default:
            return false;
    }
}

bool Shell::CloseRequest() {
    return SavePrompt();
}

void Shell::OnCommand(int id) {
    switch (id) {
        case kCmdNew:
            if (!SavePrompt()) return;
            doc_.templateModified = false;
            doc_.templatePath.clear();
            NewTemplateReset(doc_.tmpl);
            actions_.OpenEditor();
            return;
        case kCmdOpen:
            if (!SavePrompt()) return;
            if (OpenTemplate(doc_, dialogs_, messages_) == 1) actions_.OpenEditor();
            return;
        case kCmdSave:
            if (SaveTemplate(doc_, dialogs_, messages_) == 1) doc_.templateModified = false;
            return;
        case kCmdSaveAs:
            if (SaveTemplateAs(doc_, dialogs_, messages_) == 1) doc_.templateModified = false;
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
        case kCmdAbout:
            actions_.ShowAbout();
            return;
        case kCmdZoomIn:
            actions_.SetZoom(ZoomIn(actions_.Zoom()));
            return;
        case kCmdZoomOut:
            actions_.SetZoom(ZoomOut(actions_.Zoom()));
            return;
        default:
            if (const auto step = ZoomStepOfCommand(id)) actions_.SetZoom(*step);
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
