#include "exchange/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "data/file_replacement.h"
#include "data/posix_file.h"

namespace reel::exchange {
namespace {

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The permissions the replacement gets: those of the file it replaces, or
// what a new file gets under the current umask.
mode_t modeFor(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) return status.st_mode & 07777;
    return newFileMode();
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
    FileReplacement next(path);
    if (next.createError() != 0) {
        return IoResult::failure("The file " + quoted(path) + " cannot be replaced: " +
                                 std::strerror(next.createError()) + ".");
    }
    int error = next.write(bytes);
    if (error == 0 && ::fchmod(next.fd(), mode) != 0) error = errno;
    if (error == 0) error = next.commit();
    if (error != 0) {
        return IoResult::failure("The file " + quoted(path) +
                                 " could not be written: " + std::strerror(error) + ".");
    }
    return IoResult::success();
}

}  // namespace reel::exchange
