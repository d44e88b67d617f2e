// k52gen's start: the work that waits on no display, done beside the connection to it.
#include "shell/StartupPrefetch.h"

#include <fontconfig/fontconfig.h>

#include "simulator/ui/SimulatorWidget.h"

namespace k52 {

StartupPrefetch::StartupPrefetch()
    : thread_([this] {
          // Qt's font database reads the same configuration on the first use of a font, on the GUI
          // thread; read here, it is there already (fontconfig keeps one, whoever reads it first).
          FcInit();
          images_ = DecodeFirstPictureImages();
      }) {}

StartupPrefetch::~StartupPrefetch() {
    if (thread_.joinable()) thread_.join();
}

void StartupPrefetch::Finish() {
    if (!thread_.joinable()) return;
    thread_.join();
    AdoptTerminalImages(std::move(images_));
    images_.clear();
}

}  // namespace k52
