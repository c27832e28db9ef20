#include "exchange/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace reel::exchange {
namespace {

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

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

// The permissions the replacement gets: those of the file it replaces, or
// what a new file gets under the current umask.
mode_t modeFor(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) return status.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

IoResult readFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return IoResult::failure("The file " + quoted(path) +
                                 " cannot be opened: " + std::strerror(errno) + ".");
    }
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return IoResult::failure("The file " + quoted(path) +
                                     " cannot be read: " + std::strerror(error) + ".");
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return IoResult::success();
}

IoResult replaceFileSafely(const std::string& path, std::string_view bytes) {
    const mode_t mode = modeFor(path);
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return IoResult::failure("The file " + quoted(path) +
                                 " cannot be replaced: " + std::strerror(errno) + ".");
    }
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fchmod(fd, mode) != 0) error = errno;
    if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return IoResult::failure("The file " + quoted(path) +
                                 " could not be written: " + std::strerror(error) + ".");
    }
    // The rename is only durable once the folder is; a failure here leaves
    // the new file in place, so it is not reported as a failed write.
    if (const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return IoResult::success();
}

}  // namespace reel::exchange
