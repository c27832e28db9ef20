#include "data/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <cstring>
#include <fstream>

#include "data/file_replacement.h"
#include "data/posix_file.h"

namespace reel {
namespace {

// One line is all these files hold; anything longer is not ours to read whole.
constexpr std::size_t MaxLine = 4096;

IoResult writeFailure(const std::string& path, int error) {
    return IoResult::failure("The file \"" + path +
                             "\" could not be written: " + std::strerror(error) + ".");
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
    FileReplacement next(path);
    if (next.createError() == EACCES) return overwriteInPlace(path, contents);
    int error = next.createError();
    if (error == 0) error = next.write(contents);
    if (error == 0 && fchmod(next.fd(), newFileMode()) != 0) error = errno;
    if (error == 0) error = next.commit();
    return error == 0 ? IoResult::success() : writeFailure(path, error);
}

}  // namespace reel
