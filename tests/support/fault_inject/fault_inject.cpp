// fault_inject: an LD_PRELOAD library that makes one chosen file-system call
// of a process fail, or kills the process just before it, so a test can check
// that a program loses no data whatever call goes wrong.
//
// Interface (kept stable; other test suites depend on it):
//
//   LD_PRELOAD=<path>/libfault_inject.so
//   FAULT_OP=write|fsync|rename|open|truncate|any   which calls are numbered
//                                                   (default any)
//   FAULT_AT=N        the Nth numbered call (1-based) is hit; unset or 0: only
//                     count
//   FAULT_KIND=enospc|eio|kill
//                     enospc/eio: the call is not made and fails with that
//                     errno (default enospc); kill: SIGKILL is raised just
//                     before the call, so the call never happens
//   FAULT_STICKY=1    every numbered call from the Nth on fails (a disk that
//                     stays full); default: only the Nth
//   FAULT_COUNT_FILE=<path>
//                     the counts are written there at normal exit, one
//                     "<name> <count>" line each for write, fsync, rename,
//                     open, truncate, any, then "injected 0|1", and, once a
//                     call was hit, "hit <op>" naming its kind. The file is
//                     also written at the moment of the hit, so a killed
//                     process leaves the counts up to the kill.
//
// What is numbered:
//   write   write, pwrite, pwrite64, writev, pwritev, pwritev64 on a regular
//           file (writes to terminals, pipes and sockets pass uncounted, so
//           messages do not shift the numbering)
//   fsync   fsync, fdatasync (any descriptor, directories included)
//   rename  rename, renameat, renameat2
//   open    open, open64, openat, openat64, creat, __open_2, __open64_2
//           when the flags hold O_CREAT or O_TMPFILE
//   truncate ftruncate, ftruncate64
//   any     all of the above in one sequence
//
// Only calls that go through the dynamic symbol are seen: stdio and iostream
// write inside the C library without passing here. Under AddressSanitizer the
// runtime wants to be first in the library list; start such a program with
// ASAN_OPTIONS=verify_asan_link_order=0 (run_child in child_process.h does).
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum Op { kWrite, kFsync, kRename, kOpen, kTruncate, kAny, kOpCount };
const char* const kOpNames[kOpCount] = {"write", "fsync", "rename", "open", "truncate", "any"};

struct Settings {
    int op = kAny;
    long at = 0;
    int kind = ENOSPC;  // 0 = kill
    bool sticky = false;
    const char* count_file = nullptr;
};

std::atomic<long> g_counts[kOpCount];
std::atomic<int> g_injected{0};
std::atomic<int> g_hit_op{-1};

void write_counts();

const Settings& settings() {
    static const Settings s = [] {
        Settings r;
        if (const char* op = std::getenv("FAULT_OP")) {
            for (int i = 0; i < kOpCount; ++i)
                if (std::strcmp(op, kOpNames[i]) == 0) r.op = i;
        }
        if (const char* at = std::getenv("FAULT_AT")) r.at = std::strtol(at, nullptr, 10);
        if (const char* kind = std::getenv("FAULT_KIND")) {
            if (std::strcmp(kind, "eio") == 0) r.kind = EIO;
            if (std::strcmp(kind, "kill") == 0) r.kind = 0;
        }
        if (const char* sticky = std::getenv("FAULT_STICKY")) r.sticky = sticky[0] == '1';
        r.count_file = std::getenv("FAULT_COUNT_FILE");
        return r;
    }();
    return s;
}

template <typename F>
F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// Numbers the call; true when it is to fail (errno is then set). Does not
// return when the process is to be killed.
bool hit(Op op) {
    const Settings& s = settings();
    const long any = ++g_counts[kAny];
    const long own = ++g_counts[op];
    const long number = s.op == kAny ? any : (s.op == op ? own : 0);
    if (s.at <= 0 || number == 0) return false;
    if (number != s.at && !(s.sticky && number > s.at)) return false;
    if (!g_injected.exchange(1)) {
        g_hit_op = op;
        write_counts();
    }
    if (s.kind == 0) {
        raise(SIGKILL);
        for (;;) pause();
    }
    errno = s.kind;
    return true;
}

bool is_regular(int fd) {
    struct stat info;
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

bool creates(int flags) {
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

mode_t mode_argument(int flags, va_list args) {
    return creates(flags) ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

void write_counts() {
    const Settings& s = settings();
    if (!s.count_file) return;
    char text[512];
    int length = 0;
    for (int i = 0; i < kOpCount; ++i)
        length += std::snprintf(text + length, sizeof text - length, "%s %ld\n", kOpNames[i],
                                g_counts[i].load());
    length += std::snprintf(text + length, sizeof text - length, "injected %d\n", g_injected.load());
    if (g_hit_op >= 0)
        length += std::snprintf(text + length, sizeof text - length, "hit %s\n", kOpNames[g_hit_op]);
    using OpenFn = int (*)(const char*, int, ...);
    using WriteFn = ssize_t (*)(int, const void*, size_t);
    const int fd = real<OpenFn>("open")(s.count_file, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    (void)real<WriteFn>("write")(fd, text, static_cast<size_t>(length));
    close(fd);
}

__attribute__((destructor)) void write_counts_at_exit() {
    write_counts();
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* buffer, size_t count) {
    static const auto next = real<ssize_t (*)(int, const void*, size_t)>("write");
    if (is_regular(fd) && hit(kWrite)) return -1;
    return next(fd, buffer, count);
}

ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
    static const auto next = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    if (is_regular(fd) && hit(kWrite)) return -1;
    return next(fd, buffer, count, offset);
}

ssize_t pwrite64(int fd, const void* buffer, size_t count, off64_t offset) {
    static const auto next = real<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    if (is_regular(fd) && hit(kWrite)) return -1;
    return next(fd, buffer, count, offset);
}

ssize_t writev(int fd, const struct iovec* vector, int count) {
    static const auto next = real<ssize_t (*)(int, const struct iovec*, int)>("writev");
    if (is_regular(fd) && hit(kWrite)) return -1;
    return next(fd, vector, count);
}

ssize_t pwritev(int fd, const struct iovec* vector, int count, off_t offset) {
    static const auto next = real<ssize_t (*)(int, const struct iovec*, int, off_t)>("pwritev");
    if (is_regular(fd) && hit(kWrite)) return -1;
    return next(fd, vector, count, offset);
}

ssize_t pwritev64(int fd, const struct iovec* vector, int count, off64_t offset) {
    static const auto next =
        real<ssize_t (*)(int, const struct iovec*, int, off64_t)>("pwritev64");
    if (is_regular(fd) && hit(kWrite)) return -1;
    return next(fd, vector, count, offset);
}

int fsync(int fd) {
    static const auto next = real<int (*)(int)>("fsync");
    if (hit(kFsync)) return -1;
    return next(fd);
}

int fdatasync(int fd) {
    static const auto next = real<int (*)(int)>("fdatasync");
    if (hit(kFsync)) return -1;
    return next(fd);
}

int rename(const char* from, const char* to) {
    static const auto next = real<int (*)(const char*, const char*)>("rename");
    if (hit(kRename)) return -1;
    return next(from, to);
}

int renameat(int from_dir, const char* from, int to_dir, const char* to) {
    static const auto next = real<int (*)(int, const char*, int, const char*)>("renameat");
    if (hit(kRename)) return -1;
    return next(from_dir, from, to_dir, to);
}

int renameat2(int from_dir, const char* from, int to_dir, const char* to, unsigned flags) {
    static const auto next =
        real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    if (hit(kRename)) return -1;
    return next(from_dir, from, to_dir, to, flags);
}

int open(const char* path, int flags, ...) {
    static const auto next = real<int (*)(const char*, int, ...)>("open");
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    if (creates(flags) && hit(kOpen)) return -1;
    return next(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    static const auto next = real<int (*)(const char*, int, ...)>("open64");
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    if (creates(flags) && hit(kOpen)) return -1;
    return next(path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...) {
    static const auto next = real<int (*)(int, const char*, int, ...)>("openat");
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    if (creates(flags) && hit(kOpen)) return -1;
    return next(dir, path, flags, mode);
}

int openat64(int dir, const char* path, int flags, ...) {
    static const auto next = real<int (*)(int, const char*, int, ...)>("openat64");
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    if (creates(flags) && hit(kOpen)) return -1;
    return next(dir, path, flags, mode);
}

int creat(const char* path, mode_t mode) {
    static const auto next = real<int (*)(const char*, mode_t)>("creat");
    if (hit(kOpen)) return -1;
    return next(path, mode);
}

// The checked variants a fortified build calls when it cannot see a mode.
int __open_2(const char* path, int flags) {
    static const auto next = real<int (*)(const char*, int)>("__open_2");
    if (creates(flags) && hit(kOpen)) return -1;
    return next(path, flags);
}

int __open64_2(const char* path, int flags) {
    static const auto next = real<int (*)(const char*, int)>("__open64_2");
    if (creates(flags) && hit(kOpen)) return -1;
    return next(path, flags);
}

int ftruncate(int fd, off_t length) {
    static const auto next = real<int (*)(int, off_t)>("ftruncate");
    if (hit(kTruncate)) return -1;
    return next(fd, length);
}

int ftruncate64(int fd, off64_t length) {
    static const auto next = real<int (*)(int, off64_t)>("ftruncate64");
    if (hit(kTruncate)) return -1;
    return next(fd, length);
}

}  // extern "C"
