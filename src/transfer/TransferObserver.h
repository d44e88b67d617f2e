// How a running transfer reaches whoever follows it: where it stands, and what it has to tell. Both are
// called on the transfer's own thread; neither may block for long.
#pragma once

#include "transfer/Notice.h"
#include "transfer/TransferProgress.h"

namespace k52 {

class TransferObserver {
  public:
    virtual ~TransferObserver() = default;
    // At each phase change and after each packet or record; the last one is Done or Failed.
    virtual void OnProgress(const TransferProgress& /*progress*/) {}
    virtual void OnNotice(const Notice& /*notice*/) {}
};

}  // namespace k52
