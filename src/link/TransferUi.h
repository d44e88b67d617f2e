// What the transfers ask of whoever faces the user. Texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/UserInterface.h"
#include "link/TransferProgress.h"

namespace k52 {

class TransferUi : public MessageBoxes {
  public:
    // The retry question of a failed download; Yes starts a new attempt.
    virtual MessageAnswer AskRetry(std::string_view text, std::string_view title) {
        return ShowMessage(text, title, MessageIcon::Question, MessageButtons::YesNo);
    }

    // The progress window of a download: title "下載程式", text "下載中...", bar 0..100 starting at 0.
    virtual void BeginProgress(std::string_view title, std::string_view text) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void EndProgress() = 0;

    // The receive status box: begin notes where it goes and draws nothing; update draws
    // "Data received : <count>"; end removes it (and does nothing without a begin).
    virtual void BeginReceiveStatus() = 0;
    virtual void UpdateReceiveStatus(int count) = 0;
    virtual void EndReceiveStatus() = 0;

    // The open dialog for a lookup data file, starting from `previous`; empty when cancelled.
    virtual std::optional<std::string> ChooseLookupFile(const std::string& previous) = 0;
    // The save dialog for the received data (asks before overwriting); empty when cancelled.
    virtual std::optional<std::string> ChooseDataFile() = 0;
    // Shows the received data file `path` without waiting for the user to close it; the records are
    // CP950, which the host's own text viewers do not read. The path never goes into a command line.
    virtual void OpenForViewing(const std::string& path) = 0;

    // Called at least every 50 ms while a transfer waits, so a front end can repaint and look alive.
    // User input stays blocked while a transfer runs.
    virtual void Idle() {}

    // Where the transfer stands; called at each phase change and after each packet or record.
    virtual void OnProgress(const TransferProgress& /*progress*/) {}
};

// A front end without windows (the command line, benchmarks, tests): it draws nothing and chooses the
// files it was given; what the message boxes answer is left to each.
class WindowlessTransferUi : public TransferUi {
  public:
    void BeginProgress(std::string_view, std::string_view) override {}
    void SetProgress(int) override {}
    void EndProgress() override {}
    void BeginReceiveStatus() override {}
    void UpdateReceiveStatus(int) override {}
    void EndReceiveStatus() override {}
    std::optional<std::string> ChooseLookupFile(const std::string&) override { return lookupChoice; }
    std::optional<std::string> ChooseDataFile() override { return dataChoice; }
    void OpenForViewing(const std::string&) override {}

    std::optional<std::string> lookupChoice;
    std::optional<std::string> dataChoice;
};

}  // namespace k52
