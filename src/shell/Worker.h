// The one way k52gen runs work off its GUI thread: each job on a thread of its own, its reports carried
// back as queued calls, and its ending handed to a callback on the owner's thread. Nothing here blocks
// the GUI thread on a job, nests an event loop or pumps events.
#pragma once

#include <QObject>
#include <functional>
#include <map>

class QThread;

namespace k52 {

// Runs `fn` on `context`'s thread, queued; dropped when `context` is gone by then. Safe from any thread.
void PostTo(QObject* context, std::function<void()> fn);

class Worker : public QObject {
    Q_OBJECT
  public:
    explicit Worker(QObject* parent = nullptr);
    // Waits for the jobs still running: their stop must have been asked for first.
    ~Worker() override;

    // Runs `job` on a thread of its own; `then` runs on this object's thread once it has returned,
    // unless this object is gone by then. Returns the job's number.
    int Run(std::function<void()> job, std::function<void()> then = {});
    int running() const { return static_cast<int>(threads_.size()); }
    bool Running(int job) const { return threads_.count(job) != 0; }
    // Waits for every job to return (their `then` still follows, queued). Only where the jobs have been
    // told to stop: the GUI thread does not wait on a line.
    void Join();

  signals:
    // The last job running has ended (after its `then`).
    void idle();

  private:
    void Ended(int job, const std::function<void()>& then);

    std::map<int, QThread*> threads_;
    int next_ = 0;
};

}  // namespace k52
