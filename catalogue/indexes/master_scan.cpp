#include "indexes/master_scan.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace reel {

namespace {
constexpr std::int32_t BlockRecords = 256;
constexpr std::size_t RecordSize = FilmRecord::Size;
}  // namespace

MasterScan::MasterScan(const MasterFile& master, std::int32_t first, std::int32_t last)
    : master_(master), next_(std::max(first, 1)), last_(last) {
    // A second read-only descriptor: the master file's lock belongs to its
    // own descriptor and is not disturbed by this one.
    fd_ = ::open(master.path().c_str(), O_RDONLY | O_CLOEXEC);
}

MasterScan::~MasterScan() {
    if (fd_ >= 0) ::close(fd_);
}

void MasterScan::fill() {
    blockFirst_ = next_;
    blockCount_ = std::min<std::int64_t>(BlockRecords, std::int64_t{last_} - next_ + 1);
    const std::size_t wanted = static_cast<std::size_t>(blockCount_) * RecordSize;
    block_.assign(wanted, ' ');
    const off_t offset = static_cast<off_t>(blockFirst_ - 1) * static_cast<off_t>(RecordSize);
    std::size_t done = 0;
    while (done < wanted) {
        const ssize_t got =
            pread(fd_, block_.data() + done, wanted - done, offset + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;  // the rest reads as blanks, as beyond the end
        done += static_cast<std::size_t>(got);
    }
}

bool MasterScan::next(std::int32_t& number, std::string_view& bytes) {
    if (next_ > last_) return false;
    number = next_;
    if (fd_ < 0) {
        single_ = master_.readRecord(number).bytes();
        bytes = single_;
    } else {
        if (next_ < blockFirst_ || next_ >= blockFirst_ + blockCount_) fill();
        bytes = std::string_view(block_).substr(
            static_cast<std::size_t>(next_ - blockFirst_) * RecordSize, RecordSize);
    }
    ++next_;
    return true;
}

}  // namespace reel
