// Writes of the output buffer on a helper thread.
//
// While one buffer-full goes to the file (for the system mostly a copy into
// the page cache), the caller goes on filling the other buffer: merging,
// copying records. One write is in flight at a time, so the order of the
// bytes in the file is the order of the hand-overs. Everything else stays on
// the caller's thread: the host hook, the decision to write, and learning
// whether a write succeeded, which wait() reports before any later step may
// rely on the file.
#pragma once

#include <pthread.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace sorvel {

class WriteBehind {
  public:
    WriteBehind() = default;
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;
    ~WriteBehind();

    // Starts the helper thread; false when it cannot be had.
    bool start();

    // Hands over the write of `length` bytes at `data` to `fd`, after the
    // write before it has ended. The bytes must stay untouched until wait()
    // returns. With `write_back`, the system is asked to start putting the
    // written data on disk at once, so that the flush at the end of the
    // output finds less to do.
    void submit(int fd, const std::uint8_t* data, std::size_t length, bool write_back);

    // Waits until no write is in flight. False when a write handed over since
    // the last wait failed or was short.
    bool wait();

  private:
    void serve();

    // A POSIX thread rather than std::thread: starting one makes no object
    // with a virtual table, which the undefined-behaviour checker could not
    // verify in a run that holds every file descriptor it may open.
    pthread_t thread_{};
    bool running_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    int fd_ = -1;
    const std::uint8_t* data_ = nullptr;
    std::size_t length_ = 0;
    bool write_back_ = false;
    bool pending_ = false;
    bool failed_ = false;
    bool stopping_ = false;
};

}  // namespace sorvel
