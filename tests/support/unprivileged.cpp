#include "unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <filesystem>

namespace reel::testing {

namespace {

bool dropPrivileges() {
    if (geteuid() != 0) return true;
    // Groups first: once the user id is gone, they can no longer be changed.
    return setgroups(0, nullptr) == 0 && setgid(UnprivilegedId) == 0 &&
           setuid(UnprivilegedId) == 0 && geteuid() == UnprivilegedId;
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

bool handToUnprivilegedUser(const std::string& path) {
    if (geteuid() != 0) return true;
    bool ok = lchown(path.c_str(), UnprivilegedId, UnprivilegedId) == 0;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(path, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (lchown(it->path().c_str(), UnprivilegedId, UnprivilegedId) != 0) ok = false;
    }
    return ok && !error;
}

std::string runUnprivileged(const std::function<std::string()>& check) {
    int channel[2];
    if (pipe(channel) != 0) return "child: no pipe";
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return "child: no fork";
    }
    if (child == 0) {
        close(channel[0]);
        std::string result;
        if (!dropPrivileges()) {
            result = "child: cannot become the unprivileged user";
        } else {
            try {
                result = check();
            } catch (const std::exception& e) {
                result = std::string("child: exception: ") + e.what();
            } catch (...) {
                result = "child: exception";
            }
        }
        writeAll(channel[1], result);
        // No exit handlers: they belong to the parent (the test framework's
        // report, the leak check).
        _exit(0);
    }
    close(channel[1]);
    std::string result;
    char buffer[512];
    for (;;) {
        const ssize_t n = read(channel[0], buffer, sizeof buffer);
        if (n <= 0) break;
        result.append(buffer, static_cast<std::size_t>(n));
    }
    close(channel[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child: did not end normally";
    return result;
}

}  // namespace reel::testing
