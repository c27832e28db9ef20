#include "write_behind.h"

#include <fcntl.h>

#include "output_file.h"

namespace sorvel {

void WriteBehindDeleter::operator()(WriteBehind* writer) const {
    delete writer;
}

WriteBehind::~WriteBehind() {
    if (!running_) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    ::pthread_join(thread_, nullptr);
}

bool WriteBehind::start() {
    if (running_) return true;
    auto body = [](void* self) -> void* {
        static_cast<WriteBehind*>(self)->serve();
        return nullptr;
    };
    running_ = ::pthread_create(&thread_, nullptr, body, this) == 0;
    return running_;
}

void WriteBehind::submit(int fd, const std::uint8_t* data, std::size_t length, bool write_back) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !pending_; });
    fd_ = fd;
    data_ = data;
    length_ = length;
    write_back_ = write_back;
    pending_ = true;
    lock.unlock();
    changed_.notify_all();
}

bool WriteBehind::wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !pending_; });
    const bool ok = !failed_;
    failed_ = false;
    return ok;
}

void WriteBehind::serve() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return pending_ || stopping_; });
        if (!pending_) return;
        const int fd = fd_;
        const std::uint8_t* data = data_;
        const std::size_t length = length_;
        const bool write_back = write_back_;
        lock.unlock();
        const bool ok = write_all(fd, data, length);
        // Only a hint: whether the system starts early or not, the output is
        // flushed to disk before it takes the target's place.
        if (ok && write_back) (void)::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        lock.lock();
        if (!ok) failed_ = true;
        pending_ = false;
        changed_.notify_all();
    }
}

}  // namespace sorvel
