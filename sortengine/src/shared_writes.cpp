#include "shared_writes.h"

#include "host_hook.h"
#include "output_file.h"

namespace sorvel {

TwinBuffer::TwinBuffer(SharedFile& file, std::uint8_t* memory, std::size_t capacity,
                       const EngineState* caller)
    : file_(file), capacity_(capacity), caller_(caller) {
    slots_[0].data = memory;
    slots_[1].data = memory + capacity;
}

bool TwinBuffer::hand_over(std::size_t used, off_t at) {
    Slot& full = slots_[current_];
    full.used = used;
    full.at = at;
    full.held = used > 0;
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
    if (wait) {
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
