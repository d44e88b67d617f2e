// What the desk shows of a running transfer, from its progress and notices in the order they came: the
// progress window of a download, the receive counter and a message box per notice. The toolkit only
// draws; the rules for when each window comes and goes are here, tested without one.
#pragma once

#include "app/UserInterface.h"
#include "transfer/TransferObserver.h"

namespace k52 {

// The windows a desk draws for a transfer.
class TransferDisplay {
  public:
    virtual ~TransferDisplay() = default;
    // The progress window of a download: title "下載程式", text "下載中...", bar 0..100 starting at 0.
    virtual void BeginProgress(std::string_view title, std::string_view text) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void EndProgress() = 0;
    // The receive counter: begin draws nothing; update draws "Data received : <count>"; end removes it.
    virtual void BeginReceiveStatus() = 0;
    virtual void UpdateReceiveStatus(int count) = 0;
    virtual void EndReceiveStatus() = 0;
    // The transfer waits for the terminal (or its cradle) with nothing else on screen: a desk says so
    // until something else shows. Told again at each new wait.
    virtual void ShowWaiting() {}
};

class TransferPresenter : public TransferObserver {
  public:
    TransferPresenter(TransferDisplay& display, MessageBoxes& boxes) : display_(display), boxes_(boxes) {}

    void OnProgress(const TransferProgress& progress) override;
    void OnNotice(const Notice& notice) override;
    // Takes down whatever window is still up (the transfer ended without saying so).
    void End();

  private:
    enum class Showing { Nothing, Progress, Counter };
    TransferDisplay& display_;
    MessageBoxes& boxes_;
    Showing showing_ = Showing::Nothing;
    int percent_ = 0;
};

}  // namespace k52
