#include "support/Messages.h"

namespace k52::test {

MessageAnswer ScriptedMessages::ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                            MessageButtons buttons) {
    shown.push_back({std::string(text), std::string(title), icon, buttons, 0});
    if (onShow) onShow(shown.back());
    if (!answers.empty()) {
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

std::vector<std::string> ScriptedMessages::texts() const {
    std::vector<std::string> out;
    for (const Shown& s : shown) out.push_back(s.text);
    return out;
}

std::optional<std::string> ScriptedFileDialogs::ChooseTemplateToOpen() {
    ++opens;
    return openAnswer;
}

std::optional<std::string> ScriptedFileDialogs::ChooseTemplateToSave() {
    ++saves;
    return saveAnswer;
}

}  // namespace k52::test
