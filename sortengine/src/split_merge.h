// Merging work files on several threads.
//
// A merge takes one record at a time, so threads cannot share it record by
// record. Instead every file is cut at the same record values: each record
// before a cut, in any file, comes before each record after it. The parts
// between the cuts, one per core (at most eight), are merged by the caller's
// thread and helper threads, each reading through its own share of every
// input buffer, copying into its own share of the output buffers and writing
// at its own place in the file. Where each part starts is known before any is
// merged, because the records reach the file unchanged (a work file, or an
// output file without OUTR and duplicate processing).
//
// The cuts come from the marks each work file keeps (WorkMark, one per
// output buffer-full): the records at the marks are read and ordered, and
// those at equal shares of the bytes become the cuts; in each file a cut then
// lies between two neighbouring marks, a buffer-full that is read and
// searched.
//
// The result is byte for byte what the one-thread merge writes. The host hook
// is called only on the caller's thread, before each of its writes.
#pragma once

#include "engine_state.h"

namespace sorvel {

enum class SplitMerge {
    kNotUsed,  // nothing written: merge on one thread
    kDone,
    kFailed,  // the code is set
};

// Merges work files first..last into the open output (a work file or the
// output file) on several threads, when that can be done: a second core, a
// merge big enough, records that fit in a share of an input buffer, every
// file with its marks, and (for the output file) records written as they
// are.
SplitMerge split_merge(EngineState& state, int first, int last);

}  // namespace sorvel
