#include "prefs/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "data/file_replacement.h"
#include "data/posix_file.h"
#include "data/text_file.h"

namespace reel {

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
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat sourceStat {};
    if (in < 0 || ::fstat(in, &sourceStat) != 0) {
        result.error = errno;
        result.sourceFailed = true;
        if (in >= 0) ::close(in);
        return result;
    }

    // A copy cut short by a kill left its temporary file; it is no use now.
    removeLeftoverTemporaries(folderOf(target) + "/." + nameOf(target));
    FileReplacement copy(target, FileReplacement::Naming::Hidden);
    int error = copy.createError();
    if (error == 0) error = copyAll(in, copy.fd(), result.sourceFailed);
    ::close(in);
    // Mode and date are courtesies some media (FAT sticks) do not keep;
    // failing to set them does not spoil the copy.
    if (error == 0) {
        ::fchmod(copy.fd(), newFileMode());
        const struct timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
        ::futimens(copy.fd(), times);
    }
    if (error == 0) error = copy.commit();
    result.error = error;
    return result;
}

}  // namespace reel
