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

// Whether write_table_split can write run.refs[0, run.ref_count) to the open
// output now. May allocate the second output buffer (within the memory plan's
// allowance); false leaves the output as it was.
bool can_split_write(EngineState& state);

// Writes the table (work-file format when the output is a work file) and
// leaves the file position after its last byte. 240 on a failed write.
bool write_table_split(EngineState& state);

}  // namespace sorvel
