#include "cli/CliSupport.h"

#include <iostream>

#include "app/TemplateCommands.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52::cli {

void PrintError(std::string_view title, std::string_view text) {
    std::cerr << title << ": " << text << std::endl;
}

MessageAnswer StderrMessages::ShowMessage(std::string_view text, std::string_view title, MessageIcon,
                                          MessageButtons buttons) {
    PrintError(title, text);
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            if (yesAnswers > 0) {
                --yesAnswers;
                return MessageAnswer::Yes;
            }
            return MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

ApplicationTemplate StartupTemplate() {
    ApplicationTemplate t{};
    ApplyBarcodeDefaults(t);
    NewTemplateReset(t);
    return t;
}

int LoadTemplate(const std::string& path, ApplicationTemplate& t) {
    switch (ReadTemplateFile(path, t)) {
        case TemplateReadResult::Ok:
            return kExitOk;
        case TemplateReadResult::CannotOpen:
            PrintError("k52cli", "cannot read " + path);
            return kExitFile;
        case TemplateReadResult::BadFormat:
            PrintError(kErrorTitle, kFormatErrorText);
            return kExitBadTemplate;
    }
    return kExitFile;
}

}  // namespace k52::cli
