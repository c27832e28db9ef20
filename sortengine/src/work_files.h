// Work files and the probe that measures how many files the engine may hold
// open.
//
// Every temporary file of a run (work files, the MergeFile, the probe file)
// is created in the WORK directory (the current directory when none is
// given) without a name, or with an unpredictable one that is removed at
// once (safe_file.h). A work file is known only by its descriptor, kept in
// run.work_fds: it can neither be reached by anyone else nor outlive the
// run, however the run ends.
#pragma once

#include "engine_state.h"

namespace sorvel {

inline constexpr int kMaxHandles = 30;
inline constexpr int kMinHandles = 4;

// A new, empty temporary file in the WORK directory, or -1.
int create_work_file(const EngineState& state);

// Work file k (1-based) is `fd` from now on, with the marks of the work
// output just written (none when `fd` is -1).
void set_work_file(EngineState& state, int k, int fd);

// The descriptor of work file k, or -1.
int work_file(const EngineState& state, int k);

// Closes work file k, which deletes it; false when the close fails.
bool close_work_file(EngineState& state, int k);

// Drops the work files, the MergeFile and an output file not yet in place.
// Used after a failure: these files belong to the engine and are of no use
// to anyone once the run has stopped. Never changes the return code.
void remove_temporary_files(EngineState& state);

// Runs `ok` (the result of a step) through the failure clean-up: when the
// step failed, the run's temporary files are removed. Returns `ok`.
bool finish_step(EngineState& state, bool ok);

}  // namespace sorvel
