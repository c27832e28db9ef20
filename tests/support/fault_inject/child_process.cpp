#include "child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

extern char** environ;

namespace fault_inject {

namespace {

std::string name_of(const std::string& entry) { return entry.substr(0, entry.find('=')); }

}  // namespace

ChildResult run_child(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment, const std::string& folder) {
    std::vector<std::string> merged;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool overridden = false;
        for (const auto& own : environment) overridden |= name_of(own) == name_of(entry);
        if (!overridden) merged.push_back(entry);
    }
    merged.insert(merged.end(), environment.begin(), environment.end());
    std::vector<char*> env_pointers;
    for (auto& entry : merged) env_pointers.push_back(entry.data());
    env_pointers.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char*> arg_pointers;
    for (auto& arg : args) arg_pointers.push_back(arg.data());
    arg_pointers.push_back(nullptr);

    ChildResult result;
    int pipe_fds[2];
    if (pipe2(pipe_fds, O_CLOEXEC) != 0) return result;
    const pid_t pid = fork();
    if (pid < 0) return result;
    if (pid == 0) {
        dup2(pipe_fds[1], 1);
        dup2(pipe_fds[1], 2);
        if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
        execve(arg_pointers[0], arg_pointers.data(), env_pointers.data());
        _exit(127);
    }
    close(pipe_fds[1]);
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(pipe_fds[0], buffer, sizeof buffer);
        if (got > 0) {
            result.output.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    close(pipe_fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exited = WIFEXITED(status);
    result.code = result.exited ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return result;
}

std::vector<std::string> preload_environment(const Fault& fault, const std::string& count_file) {
    std::string asan = "verify_asan_link_order=0";
    if (const char* inherited = std::getenv("ASAN_OPTIONS"); inherited && *inherited)
        asan = std::string(inherited) + ":" + asan;
    return {"LD_PRELOAD=" FAULT_INJECT_LIBRARY,
            "ASAN_OPTIONS=" + asan,
            "FAULT_OP=" + fault.op,
            "FAULT_AT=" + std::to_string(fault.at),
            "FAULT_KIND=" + fault.kind,
            std::string("FAULT_STICKY=") + (fault.sticky ? "1" : "0"),
            "FAULT_COUNT_FILE=" + count_file};
}

std::map<std::string, long> read_counts(const std::string& count_file) {
    std::map<std::string, long> counts;
    std::ifstream in(count_file);
    std::string name;
    std::string value;
    while (in >> name >> value) {
        if (name != "hit") counts[name] = std::stol(value);
    }
    return counts;
}

std::string read_hit(const std::string& count_file) {
    std::ifstream in(count_file);
    std::string name;
    std::string value;
    while (in >> name >> value) {
        if (name == "hit") return value;
    }
    return {};
}

}  // namespace fault_inject
