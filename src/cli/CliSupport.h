// What k52cli's commands share: messages on standard error, template loading with its exit codes.
#pragma once

#include <string>
#include <string_view>

#include "app/UserInterface.h"
#include "cli/Commands.h"
#include "template/Template.h"

namespace k52::cli {

// Message boxes become "TITLE: TEXT" lines on standard error. Questions take their answers from a
// script: `yesAnswers` Yes before answering No.
class StderrMessages : public MessageBoxes {
  public:
    int yesAnswers = 0;
    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override;
};

void PrintError(std::string_view title, std::string_view text);

// The template the desktop program holds right after start-up.
ApplicationTemplate StartupTemplate();

// Loads a template file; on failure prints why and returns the exit code (kExitOk on success).
int LoadTemplate(const std::string& path, ApplicationTemplate& t);

}  // namespace k52::cli
