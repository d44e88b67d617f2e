// Jobs on threads of their own, ended on the owner's thread.
#include "shell/Worker.h"

#include <QThread>

namespace k52 {

void PostTo(QObject* context, std::function<void()> fn) {
    QMetaObject::invokeMethod(context, std::move(fn), Qt::QueuedConnection);
}

Worker::Worker(QObject* parent) : QObject(parent) {}

Worker::~Worker() {
    Join();
    for (auto& [id, thread] : threads_) delete thread;
}

int Worker::Run(std::function<void()> job, std::function<void()> then) {
    const int id = ++next_;
    QThread* thread = QThread::create(std::move(job));
    threads_[id] = thread;
    connect(
        thread, &QThread::finished, this, [this, id, then = std::move(then)] { Ended(id, then); },
        Qt::QueuedConnection);
    thread->start();
    return id;
}

void Worker::Ended(int id, const std::function<void()>& then) {
    const auto it = threads_.find(id);
    if (it == threads_.end()) return;
    it->second->wait();
    delete it->second;
    threads_.erase(it);
    if (then) then();
    if (threads_.empty()) emit idle();
}

void Worker::Join() {
    for (auto& [id, thread] : threads_) thread->wait();
}

}  // namespace k52
