// Temporary files and the replacement of the output file.
#include "safe_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace sorvel {
namespace {

constexpr int kNameTries = 16;

// The name of a new output file that exists on disk, for a signal handler.
char g_signal_name[4096];
volatile std::sig_atomic_t g_signal_armed = 0;

void arm_signal_name(const std::string& name) {
    g_signal_armed = 0;
    if (name.size() >= sizeof g_signal_name) return;
    std::memcpy(g_signal_name, name.c_str(), name.size() + 1);
    g_signal_armed = 1;
}

void disarm_signal_name() {
    g_signal_armed = 0;
}

// Twelve hex digits nobody can guess ahead of the run.
std::string random_part() {
    unsigned char bytes[6];
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        // Without the kernel's generator: the clock's nanoseconds and the
        // process id are still unknown to anyone planting names beforehand.
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        unsigned long long mix = (static_cast<unsigned long long>(now.tv_nsec) * 2654435761ull) ^
                                 (static_cast<unsigned long long>(getpid()) << 20) ^
                                 static_cast<unsigned long long>(now.tv_sec);
        for (unsigned char& b : bytes) {
            b = static_cast<unsigned char>(mix);
            mix = mix * 6364136223846793005ull + 1442695040888963407ull;
        }
    }
    char text[13];
    for (int i = 0; i < 6; ++i) std::snprintf(text + 2 * i, 3, "%02x", bytes[i]);
    return text;
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string with_slash(const std::string& folder) {
    return folder.back() == '/' ? folder : folder + "/";
}

// A hidden name beside `path` that tells which file it belongs to.
std::string hidden_name_beside(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.size() > 100) base.resize(100);
    return with_slash(folder_of(path)) + "." + base + "." + random_part() + ".tmp";
}

// The file system cannot make unnamed files (or the kernel is too old).
bool unnamed_unsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// An unnamed file can be given a name at the end only through /proc.
bool can_name_unnamed_files() {
    return ::access("/proc/self/fd", X_OK) == 0;
}

int create_exclusive(const std::string& name, mode_t mode) {
    return ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

// Gives the unnamed file of `out` a hidden name beside the target.
bool name_unnamed_file(PendingOutput& out) {
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", out.fd);
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const std::string name = hidden_name_beside(out.target);
        arm_signal_name(name);
        if (::linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            out.temp_name = name;
            return true;
        }
        if (errno != EEXIST) break;
    }
    disarm_signal_name();
    return false;
}

void flush_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // Best effort: the new output is complete and in place; should the
    // rename itself not survive a crash, the previous output is still whole.
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

int create_temporary_file(const std::string& directory) {
    const std::string folder = directory.empty() ? "." : directory;
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || !unnamed_unsupported(errno)) return fd;
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const std::string name = with_slash(folder) + ".sv" + random_part() + ".tmp";
        fd = create_exclusive(name, 0600);
        if (fd >= 0) {
            ::unlink(name.c_str());
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

bool begin_output(const std::string& target, PendingOutput& out) {
    out = PendingOutput{};
    if (target.empty()) {
        errno = ENOENT;
        return false;
    }
    out.target = target;
    // Replacing a symbolic link would cut it off from the data; the file it
    // points to is replaced instead, as writing through it always did.
    struct stat info;
    if (::lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* real = ::realpath(target.c_str(), nullptr)) {
            out.target = real;
            std::free(real);
        }
    }
    if (::stat(out.target.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            out.direct = true;
            out.fd = ::open(out.target.c_str(), O_WRONLY | O_CLOEXEC);
            return out.fd >= 0;
        }
        out.target_existed = true;
        out.target_mode = info.st_mode & 07777;
        out.target_owner = info.st_uid;
        out.target_group = info.st_gid;
    }
    // A new target gets the usual permissions: 0666 less the umask.
    if (can_name_unnamed_files()) {
        out.fd = ::open(folder_of(out.target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (out.fd >= 0) return true;
        if (!unnamed_unsupported(errno)) return false;
    }
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const std::string name = hidden_name_beside(out.target);
        arm_signal_name(name);
        out.fd = create_exclusive(name, 0666);
        if (out.fd >= 0) {
            out.temp_name = name;
            return true;
        }
        disarm_signal_name();
        if (errno != EEXIST) return false;
    }
    return false;
}

bool commit_output(PendingOutput& out) {
    if (out.direct) {
        const bool closed = ::close(out.fd) == 0;
        out.fd = -1;
        return closed;
    }
    if (out.target_existed) {
        // The replacement keeps the old file's owner (where we may give it)
        // and permissions; ownership first, as it may clear set-id bits.
        struct stat info;
        if (::fstat(out.fd, &info) == 0 &&
            (info.st_uid != out.target_owner || info.st_gid != out.target_group)) {
            (void)::fchown(out.fd, out.target_owner, out.target_group);
        }
        (void)::fchmod(out.fd, out.target_mode);
    }
    bool ok = ::fsync(out.fd) == 0 || errno == EINVAL;
    if (ok && out.temp_name.empty()) ok = name_unnamed_file(out);
    if (ok) ok = ::rename(out.temp_name.c_str(), out.target.c_str()) == 0;
    if (!ok) {
        discard_output(out);
        return false;
    }
    out.temp_name.clear();
    disarm_signal_name();
    ::close(out.fd);  // the data is on disk already
    out.fd = -1;
    flush_folder(folder_of(out.target));
    return true;
}

void discard_output(PendingOutput& out) {
    if (out.fd >= 0) ::close(out.fd);
    out.fd = -1;
    if (!out.temp_name.empty()) ::unlink(out.temp_name.c_str());
    out.temp_name.clear();
    disarm_signal_name();
}

void discard_output_on_signal() {
    if (g_signal_armed) ::unlink(g_signal_name);
}

}  // namespace sorvel
