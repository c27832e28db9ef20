#include "data/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <cstring>
#include <fstream>

namespace reel {
namespace {

// One line is all these files hold; anything longer is not ours to read whole.
constexpr std::size_t MaxLine = 4096;

IoResult writeFailure(const std::string& path, int error) {
    return IoResult::failure("The file \"" + path +
                             "\" could not be written: " + std::strerror(error) + ".");
}

int writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return errno;
        if (put == 0) return ENOSPC;
        done += static_cast<std::size_t>(put);
    }
    return 0;
}

mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// For a writable file in a directory that takes no new files, where the
// replacement cannot be prepared beside it.
IoResult overwriteInPlace(const std::string& path, std::string_view contents) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return writeFailure(path, errno);
    int error = writeAll(fd, contents);
    if (::close(fd) != 0 && error == 0) error = errno;
    return error == 0 ? IoResult::success() : writeFailure(path, error);
}

// The rename must reach the disk before anything that relies on the new
// contents does. Some file systems cannot sync a folder; that is no failure.
void syncFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)fsync(fd);
    ::close(fd);
}

bool isTemporarySuffix(std::string_view suffix) {
    if (suffix.size() != 6) return false;
    for (const char c : suffix)
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

void removeLeftoverTemporaries(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const std::string prefix = target.filename().string() + ".";
    std::error_code ec;
    fs::directory_iterator it(target.has_parent_path() ? target.parent_path() : fs::path("."), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        if (!isTemporarySuffix(std::string_view(name).substr(prefix.size()))) continue;
        std::error_code ignored;
        if (it->is_regular_file(ignored)) fs::remove(it->path(), ignored);
    }
}

std::string joinPath(const std::string& directory, std::string_view name) {
    if (directory.empty()) return std::string(name);
    if (directory.back() == '/') return directory + std::string(name);
    return directory + "/" + std::string(name);
}

std::optional<std::string> readFirstItem(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string line(MaxLine, '\0');
    in.read(line.data(), static_cast<std::streamsize>(line.size()));
    if (in.bad()) return std::nullopt;
    line.resize(static_cast<std::size_t>(in.gcount()));

    const std::size_t lineEnd = line.find_first_of("\r\n");
    if (lineEnd != std::string::npos) line.resize(lineEnd);
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) return std::string();
    std::string item = line.substr(start, line.find(',', start) - start);
    const std::size_t last = item.find_last_not_of(" \t");
    item.resize(last == std::string::npos ? 0 : last + 1);
    return item;
}

IoResult replaceFile(const std::string& path, std::string_view contents) {
    // A replacement a killed program never renamed is of no use to anyone.
    removeLeftoverTemporaries(path);
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0 && errno == EACCES) return overwriteInPlace(path, contents);
    if (fd < 0) return writeFailure(path, errno);

    int error = writeAll(fd, contents);
    if (error == 0 && fchmod(fd, newFileMode()) != 0) error = errno;
    if (error == 0 && fsync(fd) != 0 && errno != EINVAL) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        return writeFailure(path, error);
    }
    syncFolderOf(path);
    return IoResult::success();
}

}  // namespace reel
