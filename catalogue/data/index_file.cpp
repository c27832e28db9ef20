#include "data/index_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace reel {

bool IndexEntry::blankTitle() const {
    for (int i = 0; i < TitleSize; ++i)
        if (bytes[static_cast<std::size_t>(i)] != ' ') return false;
    return true;
}

std::int32_t IndexEntry::recordNumber() const {
    return parseRecordNumber(bytes);
}

std::int32_t parseRecordNumber(std::string_view entry) {
    std::size_t i = IndexEntry::TitleSize;
    while (i < entry.size() && entry[i] == ' ') ++i;
    std::int64_t value = 0;
    for (; i < entry.size() && entry[i] >= '0' && entry[i] <= '9'; ++i) {
        value = value * 10 + (entry[i] - '0');
        if (value > std::numeric_limits<std::int32_t>::max())
            return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

IndexFile::~IndexFile() {
    close();
}

bool IndexFile::open(const std::string& path, std::string* error) {
    close();
    path_ = path;
    open_ = true;
    count_ = 0;
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        if (errno == ENOENT) return true;  // not built yet: no entries
        if (error) *error = "The index file " + path + " cannot be opened: " + std::strerror(errno);
        open_ = false;
        return false;
    }
    struct stat info {};
    if (fstat(fd_, &info) == 0) {
        std::int64_t entries = info.st_size / IndexEntry::Size;
        count_ = entries > std::numeric_limits<std::int32_t>::max()
                     ? std::numeric_limits<std::int32_t>::max()
                     : static_cast<std::int32_t>(entries);
    }
    return true;
}

void IndexFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    open_ = false;
    count_ = 0;
    block_.clear();
    blockFirst_ = 0;
    blockCount_ = 0;
}

// Loads the block of entries that holds entry k.
bool IndexFile::fillBlock(std::int32_t k) const {
    blockFirst_ = ((k - 1) / BlockEntries) * BlockEntries + 1;
    blockCount_ = std::min(BlockEntries, count_ - blockFirst_ + 1);
    block_.assign(static_cast<std::size_t>(blockCount_) * IndexEntry::Size, ' ');
    const off_t offset = static_cast<off_t>(blockFirst_ - 1) * IndexEntry::Size;
    std::size_t done = 0;
    while (done < block_.size()) {
        ssize_t got = pread(fd_, block_.data() + done, block_.size() - done,
                            offset + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            blockCount_ = 0;
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

std::optional<IndexEntry> IndexFile::read(std::int32_t k) const {
    if (fd_ < 0 || k < 1 || k > count_) return std::nullopt;
    if (k < blockFirst_ || k >= blockFirst_ + blockCount_) {
        if (!fillBlock(k)) return std::nullopt;
    }
    IndexEntry entry;
    entry.bytes = block_.substr(static_cast<std::size_t>(k - blockFirst_) * IndexEntry::Size,
                                IndexEntry::Size);
    return entry;
}

}  // namespace reel
