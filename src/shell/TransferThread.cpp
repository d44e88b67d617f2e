// The transfer's worker and the queue that shows what it reports, in order, on the GUI thread.
#include "shell/TransferThread.h"

#include <QTimer>
#include <chrono>
#include <future>
#include <memory>

#include "shell/TransferWindows.h"
#include "shell/Worker.h"

namespace k52 {

// On the worker: every report goes to the GUI thread's queue without waiting for it.
class TransferThread::Relay : public TransferObserver {
  public:
    explicit Relay(TransferThread* owner) : owner_(owner) {}
    void OnProgress(const TransferProgress& p) override {
        PostTo(owner_, [o = owner_, p] { o->Enqueue({false, [o, p] { o->presenter_.OnProgress(p); }}); });
    }
    void OnNotice(const Notice& n) override {
        PostTo(owner_, [o = owner_, n] { o->Enqueue({true, [o, n] { o->presenter_.OnNotice(n); }}); });
    }

  private:
    TransferThread* owner_;
};

TransferThread::TransferThread(QtTransferUi& ui, RetryHook askRetry, QObject* parent)
    : QObject(parent),
      ui_(ui),
      askRetry_(std::move(askRetry)),
      presenter_(ui, ui),
      worker_(new Worker(this)),
      drainTimer_(new QTimer(this)) {
    drainTimer_->setSingleShot(true);
    drainTimer_->setInterval(0);
    connect(drainTimer_, &QTimer::timeout, this, &TransferThread::Drain);
}

TransferThread::~TransferThread() {
    stop_.store(true);
    abandoned_ = true;
    delete worker_;  // waits for the transfer: the stop ends any wait, the retry answer included
}

void TransferThread::Start(Job job) {
    if (running_) return;
    running_ = true;
    abandoned_ = false;
    stop_.store(false);
    auto outcome = std::make_shared<TransferOutcome>();
    worker_->Run(
        [this, job = std::move(job), outcome] {
            Relay relay(this);
            // The question goes into the queue like everything else; the transfer waits for its answer
            // or for the stop, which answers No.
            auto ask = [this](const Notice& failed) {
                auto answer = std::make_shared<std::promise<bool>>();
                std::future<bool> future = answer->get_future();
                PostTo(this, [this, answer, failed] {
                    Enqueue({true,
                             [this, answer, failed] { answer->set_value(askRetry_ && askRetry_(failed)); }});
                });
                while (future.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
                    if (stop_.load()) return false;
                try {
                    return future.get();
                } catch (const std::future_error&) {
                    return false;  // dropped unanswered
                }
            };
            *outcome = job(relay, &stop_, ask);
        },
        [this, outcome] {
            Enqueue({false, [this, outcome] {
                         presenter_.End();
                         running_ = false;
                         emit done(*outcome);
                     }});
        });
}

void TransferThread::Abandon() {
    stop_.store(true);
    abandoned_ = true;
}

void TransferThread::Enqueue(Step step) {
    steps_.push_back(std::move(step));
    if (steps_.size() == 1) Drain();
}

void TransferThread::Drain() {
    // A box's own event loop brings further steps here: they wait for it. One step at a time, so the
    // windows paint between steps even when the transfer ran far ahead of the screen.
    if (draining_ || steps_.empty()) return;
    draining_ = true;
    Step step = std::move(steps_.front());
    steps_.pop_front();
    if (!abandoned_ || !step.shown) step.run();
    draining_ = false;
    // A timer, not a posted call: posted calls are all handled before the screen's turn comes.
    if (!steps_.empty()) drainTimer_->start();
}

}  // namespace k52
