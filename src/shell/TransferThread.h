// One transfer at a time on a worker thread: the GUI thread never waits on the line. What the transfer
// shows reaches the desktop's windows on the GUI thread, in the order it was said.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

#include "link/TransferObserver.h"
#include "link/TransferOutcome.h"
#include "link/TransferRequest.h"

class QThread;

namespace k52 {

class QtTransferUi;

class TransferThread : public QObject {
    Q_OBJECT
  public:
    using Job = std::function<TransferOutcome(TransferObserver& observer, const StopFlag* stop)>;

    // `ui` lives on the GUI thread, as this object does.
    explicit TransferThread(QtTransferUi& ui, QObject* parent = nullptr);
    // Stops a transfer still running and waits for it.
    ~TransferThread() override;

    void Start(Job job);
    bool running() const { return thread_ != nullptr; }
    // Ends the transfer at its next safe point; `done` follows.
    void RequestStop() { stop_.store(true); }
    // Handles events until the transfer running now has ended (at once when none is).
    void WaitUntilDone();

  signals:
    void done(const k52::TransferOutcome& outcome);

  private:
    class Bridge;
    void Finished();

    std::unique_ptr<Bridge> bridge_;
    std::unique_ptr<QThread> thread_;
    StopFlag stop_{false};
    TransferOutcome outcome_;
};

}  // namespace k52
