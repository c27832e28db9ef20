// Merging work files with two threads.
//
// A merge takes one record at a time, so two threads cannot share it record
// by record. Instead every file is cut at the same record value: each record
// before the cut, in any file, comes before each record after it. The
// caller's thread merges the parts before the cut and a helper thread the
// parts after it, each reading through its own half of every input buffer,
// copying into its own output buffer and writing at its own place in the
// file. The second part starts where the first ends, which is known before
// either is merged because the records reach the file unchanged (the
// MergeFile, or an output file without OUTR and duplicate processing).
//
// The cut comes from the marks each work file keeps (WorkMark, one per
// output buffer-full): the records at the marks are read and ordered, and the
// one in the middle of the bytes becomes the cut; in each file it then lies
// between two neighbouring marks, a buffer-full that is read and searched.
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
// output file) with two threads, when that can be done: a second core, a
// merge big enough, records that fit in half an input buffer, every file
// with its marks, and (for the output file) records written as they are.
SplitMerge split_merge(EngineState& state, int first, int last);

}  // namespace sorvel
