// How a running transfer reaches whoever follows it: its messages, the progress window of a download,
// the receive counter and where it stands. The transfer asks nothing while it runs except whether to
// try a failed download again, and only when its request left that to the front end. Texts are UTF-8.
#pragma once

#include <string_view>

#include "app/UserInterface.h"
#include "link/TransferProgress.h"

namespace k52 {

class TransferObserver : public MessageBoxes {
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

    // Called at least every 50 ms while a transfer waits: a chance to redraw a live display.
    virtual void Idle() {}

    // Where the transfer stands; called at each phase change and after each packet or record.
    virtual void OnProgress(const TransferProgress& /*progress*/) {}
};

// A front end without windows (the command line, benchmarks, tests): no progress window or counter.
class WindowlessObserver : public TransferObserver {
  public:
    void BeginProgress(std::string_view, std::string_view) override {}
    void SetProgress(int) override {}
    void EndProgress() override {}
    void BeginReceiveStatus() override {}
    void UpdateReceiveStatus(int) override {}
    void EndReceiveStatus() override {}
};

}  // namespace k52
