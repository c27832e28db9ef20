// The output side of a run: opening the output file or a work file, the
// output buffer, and closing with the file type's trailer and finishing step.
//
// All records of a run, whether they go to the output file, a work file or
// the MergeFile, pass through the one output buffer; only one destination is
// open at a time. A record is never split between two writes.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include "engine_state.h"

namespace sorvel {

// Opens the output file: the PAUS message before the first open of the run,
// APPE (extend, overwriting a final TXT end marker), the kept header copied
// in front of the first record. 210 when it cannot be created or opened.
// The records go to a new file that replaces the target only when
// close_output succeeds; with APPE the new file starts as a copy of the old
// one, so a failed run leaves the target exactly as it was.
bool open_output_file(EngineState& state);

// Creates a new work file or MergeFile for writing. 210.
bool open_work_output(EngineState& state);

// Flushes the work file being written and hands over its descriptor (it
// stays open: closing it would delete it). -1 after a failure (240).
int take_work_output(EngineState& state);

// Room for `length` more bytes at the end of the output buffer, writing the
// buffer out first when they do not fit. Null after a failure (240, or 315
// when the record is longer than the whole buffer).
std::uint8_t* output_space(EngineState& state, std::size_t length);

// Writes what is in the output buffer (240 on a write error or short write).
// With a helper thread the write may still be in flight on return; its
// failure is then reported by the next flush or wait_for_output.
bool flush_output(EngineState& state);

// Waits until every buffer handed to the helper thread is written (240 when
// one of them was not). Anything that touches the output descriptor itself
// comes after it.
bool wait_for_output(EngineState& state);

// Finishes the output file: flush, the trailer (321), the finishing step of
// the file type (DB3 record count, 319), then the new file is flushed to disk
// and replaces the target. `close_code` is the code when that last part
// fails (307 after a one-pass run or copy, 231 after a merge). After any
// failure the target is untouched.
bool close_output(EngineState& state, int close_code);

// Notes in the work file being written that a record starts at `offset`
// with `records` records before it.
void add_work_mark(RunResources& run, off_t offset, std::uint32_t records);

// The second output buffer, of the output buffer's size: there already, or
// allocated now when the memory plan left room for it and a second core is
// there to use it. False when it cannot be had.
bool take_output_spare(RunResources& run);

// Writes all of `length` bytes to `fd`; false on an error or short write.
bool write_all(int fd, const std::uint8_t* bytes, std::size_t length);

// The same at file offset `offset`, leaving the descriptor's offset alone.
bool write_all_at(int fd, const std::uint8_t* bytes, std::size_t length, off_t offset);

// Asks the system to start putting bytes just written to the output file on
// disk, so that the flush at its end finds less to do. Nothing for work files.
void start_write_back(const RunResources& run, off_t offset, std::size_t length);

}  // namespace sorvel
