// Several threads writing one file, each at its own places.
//
// The system lets only one write at a time into a file: a second thread
// that writes meanwhile spins or sleeps on the file's lock instead of doing
// its own work. So each thread fills one of two buffers; when one is full and
// the file is busy it keeps that buffer and goes on filling the other, and it
// writes what it holds once the file is free, waiting only when both its
// buffers are full. Every buffer carries its place in the file, so the order
// of the writes does not matter. Below 1 MiB per thread the waits are short
// and the lock's hand-overs cost more than they save: each thread then has one
// buffer and writes it at once.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "engine_state.h"

namespace sorvel {

// The file the threads share.
struct SharedFile {
    SharedFile(const RunResources& run, int fd) : run(run), fd(fd) {}
    const RunResources& run;
    int fd;
    std::mutex busy;
    std::atomic<bool> failed{false};
};

// One thread's buffers in `share` bytes of memory: two halves, or one whole
// when the share is small.
class TwinBuffer {
  public:
    // The size of each buffer in a share of `share` bytes.
    static std::size_t capacity_for(std::size_t share);

    // With `caller` (the caller's thread only), the host hook is called
    // before each write.
    TwinBuffer(SharedFile& file, std::uint8_t* memory, std::size_t share,
               const EngineState* caller);

    std::uint8_t* data() { return slots_[current_].data; }
    std::size_t capacity() const { return capacity_; }

    // The first `used` bytes of the current buffer go to file offset `at`;
    // the other buffer becomes current. False once any write has failed.
    bool hand_over(std::size_t used, off_t at);

    // Writes what is still held. False when any write failed.
    bool finish();

  private:
    bool write_held(bool wait);

    struct Slot {
        std::uint8_t* data = nullptr;
        std::size_t used = 0;
        off_t at = 0;
        bool held = false;
    };
    SharedFile& file_;
    Slot slots_[2];
    std::size_t capacity_;
    bool twin_;
    int current_ = 0;
    const EngineState* caller_;
};

}  // namespace sorvel
