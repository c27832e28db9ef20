// The work-file probe and the work files.
//
// The probe creates one temporary file and takes further handles on it (at
// most 30) and counts the handles it got: that is HandleBudget, the number of
// files the engine may hold open at once. Two of them stay for the input and
// the output file; the rest bound the number of work files.
#include "work_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <vector>

#include "phases.h"
#include "return_codes.h"
#include "safe_file.h"

namespace sorvel {
namespace {

// The folder of the work files. A WORK value not ending in "/" ("C:",
// "TMP\") names no folder here; the current directory serves.
std::string work_folder(const EngineState& state) {
    const std::string& directory = state.options.work_directory;
    if (!directory.empty() && directory.back() == '/') return directory;
    return ".";
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

int create_work_file(const EngineState& state) {
    return create_temporary_file(work_folder(state));
}

void set_work_file(EngineState& state, int k, int fd) {
    RunResources& run = state.run;
    const auto index = static_cast<std::size_t>(k - 1);
    std::vector<int>& fds = run.work_fds;
    if (fds.size() <= index) fds.resize(index + 1, -1);
    fds[index] = fd;
    if (run.work_marks.size() <= index) run.work_marks.resize(index + 1);
    // A new work file is the output just written and keeps its marks.
    run.work_marks[index].clear();
    if (fd >= 0) {
        run.work_marks[index].swap(run.output_marks);
        run.output_marks.clear();
    }
}

int work_file(const EngineState& state, int k) {
    const std::vector<int>& fds = state.run.work_fds;
    if (k < 1 || static_cast<std::size_t>(k) > fds.size()) return -1;
    return fds[static_cast<std::size_t>(k - 1)];
}

bool close_work_file(EngineState& state, int k) {
    const int fd = work_file(state, k);
    if (fd < 0) return true;
    set_work_file(state, k, -1);
    return ::close(fd) == 0;
}

bool probe_work_files(EngineState& state) {
    // The probe file also proves that work files can be made in the WORK
    // directory before any input is read.
    const int fd = create_work_file(state);
    if (fd < 0) return fail(state, rc::kProbeCreate);
    std::vector<int> handles{fd};
    while (handles.size() < kMaxHandles) {
        const int more = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (more < 0) break;
        handles.push_back(more);
    }
    state.run.handle_budget = static_cast<int>(handles.size());
    // Closing the last handle deletes the probe file.
    const bool closed = close_handles(handles);
    if (state.run.handle_budget < kMinHandles) return fail(state, rc::kProbeTooFewHandles);
    if (!closed) return fail(state, rc::kProbeHandleClose);
    state.run.merge_first = 0;
    state.run.work_file_count = 0;
    return true;
}

void remove_temporary_files(EngineState& state) {
    RunResources& run = state.run;
    settle_output_writes(run);  // the run has failed already; only the descriptors matter
    run.merge.reset();
    for (int& fd : run.work_fds) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    run.work_fds.clear();
    if (run.output_fd >= 0 && (run.output_is_work_file || run.output_fd == run.pending_output.fd)) {
        if (run.output_is_work_file) ::close(run.output_fd);
        run.output_fd = -1;
        run.output_is_work_file = false;
        run.output_open = false;
    }
    discard_output(run.pending_output);
    run.work_file_count = 0;
}

bool finish_step(EngineState& state, bool ok) {
    if (!ok) remove_temporary_files(state);
    return ok;
}

}  // namespace sorvel
