#include "tool/lsp/read_ahead.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace scenario {

// Shared by the reading thread and the server, so that it lives as long
// as either needs it.
struct ReadAheadFrames::Queue {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<Frame> frames;
    bool ended = false;  // the end of the stream is queued: the thread is done
    std::thread reader;
};

ReadAheadFrames::ReadAheadFrames(std::istream& in, FrameLimits limits)
    : queue_(std::make_shared<Queue>()) {
    // Reading a stream flushes the one tied to it (standard output, for
    // standard input): from this thread that would race the server's writes.
    in.tie(nullptr);
    queue_->reader = std::thread([queue = queue_, &in, limits] {
        FrameReader reader(in, limits);
        for (bool end = false; !end;) {
            Frame frame = reader.next();
            end = frame.status == Frame::Status::end;
            const std::lock_guard<std::mutex> lock(queue->mutex);
            queue->frames.push_back(std::move(frame));
            queue->ended = end;
            queue->arrived.notify_one();
        }
    });
}

// A server that stops before its input ends (after `exit`) cannot wait
// for the thread, which may be waiting for input that never comes: the
// thread is left to end with the input, or with the process.
ReadAheadFrames::~ReadAheadFrames() {
    bool ended = false;
    {
        const std::lock_guard<std::mutex> lock(queue_->mutex);
        ended = queue_->ended;
    }
    if (ended) {
        queue_->reader.join();
    } else {
        queue_->reader.detach();
    }
}

Frame ReadAheadFrames::next() {
    std::unique_lock<std::mutex> lock(queue_->mutex);
    queue_->arrived.wait(lock, [this] { return !queue_->frames.empty(); });
    Frame frame = std::move(queue_->frames.front());
    // The end stays queued: every later call sees it too.
    if (frame.status != Frame::Status::end) queue_->frames.pop_front();
    return frame;
}

// The end of the input is no message: the checks still due run before it.
bool ReadAheadFrames::ready() {
    const std::lock_guard<std::mutex> lock(queue_->mutex);
    return !queue_->frames.empty() && queue_->frames.front().status != Frame::Status::end;
}

}  // namespace scenario
