#include "app/catalogue_home.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "data/file_replacement.h"
#include "data/master_file.h"
#include "data/posix_file.h"

namespace reel {

namespace fs = std::filesystem;

namespace {

std::string joined(const std::string& folder, const std::string& relative) {
    return (fs::path(folder) / relative).lexically_normal().string();
}

IoResult failure(const std::string& what, const std::string& path, int error) {
    return IoResult::failure(what + " \"" + path + "\": " + std::strerror(error) + ".");
}

// Copies one file: written to a fresh temporary beside the target, then
// linked into place, which fails rather than replace a file that appeared
// meanwhile (that file is the user's and stays).
IoResult copyFile(const fs::path& source, const fs::path& target) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return failure("The sample file cannot be read:", source.string(), errno);
    FileReplacement copy(target.string());
    int error = copy.createError();
    bool readFailed = false;
    if (error == 0) error = copyAll(in, copy.fd(), readFailed);
    ::close(in);
    if (error == 0) error = copy.commitWithoutReplacing();
    if (error != 0 && error != EEXIST)
        return failure("The file cannot be written:", target.string(), error);
    return IoResult::success();
}

}  // namespace

Environment processEnvironment() {
    return [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (!value) return std::nullopt;
        return std::string(value);
    };
}

std::string userCatalogueFolder(const Environment& environment) {
    const std::optional<std::string> dataHome = environment("XDG_DATA_HOME");
    if (dataHome && !dataHome->empty() && dataHome->front() == '/')
        return joined(*dataHome, "reelbook");
    const std::optional<std::string> home = environment("HOME");
    if (!home || home->empty() || home->front() != '/') return {};
    return joined(*home, ".local/share/reelbook");
}

CatalogueFolder prepareCatalogueFolder(const std::string& path) {
    CatalogueFolder folder;
    folder.path = path;
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
        // Parents are made as the system would (they are shared folders such as
        // ~/.local/share); the catalogue's own folder is private.
        const fs::path parent = fs::path(path).parent_path();
        if (!parent.empty()) fs::create_directories(parent, ec);
        if (ec || ::mkdir(path.c_str(), 0700) != 0) {
            const int error = ec ? ec.value() : errno;
            if (!(error == EEXIST && fs::is_directory(path, ec))) {
                folder.result = failure("The catalogue folder cannot be made:", path, error);
                return folder;
            }
        }
    }
    if (::access(path.c_str(), R_OK | W_OK | X_OK) != 0) {
        folder.result = failure("The catalogue folder cannot be used:", path, errno);
        return folder;
    }
    folder.firstStart = !fs::exists(fs::path(path) / MasterFile::FileName, ec);
    return folder;
}

IoResult copySampleCatalogue(const std::string& sampleFolder, const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator it(sampleFolder, ec);
    if (ec)
        return IoResult::failure("The sample catalogue \"" + sampleFolder +
                                 "\" cannot be read: " + ec.message() + ".");
    for (const fs::directory_entry& entry : it) {
        if (!entry.is_regular_file(ec)) continue;
        const fs::path target = fs::path(folder) / entry.path().filename();
        if (fs::exists(fs::symlink_status(target, ec))) continue;
        if (IoResult copied = copyFile(entry.path(), target); !copied) return copied;
    }
    return IoResult::success();
}

}  // namespace reel
