// The work-file probe and the names of the temporary files.
//
// The probe creates one empty file, opens it again and again (at most 30
// times) and counts the handles it got: that is HandleBudget, the number of
// files the engine may hold open at once. Two of them stay for the input and
// the output file; the rest bound the number of work files.
#include "work_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

#include "phases.h"
#include "return_codes.h"

namespace sorvel {
namespace {

constexpr const char* kSuffixes = "123456789ABCDEFGHIJKLMNOPQRSTU";

std::string base_name(const EngineState& state) {
    return state.options.work_directory + "sw" + state.run.work_digits + ".00";
}

std::string clock_digits() {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%06llu",
                  static_cast<unsigned long long>(std::time(nullptr)));
    std::string text(digits);
    return text.substr(text.size() - 6);
}

bool file_exists(const std::string& name) {
    struct stat info;
    return ::lstat(name.c_str(), &info) == 0;
}

// Closes the probe handles, the last first; false on the first failure.
bool close_handles(std::vector<int>& handles) {
    bool ok = true;
    while (!handles.empty()) {
        if (::close(handles.back()) != 0) ok = false;
        handles.pop_back();
    }
    return ok;
}

}  // namespace

std::string work_file_name(const EngineState& state, int k) {
    return base_name(state) + kSuffixes[(k - 1) % kMaxHandles];
}

std::string merge_file_name(const EngineState& state) {
    return base_name(state) + "X";
}

std::string header_file_name(const EngineState& state) {
    return base_name(state) + "z";
}

bool probe_work_files(EngineState& state) {
    std::string name;
    int fd = -1;
    for (;;) {
        state.run.work_digits = clock_digits();
        name = base_name(state);
        if (!file_exists(name)) {
            // O_EXCL: a file that appeared meanwhile is never taken over.
            fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) break;
            if (errno != EEXIST) return fail(state, rc::kProbeCreate);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    if (::close(fd) != 0) {
        ::unlink(name.c_str());
        return fail(state, rc::kProbeCloseCreated);
    }
    std::vector<int> handles;
    const int first = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (first < 0) {
        ::unlink(name.c_str());
        return fail(state, rc::kProbeReopen);
    }
    handles.push_back(first);
    while (handles.size() < kMaxHandles) {
        const int more = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
        if (more < 0) break;
        handles.push_back(more);
    }
    state.run.handle_budget = static_cast<int>(handles.size());
    // The probe file goes in every case: it is of no use after the count.
    const bool closed = close_handles(handles);
    const bool deleted = ::unlink(name.c_str()) == 0;
    if (state.run.handle_budget < kMinHandles) return fail(state, rc::kProbeTooFewHandles);
    if (!closed) return fail(state, rc::kProbeHandleClose);
    if (!deleted) return fail(state, rc::kProbeDelete);
    state.run.merge_first = 0;
    state.run.work_file_count = 0;
    return true;
}

void remove_temporary_files(EngineState& state) {
    RunResources& run = state.run;
    if (run.work_digits.empty()) return;
    run.merge.reset();
    for (int& fd : run.work_fds) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    run.work_fds.clear();
    if (run.output_is_work_file && run.output_fd >= 0) {
        ::close(run.output_fd);
        run.output_fd = -1;
        run.output_is_work_file = false;
    }
    for (const std::string& name : run.work_files) ::unlink(name.c_str());
    run.work_files.clear();
    if (run.header_file_made) {
        ::unlink(header_file_name(state).c_str());
        run.header_file_made = false;
    }
    run.work_file_count = 0;
}

void note_temporary_file(EngineState& state, const std::string& name) {
    for (const std::string& known : state.run.work_files) {
        if (known == name) return;
    }
    state.run.work_files.push_back(name);
}

bool finish_step(EngineState& state, bool ok) {
    if (!ok) remove_temporary_files(state);
    return ok;
}

}  // namespace sorvel
