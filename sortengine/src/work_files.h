// Work files: the names of the engine's temporary files and the probe that
// measures how many files the engine may hold open.
//
// Every temporary file of a run lives in the WORK directory (the current
// directory when none is given) and is named "sw" + six digits + ".00" + a
// suffix: "1".."9", "A".."U" for the work files 1 to 30, "X" for the
// MergeFile and "z" for the HeaderFile. The probe file has no suffix. The
// six digits are fixed once per run by the probe.
#pragma once

#include <string>

#include "engine_state.h"

namespace sorvel {

inline constexpr int kMaxHandles = 30;
inline constexpr int kMinHandles = 4;

// Name of work file k (1-based).
std::string work_file_name(const EngineState& state, int k);
std::string merge_file_name(const EngineState& state);
std::string header_file_name(const EngineState& state);

// Deletes the work files, the MergeFile and the HeaderFile of this run, if
// any are on disk. Used after a failure: these files belong to the engine and
// are of no use to anyone once the run has stopped. Closes open descriptors
// first. Never changes the return code.
void remove_temporary_files(EngineState& state);

// Remembers a work file or MergeFile created by this run, so that a failed
// run can remove it.
void note_temporary_file(EngineState& state, const std::string& name);

// Runs `ok` (the result of a step) through the failure clean-up: when the
// step failed, the run's temporary files are removed. Returns `ok`.
bool finish_step(EngineState& state, bool ok);

}  // namespace sorvel
