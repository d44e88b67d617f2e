// The Open, Save and Save As commands: dialogs and messages around the template file.
#include "app/TemplateCommands.h"

#include "i18n/Translate.h"
#include "template/TemplateFile.h"

namespace k52 {

const char kFormatErrorText[] = K52_TR("App", "檔案格式錯誤!!");
const char kErrorTitle[] = K52_TR("App", "錯誤");
const char kCannotSaveText[] = K52_TR("App", "無法儲存檔案!!");
const char kPathTooLongText[] = K52_TR("App", "檔案名稱過長!!");

int OpenTemplate(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages) {
    std::optional<std::string> path = dialogs.ChooseTemplateToOpen();
    if (!path) return 0;
    ApplicationTemplate loaded = doc.tmpl;
    switch (ReadTemplateFile(*path, loaded)) {
        case TemplateReadResult::CannotOpen:
            return 0;
        case TemplateReadResult::BadFormat:
            messages.ShowMessage(kFormatErrorText, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
            return 0;
        case TemplateReadResult::Ok:
            break;
    }
    doc.tmpl = loaded;
    doc.templatePath = *path;
    return 1;
}

int SaveTemplate(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages) {
    if (doc.templatePath.empty()) return SaveTemplateAs(doc, dialogs, messages);
    if (!WriteTemplateFile(doc.templatePath, doc.tmpl)) {
        messages.ShowMessage(kCannotSaveText, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return 0;
    }
    return 1;
}

int SaveTemplateAs(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages) {
    std::optional<std::string> chosen = dialogs.ChooseTemplateToSave();
    if (!chosen) return 0;
    std::string path = WithTemplateExtension(*chosen);
    if (path.size() > kMaxTemplatePath) {
        messages.ShowMessage(kPathTooLongText, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return 0;
    }
    doc.templatePath = path;
    return SaveTemplate(doc, dialogs, messages);
}

}  // namespace k52
