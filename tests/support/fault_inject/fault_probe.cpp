// A small program for the preload's self-test: creates a file in the folder
// given, writes it in three calls, syncs, renames and truncates it, printing
// one word per call ("ok" or the errno number), plus one message line on
// standard error that must not be numbered.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

// flushed at once: a killed probe must still show how far it came
void report(const char* what, bool ok) {
    std::printf("%s=%s\n", what, ok ? "ok" : std::to_string(errno).c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string first = std::string(argv[1]) + "/probe.tmp";
    const std::string second = std::string(argv[1]) + "/probe.dat";
    const int fd = ::open(first.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    report("open", fd >= 0);
    if (fd < 0) return 1;
    (void)!::write(2, "message\n", 8);
    report("write1", ::write(fd, "abc", 3) == 3);
    report("write2", ::pwrite(fd, "def", 3, 3) == 3);
    report("write3", ::write(fd, "ghi", 3) == 3);
    report("fsync", ::fsync(fd) == 0);
    report("rename", std::rename(first.c_str(), second.c_str()) == 0);
    report("truncate", ::ftruncate(fd, 2) == 0);
    ::close(fd);
    return 0;
}
