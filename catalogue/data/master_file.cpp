// The master file is a plain array of 649-byte records addressed by number.
// All access goes through pread/pwrite at computed offsets, so there is no
// file position to keep in step and no buffering that could hold a write back.
#include "data/master_file.h"
#include "data/posix_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

namespace reel {
namespace {

constexpr std::int64_t RecordSize = FilmRecord::Size;

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string reason(int error) {
    return std::strerror(error);
}

std::int64_t offsetOf(std::int32_t n) {
    return (static_cast<std::int64_t>(n) - 1) * RecordSize;
}

// Takes an exclusive lock that also conflicts with a second open of the same
// file inside this process (open file description locks, or flock on its own
// descriptor where those are missing). Returns 0 or the errno.
int lockExclusively(int fd) {
#ifdef F_OFD_SETLK
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    if (fcntl(fd, F_OFD_SETLK, &lock) == 0) return 0;
    if (errno != EINVAL) return errno;
#endif
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
    return errno;
}

bool lockIsHeldElsewhere(int error) {
    return error == EAGAIN || error == EACCES || error == EWOULDBLOCK;
}

// Reads up to `size` bytes at `offset`; gives the count read, or -1.
ssize_t readFully(int fd, char* buffer, std::size_t size, std::int64_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = pread(fd, buffer + done, size - done,
                                  static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

// Bytes that make the range [from, to) of the file read as blank records.
std::string blankFill(std::int64_t from, std::int64_t to) {
    const std::string blank = FilmRecord().bytes();
    std::string fill;
    fill.reserve(static_cast<std::size_t>(to - from));
    for (std::int64_t offset = from; offset < to; ++offset) {
        fill += blank[static_cast<std::size_t>(offset % RecordSize)];
    }
    return fill;
}

}  // namespace

std::int32_t recordCountForLength(std::int64_t length) {
    if (length <= 0) return 0;
    std::int64_t whole = length / RecordSize;
    const std::int64_t twiceRest = 2 * (length % RecordSize);
    if (twiceRest > RecordSize || (twiceRest == RecordSize && whole % 2 == 1)) ++whole;
    constexpr std::int64_t Max = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(whole > Max ? Max : whole);
}

MasterFile::MasterFile(std::string directory) : directory_(std::move(directory)) {
    if (directory_.empty()) directory_ = ".";
}

MasterFile::~MasterFile() {
    close();
}

std::string MasterFile::path() const {
    if (directory_.back() == '/') return directory_ + FileName;
    return directory_ + "/" + FileName;
}

std::string MasterFile::journalPath() const {
    if (directory_.back() == '/') return directory_ + MasterJournal::FileName;
    return directory_ + "/" + MasterJournal::FileName;
}

IoResult MasterFile::open() {
    close();
    const std::string file = path();
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return IoResult::failure("The catalogue file " + quoted(file) +
                                 " cannot be opened or created: " + reason(errno) + ".");
    }
    if (const int error = lockExclusively(fd); error != 0) {
        ::close(fd);
        if (lockIsHeldElsewhere(error)) {
            return IoResult::failure("The catalogue " + quoted(file) +
                                     " is already open in another reelbook window. It is in "
                                     "use, so this copy cannot open it.");
        }
        return IoResult::failure("The catalogue file " + quoted(file) +
                                 " cannot be locked: " + reason(error) + ".");
    }
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return IoResult::failure("The catalogue file " + quoted(file) +
                                 " cannot be examined: " + reason(error) + ".");
    }
    // A Save cut short by a crash is undone before anything reads the file.
    if (const int error = journal_.recover(journalPath(), fd); error != 0) {
        ::close(fd);
        return IoResult::failure("The catalogue file " + quoted(file) +
                                 " could not be restored after an interrupted save (from " +
                                 quoted(journalPath()) + "): " + reason(error) + ".");
    }
    if (fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return IoResult::failure("The catalogue file " + quoted(file) +
                                 " cannot be examined: " + reason(error) + ".");
    }
    fd_ = fd;
    recordCount_ = recordCountForLength(status.st_size);
    return IoResult::success();
}

void MasterFile::close() {
    journal_.close();
    unfinished_.reset();
    if (fd_ >= 0) ::close(fd_);  // closing the descriptor releases the lock
    fd_ = -1;
    recordCount_ = 0;
}

FilmRecord MasterFile::readRecord(std::int32_t n) const {
    if (fd_ < 0 || n < 1 || n > recordCount_) return FilmRecord::pastEnd();
    std::string bytes = FilmRecord().bytes();
    const ssize_t got = readFully(fd_, bytes.data(), bytes.size(), offsetOf(n));
    if (got <= 0) return FilmRecord::pastEnd();
    // A partial last record keeps the blank remainder that `bytes` started with.
    return FilmRecord::fromBytes(bytes);
}

IoResult MasterFile::writeRecord(std::int32_t n, const FilmRecord& record) {
    const std::string file = path();
    if (fd_ < 0) return IoResult::failure("The catalogue file " + quoted(file) + " is not open.");
    if (n < 1) {
        return IoResult::failure("Record " + std::to_string(n) + " cannot be written to " +
                                 quoted(file) + ": record numbers start at 1.");
    }
    // A new film goes at the end at the farthest; a number beyond that can
    // only come from a damaged index and would grow the file by blank records.
    if (n > recordCount_ && n - recordCount_ > 1) {
        return IoResult::failure("Record " + std::to_string(n) + " cannot be written to " +
                                 quoted(file) + ": the catalogue holds " +
                                 std::to_string(recordCount_) +
                                 " records, and a new one can only follow the last.");
    }
    auto failed = [&](int error) {
        return IoResult::failure("Record " + std::to_string(n) + " could not be written to " +
                                 quoted(file) + ": " + reason(error) + ".");
    };
    // A write that failed and could not be taken back still has its undo in
    // the journal; nothing may overwrite that before the undo is done.
    if (unfinished_) {
        if (const int error = undoWrite(fd_, *unfinished_); error != 0) return failed(error);
        unfinished_.reset();
        (void)journal_.settle();
    }
    struct stat status {};
    if (fstat(fd_, &status) != 0) return failed(errno);
    const std::int64_t oldLength = status.st_size;
    const std::int64_t offset = offsetOf(n);
    const std::int64_t end = offset + RecordSize;

    // What the write is about to change goes to the journal first, so a
    // crash half-way through the record can be undone at the next open.
    JournalEntry undo;
    undo.record = n;
    undo.oldLength = oldLength;
    undo.oldBytes = FilmRecord().bytes();
    if (offset < oldLength && readFully(fd_, undo.oldBytes.data(), undo.oldBytes.size(), offset) < 0)
        return failed(errno);
    if (const int error = journal_.record(journalPath(), undo); error != 0) {
        (void)journal_.settle();
        return failed(error);
    }

    // Writing beyond the end fills the gap left by a partial last record
    // with blanks in the same write (never more than part of one record).
    std::string bytes;
    std::int64_t writeAt = offset;
    if (oldLength < offset) {
        bytes = blankFill(oldLength, offset);
        writeAt = oldLength;
    }
    bytes += record.bytes();

    int error = writeAllAt(fd_, bytes, static_cast<off_t>(writeAt));
    if (error == 0 && fdatasync(fd_) != 0 && errno != EINVAL) error = errno;
    if (error != 0) {
        // The record goes back to what it was; if even that fails the journal
        // stays, and the next open undoes the write.
        if (undoWrite(fd_, undo) == 0) (void)journal_.settle();
        else unfinished_ = undo;
        return failed(error);
    }
    // Until the journal is emptied a crash would still undo this write, so
    // the Save counts as done only after that.
    if (const int settleError = journal_.settle(); settleError != 0) {
        if (undoWrite(fd_, undo) == 0) {
            (void)journal_.settle();
            return failed(settleError);
        }
        // The record could not be put back now; a journal written again
        // puts it back at the next open. Failing that, it stays as saved.
        if (journal_.record(journalPath(), undo) == 0) {
            unfinished_ = undo;
            return failed(settleError);
        }
        IoResult result = failed(settleError);
        result.message += " The record could not be put back as it was, so it may hold what was "
                          "being saved.";
        return result;
    }
    recordCount_ = recordCountForLength(end > oldLength ? end : oldLength);
    return IoResult::success();
}

IoResult MasterFile::blankRecord(std::int32_t n) {
    return writeRecord(n, FilmRecord());
}

std::int32_t MasterFile::freeSlot() const {
    const int titleWidth = fieldSpec(Field::Title).width;
    const std::string blankTitle(static_cast<std::size_t>(titleWidth), ' ');
    std::string title(static_cast<std::size_t>(titleWidth), ' ');
    for (std::int32_t n = 1; n <= recordCount_ && fd_ >= 0; ++n) {
        std::fill(title.begin(), title.end(), ' ');
        // A title that cannot be read is taken as occupied: better to grow the
        // file than to overwrite a film.
        if (readFully(fd_, title.data(), title.size(), offsetOf(n)) < 0) continue;
        if (title == blankTitle) return n;
    }
    if (recordCount_ == std::numeric_limits<std::int32_t>::max()) return recordCount_;
    return recordCount_ + 1;
}

}  // namespace reel
