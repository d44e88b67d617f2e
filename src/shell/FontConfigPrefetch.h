// The font configuration read on a second thread while k52gen connects to the display, so that the
// first use of a font finds it read.
#pragma once

#include <thread>

namespace k52 {

class FontConfigPrefetch {
  public:
    // Starts the reading; construct it before the application object.
    FontConfigPrefetch();
    ~FontConfigPrefetch();
    FontConfigPrefetch(const FontConfigPrefetch&) = delete;
    FontConfigPrefetch& operator=(const FontConfigPrefetch&) = delete;

    // Waits until it is read; call it before the first font is used.
    void Finish();

  private:
    std::thread thread_;
};

}  // namespace k52
