#include "data/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace reel {

int writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return errno;
        if (put == 0) return ENOSPC;
        done += static_cast<std::size_t>(put);
    }
    return 0;
}

int writeAllAt(int fd, std::string_view bytes, off_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                     offset + static_cast<off_t>(done));
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return errno;
        if (put == 0) return ENOSPC;
        done += static_cast<std::size_t>(put);
    }
    return 0;
}

int copyAll(int in, int out, bool& readFailed) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            readFailed = true;
            return errno;
        }
        if (got == 0) return 0;
        if (const int error =
                writeAll(out, std::string_view(buffer.data(), static_cast<std::size_t>(got))))
            return error;
    }
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

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

int syncFolderOf(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = (::fsync(fd) != 0 && errno != EINVAL) ? errno : 0;
    ::close(fd);
    return error;
}

}  // namespace reel
