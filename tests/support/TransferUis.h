// Transfer user interfaces for tests: one that records everything it is asked to show, one that shows
// nothing.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "link/DeskTransfer.h"
#include "link/TransferObserver.h"
#include "support/Messages.h"

namespace k52::test {

// Answers Yes/No questions from `answers`, then No; the file choices are set by the test.
class RecordingUi : public TransferObserver, public TransferChoices {
  public:
    explicit RecordingUi(Clock& clock) : clock_(clock) {}

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override;
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
    std::optional<std::string> ChooseDataFile() override { return dataChoice; }
    void OpenForViewing(const std::string& path) override { viewed.push_back(path); }
    void Idle() override { idle.push_back(clock_.NowMs()); }
    void OnProgress(const TransferProgress& p) override { phases.push_back(p); }

    std::vector<std::string> Texts() const;

    std::deque<MessageAnswer> answers;  // for Yes/No questions, then No
    std::function<void()> onAnswer;
    std::function<void(int count)> onStatus;  // after each record stored, before its acknowledgement
    std::optional<std::string> lookupChoice;
    std::optional<std::string> dataChoice;
    std::vector<Shown> shown;
    std::vector<std::string> events;
    std::vector<int> progress;
    std::vector<std::string> status;
    std::vector<std::string> offeredLookup;
    std::vector<std::string> viewed;
    std::vector<std::int64_t> idle;
    std::vector<TransferProgress> phases;

  private:
    Clock& clock_;
};

// Shows nothing and answers OK and No.
class NullTransferUi : public WindowlessObserver {
  public:
    MessageAnswer ShowMessage(std::string_view, std::string_view, MessageIcon,
                              MessageButtons buttons) override {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
};

}  // namespace k52::test
