#include "shared_writes.h"

#include "host_hook.h"
#include "output_file.h"
#include "worker_threads.h"

namespace sorvel {
namespace {

constexpr std::size_t kSmallestTwinShare = std::size_t{1} << 20;

bool twin_share(std::size_t share) {
    // As a job, a small share is not worth a second buffer (worker_threads.h:
    // tests that force workers get the twin buffers at any size).
    return worker_count(share, kSmallestTwinShare) >= 2;
}

}  // namespace

std::size_t TwinBuffer::capacity_for(std::size_t share) {
    return twin_share(share) ? share / 2 : share;
}

TwinBuffer::TwinBuffer(SharedFile& file, std::uint8_t* memory, std::size_t share,
                       const EngineState* caller)
    : file_(file), capacity_(capacity_for(share)), twin_(twin_share(share)), caller_(caller) {
    slots_[0].data = memory;
    slots_[1].data = twin_ ? memory + capacity_ : memory;
}

bool TwinBuffer::hand_over(std::size_t used, off_t at) {
    Slot& full = slots_[current_];
    full.used = used;
    full.at = at;
    full.held = used > 0;
    if (!twin_) return write_held(true);
    const int other = 1 - current_;
    // The other buffer still held means both are full: wait for the file.
    const bool ok = write_held(slots_[other].held);
    current_ = other;  // free now: written, or never handed over
    return ok;
}

bool TwinBuffer::finish() {
    return write_held(true);
}

bool TwinBuffer::write_held(bool wait) {
    if (!slots_[0].held && !slots_[1].held) return !file_.failed;
    if (caller_ != nullptr) drain_messages(*caller_);
    std::unique_lock<std::mutex> lock(file_.busy, std::defer_lock);
    if (!twin_) {
        // Small writes: the file's own lock orders them.
    } else if (wait) {
        lock.lock();
    } else if (!lock.try_lock()) {
        return !file_.failed;
    }
    for (Slot& slot : slots_) {
        if (!slot.held) continue;
        slot.held = false;
        if (file_.failed) continue;
        if (write_all_at(file_.fd, slot.data, slot.used, slot.at)) {
            start_write_back(file_.run, slot.at, slot.used);
        } else {
            file_.failed = true;
        }
    }
    return !file_.failed;
}

}  // namespace sorvel
