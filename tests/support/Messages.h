// Stand-ins for what a person answers in message boxes and template file dialogs.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/UserInterface.h"

namespace k52::test {

// One message box as it was shown; `at` is the virtual clock's time where the double knows it.
struct Shown {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    std::int64_t at = 0;
    std::string detail = {};  // the reason shown under the text, when there is one
};

// Answers message boxes from a script; an empty script answers OK, or Cancel (No for Yes/No).
class ScriptedMessages : public MessageBoxes {
  public:
    std::deque<MessageAnswer> answers;
    std::vector<Shown> shown;
    std::function<void(const Shown&)> onShow;  // runs before the answer, e.g. to look at the screen

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override;
    MessageAnswer ShowDetailedMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                      MessageButtons buttons, std::string_view detail) override {
        const MessageAnswer answer = ShowMessage(text, title, icon, buttons);
        shown.back().detail = detail;
        return answer;
    }
    std::vector<std::string> texts() const;
};

class ScriptedFileDialogs : public TemplateFileDialogs {
  public:
    std::optional<std::string> openAnswer, saveAnswer;
    int opens = 0, saves = 0;
    std::optional<std::string> ChooseTemplateToOpen() override;
    std::optional<std::string> ChooseTemplateToSave() override;
};

}  // namespace k52::test
