// Messages read ahead by a thread of their own, so that those an editor
// sends while the server is busy wait in a queue, where the server sees
// them before it starts work that they would make pointless.
#pragma once

#include <istream>
#include <memory>

#include "tool/lsp/transport.h"

namespace scenario {

class ReadAheadFrames final : public FrameSource {
  public:
    // Starts reading `in`, which must outlive the reading: it may go on,
    // waiting for input, after this object is gone (see the destructor).
    ReadAheadFrames(std::istream& in, FrameLimits limits);
    ~ReadAheadFrames() override;
    ReadAheadFrames(const ReadAheadFrames&) = delete;
    ReadAheadFrames& operator=(const ReadAheadFrames&) = delete;

    Frame next() override;
    bool ready() override;

  private:
    struct Queue;
    std::shared_ptr<Queue> queue_;
};

}  // namespace scenario
