#include "data/file_replacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "data/posix_file.h"

namespace reel {

FileReplacement::FileReplacement(std::string target, Naming naming)
    : target_(std::move(target)) {
    temporary_ = naming == Naming::Hidden
                     ? folderOf(target_) + "/." + nameOf(target_) + ".XXXXXX"
                     : target_ + ".XXXXXX";
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        createError_ = errno;
        temporary_.clear();
    }
}

FileReplacement::~FileReplacement() {
    if (fd_ >= 0) ::close(fd_);
    if (!placed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

int FileReplacement::write(std::string_view bytes) {
    if (fd_ < 0) return createError_ != 0 ? createError_ : EBADF;
    return writeAll(fd_, bytes);
}

int FileReplacement::flushAndClose() {
    if (fd_ < 0) return createError_ != 0 ? createError_ : EBADF;
    int error = (::fsync(fd_) != 0 && errno != EINVAL) ? errno : 0;
    if (::close(fd_) != 0 && error == 0) error = errno;
    fd_ = -1;
    return error;
}

int FileReplacement::commit() {
    int error = flushAndClose();
    if (error == 0 && std::rename(temporary_.c_str(), target_.c_str()) != 0) error = errno;
    if (error != 0) return error;
    placed_ = true;
    (void)syncFolderOf(target_);
    return 0;
}

int FileReplacement::commitWithoutReplacing() {
    int error = flushAndClose();
    if (error == 0 && ::link(temporary_.c_str(), target_.c_str()) != 0) error = errno;
    // The new file now has two names or failed to get the second one; the
    // temporary name goes either way.
    if (error == 0) (void)syncFolderOf(target_);
    return error;
}

}  // namespace reel
