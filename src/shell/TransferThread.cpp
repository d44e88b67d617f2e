// The worker thread of a transfer and the observer that carries its calls to the GUI thread.
#include "shell/TransferThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include "shell/TransferWindows.h"

namespace k52 {

// Called on the worker; each call runs on the GUI thread and returns once it is done there, so windows
// and message boxes come and go in the transfer's own order. Once detached (the program is going away)
// nothing more is shown and every question gets its default answer.
class TransferThread::Bridge : public TransferObserver {
  public:
    Bridge(QtTransferUi& ui, QObject* guiContext) : ui_(ui), context_(guiContext) {}

    void Detach() { detached_.store(true); }

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override {
        return Ask([&] { return ui_.ShowMessage(text, title, icon, buttons); }, buttons);
    }
    MessageAnswer ShowDetailedMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                      MessageButtons buttons, std::string_view detail) override {
        return Ask([&] { return ui_.ShowDetailedMessage(text, title, icon, buttons, detail); }, buttons);
    }
    MessageAnswer AskRetry(std::string_view text, std::string_view title) override {
        return Ask([&] { return ui_.AskRetry(text, title); }, MessageButtons::YesNo);
    }
    void BeginProgress(std::string_view title, std::string_view text) override {
        Run([&] { ui_.BeginProgress(title, text); });
    }
    void SetProgress(int percent) override {
        Run([&] { ui_.SetProgress(percent); });
    }
    void EndProgress() override {
        Run([&] { ui_.EndProgress(); });
    }
    void BeginReceiveStatus() override {
        Run([&] { ui_.BeginReceiveStatus(); });
    }
    void UpdateReceiveStatus(int count) override {
        Run([&] { ui_.UpdateReceiveStatus(count); });
    }
    void EndReceiveStatus() override {
        Run([&] { ui_.EndReceiveStatus(); });
    }
    void Idle() override {
        Run([&] { ui_.Idle(); });
    }
    void OnProgress(const TransferProgress& progress) override {
        Run([&] { ui_.OnProgress(progress); });
    }

  private:
    template <typename Fn>
    void Run(Fn fn) {
        if (detached_.load()) return;
        QMetaObject::invokeMethod(context_, fn, Qt::BlockingQueuedConnection);
    }
    template <typename Fn>
    MessageAnswer Ask(Fn fn, MessageButtons buttons) {
        MessageAnswer answer = buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
        if (detached_.load()) return answer;
        QMetaObject::invokeMethod(
            context_, [&] { answer = fn(); }, Qt::BlockingQueuedConnection);
        return answer;
    }

    QtTransferUi& ui_;
    QObject* context_;
    std::atomic<bool> detached_{false};
};

TransferThread::TransferThread(QtTransferUi& ui, QObject* parent)
    : QObject(parent), bridge_(std::make_unique<Bridge>(ui, this)) {}

TransferThread::~TransferThread() {
    if (!thread_) return;
    stop_.store(true);
    bridge_->Detach();
    // A call already on its way to this thread is handled, so the worker can finish.
    while (!thread_->wait(10)) QCoreApplication::processEvents();
}

void TransferThread::Start(Job job) {
    if (thread_) return;
    stop_.store(false);
    thread_.reset(QThread::create([this, job = std::move(job)] { outcome_ = job(*bridge_, &stop_); }));
    connect(thread_.get(), &QThread::finished, this, &TransferThread::Finished, Qt::QueuedConnection);
    thread_->start();
}

void TransferThread::Finished() {
    if (!thread_) return;
    thread_->wait();
    thread_.reset();
    emit done(outcome_);
}

void TransferThread::WaitUntilDone() {
    if (!thread_) return;
    QEventLoop loop;
    connect(this, &TransferThread::done, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace k52
