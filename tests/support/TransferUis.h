// Transfer front ends for tests: one that records everything a desk would show (through the same
// presenter and wording the desktop uses) and every notice, and one that shows nothing.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/DeskTransfer.h"
#include "app/TransferPresenter.h"
#include "app/TransferWording.h"
#include "line/Clock.h"
#include "support/Messages.h"
#include "transfer/TransferObserver.h"

namespace k52::test {

// Answers Yes/No questions from `answers`, then No; the file choices are set by the test.
class RecordingUi : public TransferObserver,
                    public MessageBoxes,
                    public TransferDisplay,
                    public TransferChoices {
  public:
    explicit RecordingUi(Clock& clock) : clock_(clock) {}

    void OnProgress(const TransferProgress& p) override {
        phases.push_back(p);
        presenter_.OnProgress(p);
    }
    void OnNotice(const Notice& n) override {
        notices.push_back(n);
        presenter_.OnNotice(n);
    }

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override;
    MessageAnswer ShowDetailedMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                      MessageButtons buttons, std::string_view detail) override {
        const MessageAnswer answer = ShowMessage(text, title, icon, buttons);
        shown.back().detail = detail;
        return answer;
    }
    void BeginProgress(std::string_view title, std::string_view text) override;
    void SetProgress(int percent) override { progress.push_back(percent); }
    void EndProgress() override { events.push_back("progress end"); }
    void BeginReceiveStatus() override { status.push_back("begin"); }
    void UpdateReceiveStatus(int count) override {
        status.push_back("update " + std::to_string(count));
        if (onStatus) onStatus(count);
    }
    void EndReceiveStatus() override { status.push_back("end"); }
    std::optional<std::string> ChooseLookupFile(const std::string& previous) override;
    std::optional<int> ChooseLookupNumber(const std::vector<int>& defined,
                                          const ApplicationTemplate&) override {
        offeredNumbers.push_back(defined);
        return numberChoice;
    }
    std::optional<std::string> ChooseDataFile() override { return dataChoice; }
    void OpenForViewing(const std::string& path) override { viewed.push_back(path); }

    std::vector<std::string> Texts() const;
    std::vector<NoticeKind> Kinds() const;
    // A retry question answered from `answers`, as the desk asks it.
    std::function<bool(const Notice&)> RetryHook() {
        return [this](const Notice& failed) {
            const NoticeBox box = RetryQuestion(failed);
            return ShowDetailedMessage(box.text, box.title, box.icon, MessageButtons::YesNo, box.detail) ==
                   MessageAnswer::Yes;
        };
    }

    std::deque<MessageAnswer> answers;  // for Yes/No questions, then No
    std::function<void()> onAnswer;
    std::function<void(int count)> onStatus;  // after each record stored, before its acknowledgement
    std::optional<std::string> lookupChoice;
    std::optional<std::string> dataChoice;
    std::optional<int> numberChoice;  // which lookup file the data fills, when several are defined
    std::vector<std::vector<int>> offeredNumbers;
    std::vector<Shown> shown;
    std::vector<std::string> events;
    std::vector<int> progress;
    std::vector<std::string> status;
    std::vector<std::string> offeredLookup;
    std::vector<std::string> viewed;
    std::vector<TransferProgress> phases;
    std::vector<Notice> notices;

  private:
    Clock& clock_;
    TransferPresenter presenter_{*this, *this};
};

// Shows nothing.
class NullTransferUi : public TransferObserver {};

}  // namespace k52::test
