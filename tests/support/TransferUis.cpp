#include "support/TransferUis.h"

namespace k52::test {

MessageAnswer RecordingUi::ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                       MessageButtons buttons) {
    shown.push_back({std::string(text), std::string(title), icon, buttons, clock_.NowMs()});
    events.push_back("message " + std::string(text));
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers.empty()) return MessageAnswer::No;
    const MessageAnswer a = answers.front();
    answers.pop_front();
    if (onAnswer) onAnswer();
    return a;
}

void RecordingUi::BeginProgress(std::string_view title, std::string_view text) {
    events.push_back("progress begin " + std::string(title) + " " + std::string(text));
}

std::optional<std::string> RecordingUi::ChooseLookupFile(const std::string& previous) {
    offeredLookup.push_back(previous);
    return lookupChoice;
}

std::vector<NoticeKind> RecordingUi::Kinds() const {
    std::vector<NoticeKind> k;
    for (const Notice& n : notices) k.push_back(n.kind);
    return k;
}

std::vector<std::string> RecordingUi::Texts() const {
    std::vector<std::string> t;
    for (const Shown& s : shown) t.push_back(s.text);
    return t;
}

}  // namespace k52::test
