// One transfer at a time off the GUI thread: the GUI never waits on the line. What the transfer reports
// reaches the desk's windows as queued calls, shown in the order it was said: a message box holds back
// what came after it until it is closed, as the transfer's own order has it. The transfer waits only for
// the answer to the retry question.
#pragma once

#include <QObject>
#include <deque>
#include <functional>

#include "app/TransferPresenter.h"
#include "line/Clock.h"
#include "transfer/TransferOutcome.h"

class QTimer;

namespace k52 {

class QtTransferUi;
class Worker;

class TransferThread : public QObject {
    Q_OBJECT
  public:
    using RetryHook = std::function<bool(const Notice& failed)>;
    // `askRetry` is the request's hook: it asks the desk and waits for the answer.
    using Job =
        std::function<TransferOutcome(TransferObserver& observer, const StopFlag* stop, RetryHook askRetry)>;

    // `ui` draws the windows and shows the boxes; `askRetry` asks the retry question on this thread.
    TransferThread(QtTransferUi& ui, RetryHook askRetry, QObject* parent = nullptr);
    // Stops a transfer still running and waits for it (it ends at its next safe point).
    ~TransferThread() override;

    void Start(Job job);
    bool running() const { return running_; }
    // Ends the transfer at its next safe point; `done` follows.
    void RequestStop() { stop_.store(true); }
    // Ends it and shows nothing more of it: what waits to be shown is dropped, the retry question is
    // answered No. `done` still follows.
    void Abandon();

  signals:
    void done(const k52::TransferOutcome& outcome);

  private:
    class Relay;
    struct Step {
        bool shown;  // something for the person, dropped once abandoned
        std::function<void()> run;
    };
    void Enqueue(Step step);
    void Drain();

    QtTransferUi& ui_;
    RetryHook askRetry_;
    TransferPresenter presenter_;
    Worker* worker_;
    QTimer* drainTimer_;
    StopFlag stop_{false};
    std::deque<Step> steps_;
    bool draining_ = false;
    bool abandoned_ = false;
    bool running_ = false;
};

}  // namespace k52
