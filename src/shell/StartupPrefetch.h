// What k52gen's first picture needs that does not need the display, prepared on a second thread while
// the program connects to the display: the font configuration read, and the terminal images decoded.
#pragma once

#include <QImage>
#include <thread>
#include <utility>
#include <vector>

namespace k52 {

class StartupPrefetch {
  public:
    // Starts the thread; construct it before the application object.
    StartupPrefetch();
    ~StartupPrefetch();
    StartupPrefetch(const StartupPrefetch&) = delete;
    StartupPrefetch& operator=(const StartupPrefetch&) = delete;

    // Waits for the thread and hands its images to the terminal picture. Call it once the application
    // object exists, on its thread, before the main window is built.
    void Finish();

  private:
    std::vector<std::pair<int, QImage>> images_;  // before the thread that fills it
    std::thread thread_;
};

}  // namespace k52
