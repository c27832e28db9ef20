// Writing a sorted buffer-full of records on several threads.
//
// Copying the records out of the input buffers in sorted order is the
// slowest part of writing a run or a one-pass output: every record is a
// cache miss. When the records go to the file unchanged (a work file, or an
// output file without OUTR and without duplicate processing), the place of
// every record in the file is known before any is copied. The table is then
// cut into pieces, and the caller and helper threads (one per core, at most
// eight) take pieces in turn, each copying into its own share of the two
// output buffers and writing it at its own place in the file. The file ends
// up byte for byte what one thread would have written; the host hook is
// called only on the caller's thread.
#pragma once

#include "engine_state.h"

namespace sorvel {

// Writes run.refs[0, run.ref_count) to the open output: a work file in
// work-file format, or the output file through duplicate processing and OUTR.
// On several threads when the records go out unchanged and there are cores
// and memory for it; one record after the other otherwise. Leaves the file
// position after the last byte (240 on a failed write).
bool write_table(EngineState& state);

}  // namespace sorvel
