#include "data/master_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "data/film_record.h"
#include "data/posix_file.h"

namespace reel {
namespace {

// "TavlenJ1", the record number (4 bytes), the old length (8 bytes), the old
// record bytes and a checksum of all that (8 bytes); numbers little-endian.
constexpr std::string_view Magic = "TavlenJ1";
constexpr std::size_t RecordSize = FilmRecord::Size;
constexpr std::size_t BodySize = Magic.size() + 4 + 8 + RecordSize;
constexpr std::size_t EntrySize = BodySize + 8;

// FNV-1a: enough to tell a whole entry from one a crash cut short or left
// half old, half new.
std::uint64_t checksum(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

void putNumber(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t getNumber(std::string_view in, std::size_t at, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
    return value;
}

int flush(int fd) {
    if (fdatasync(fd) != 0 && errno != EINVAL) return errno;
    return 0;
}

}  // namespace

std::string journalBytes(const JournalEntry& entry) {
    std::string bytes(Magic);
    putNumber(bytes, static_cast<std::uint32_t>(entry.record), 4);
    putNumber(bytes, static_cast<std::uint64_t>(entry.oldLength), 8);
    std::string old = entry.oldBytes;
    old.resize(RecordSize, ' ');
    bytes += old;
    putNumber(bytes, checksum(bytes), 8);
    return bytes;
}

std::optional<JournalEntry> parseJournal(std::string_view bytes) {
    if (bytes.size() != EntrySize || bytes.substr(0, Magic.size()) != Magic) return std::nullopt;
    if (getNumber(bytes, BodySize, 8) != checksum(bytes.substr(0, BodySize))) return std::nullopt;
    JournalEntry entry;
    entry.record = static_cast<std::int32_t>(getNumber(bytes, Magic.size(), 4));
    entry.oldLength = static_cast<std::int64_t>(getNumber(bytes, Magic.size() + 4, 8));
    entry.oldBytes = std::string(bytes.substr(Magic.size() + 12, RecordSize));
    if (entry.record < 1 || entry.oldLength < 0) return std::nullopt;
    return entry;
}

int undoWrite(int masterFd, const JournalEntry& entry) {
    const std::int64_t offset = (static_cast<std::int64_t>(entry.record) - 1) *
                                static_cast<std::int64_t>(RecordSize);
    std::int64_t keep = entry.oldLength - offset;
    if (keep > static_cast<std::int64_t>(RecordSize)) keep = static_cast<std::int64_t>(RecordSize);
    if (keep > 0) {
        const std::string_view old(entry.oldBytes.data(), static_cast<std::size_t>(keep));
        if (const int error = writeAllAt(masterFd, old, static_cast<off_t>(offset))) return error;
    }
    struct stat status {};
    if (fstat(masterFd, &status) != 0) return errno;
    if (status.st_size > entry.oldLength &&
        ftruncate(masterFd, static_cast<off_t>(entry.oldLength)) != 0)
        return errno;
    return flush(masterFd);
}

MasterJournal::~MasterJournal() {
    close();
}

int MasterJournal::recover(const std::string& path, int masterFd) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return 0;
        // Something that is not our journal sits at its name (a link): it
        // holds nothing to recover and must not be written through.
        if (errno == ELOOP) return unlink(path.c_str()) == 0 ? 0 : errno;
        return errno;
    }
    std::string bytes(EntrySize + 1, '\0');
    std::size_t got = 0;
    int error = 0;
    while (got < bytes.size()) {
        const ssize_t n = pread(fd, bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (error != 0) return error;
    bytes.resize(got);

    // A torn entry was never followed by a write to the master.
    if (const std::optional<JournalEntry> entry = parseJournal(bytes)) {
        if ((error = undoWrite(masterFd, *entry)) != 0) return error;
    }
    if (unlink(path.c_str()) != 0 && errno != ENOENT) return errno;
    return syncFolderOf(path);
}

int MasterJournal::record(const std::string& path, const JournalEntry& entry) {
    if (fd_ < 0 || path_ != path) {
        close();
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ < 0) return errno;
        path_ = path;
        if (const int error = syncFolderOf(path)) return error;
    }
    const std::string bytes = journalBytes(entry);
    if (const int error = writeAllAt(fd_, bytes, 0)) return error;
    return flush(fd_);
}

int MasterJournal::settle() {
    if (fd_ < 0) return 0;
    if (ftruncate(fd_, 0) != 0) return errno;
    return flush(fd_);
}

void MasterJournal::close() {
    if (fd_ < 0) return;
    struct stat status {};
    const bool empty = fstat(fd_, &status) == 0 && status.st_size == 0;
    ::close(fd_);
    fd_ = -1;
    // A journal still holding an entry is left for the next open to apply.
    if (empty) unlink(path_.c_str());
    path_.clear();
}

}  // namespace reel
