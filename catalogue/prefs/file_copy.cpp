#include "prefs/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "data/text_file.h"

namespace reel {
namespace {

// Closes a descriptor when it goes out of scope, unless released.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and says whether the close succeeded (0) or its errno.
    int close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int writeAll(int fd, const char* bytes, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = ::write(fd, bytes + done, size - done);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return errno;
        if (put == 0) return ENOSPC;
        done += static_cast<std::size_t>(put);
    }
    return 0;
}

// Copies the rest of `in` to `out`. Sets `readFailed` when the error came
// from the source.
int copyBytes(int in, int out, bool& readFailed) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            readFailed = true;
            return errno;
        }
        if (got == 0) return 0;
        if (const int error = writeAll(out, buffer.data(), static_cast<std::size_t>(got)))
            return error;
    }
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Makes the rename itself last on the medium. Some file systems cannot sync
// a folder; that is no reason to call the copy failed.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

FileLookup lookUpFile(const std::string& path) {
    FileLookup lookup;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) lookup.error = errno;
        return lookup;
    }
    if (!S_ISREG(st.st_mode)) {
        lookup.error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return lookup;
    }
    lookup.exists = true;
    lookup.facts.modified = st.st_mtime;
    lookup.facts.size = static_cast<std::int64_t>(st.st_size);
    lookup.facts.device = st.st_dev;
    lookup.facts.inode = st.st_ino;
    return lookup;
}

int checkFolder(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

bool isNotReadyError(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENODEV:
        case ENXIO:
        case EIO:
        case ESTALE:
        case ENOMEDIUM:
        case ENOTCONN:
            return true;
        default:
            return false;
    }
}

CopyResult copyFileSafely(const std::string& source, const std::string& target) {
    CopyResult result;
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat sourceStat {};
    if (in.get() < 0 || ::fstat(in.get(), &sourceStat) != 0) {
        result.error = errno;
        result.sourceFailed = true;
        return result;
    }

    // A copy cut short by a kill left its temporary file; it is no use now.
    const std::string hidden = folderOf(target) + "/." + nameOf(target);
    removeLeftoverTemporaries(hidden);
    std::string temporary = hidden + ".XXXXXX";
    FileDescriptor out(::mkstemp(temporary.data()));
    if (out.get() < 0) {
        result.error = errno;
        return result;
    }

    int error = copyBytes(in.get(), out.get(), result.sourceFailed);
    // Mode and date are courtesies some media (FAT sticks) do not keep;
    // failing to set them does not spoil the copy.
    if (error == 0) {
        ::fchmod(out.get(), newFileMode());
        const struct timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
        ::futimens(out.get(), times);
    }
    if (error == 0 && ::fsync(out.get()) != 0 && errno != EINVAL) error = errno;
    if (const int closeError = out.close(); error == 0) error = closeError;
    if (error == 0 && std::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        result.error = error;
        return result;
    }
    syncFolder(folderOf(target));
    return result;
}

}  // namespace reel
