// The steps of a run that the driver calls in order, and the
// record-at-a-time operations behind s_1raat.
//
// Driver of s_1mains / s_2mains (driver.cpp):
//   1. reset, store arguments, raise the open-file allowance, cut the output name
//   2. parse_command                         (parser)
//   3. probe_work_files                      codes 329..334, return at once
//   4. output collision check                (driver: 211, 213)
//   5. plan_memory                           225, clean-up
//   6. check_header                          clean-up
//   7. save_header, when options.keep_header clean-up
//   8. loop:
//      a. drain; fill_buffers                sets run.input_exhausted
//      b. INCL/OMIT: drain; select_records
//      c. SORT/MERG: drain; sort_in_memory
//      d. choose_destination; Nothing skips to g
//      e. drain; write_records(destination)
//      f. run.work_file_count >= run.handle_budget - 2 and input left:
//         drain; intermediate_merge
//      g. input exhausted: leave the loop
//   9. run.work_file_count > 0: drain; final_merge
//  10. clean-up (driver): release memory unless the code is 225, close open
//      descriptors (an output not yet in place is thrown away); after a
//      failure RecordsWritten is 0, as the target was not replaced.
//
// Contract of every bool step: false means it has called fail() (so
// state.return_code and state.error are set); true means success. Steps never
// throw; allocation failures become 225 inside the step or at the exports.
#pragma once

#include <cstdint>

#include "engine_state.h"

namespace sorvel {

// Step 3: sets run.handle_budget.
bool probe_work_files(EngineState& state);

// Step 5: sets run.block_size and run.ref_capacity and allocates the input
// buffers, the RecordRef table, the output buffer and the duplicate buffer.
bool plan_memory(EngineState& state);

// Step 6: the file type's CheckHeader (RV, CVS, DB3 read their headers and
// set options.bypass_count, options.keep_header, options.length_prefix_size,
// options.field_offset, options.record_length; PRE checks the first file).
bool check_header(EngineState& state);

// Step 7: keeps the bypassed header of the first input file
// (run.header_bytes, run.header_saved).
bool save_header(EngineState& state);

// Step 8a: fills the input buffers and the RecordRef table with the next
// records; sets run.input_exhausted when the last input file is done.
bool fill_buffers(EngineState& state);

// Step 8b: evaluates INCL/OMIT on the records in memory and drops the
// records not selected.
bool select_records(EngineState& state);

// Step 8c: orders run.refs[0, run.ref_count) with compare_records.
void sort_in_memory(EngineState& state);

enum class Destination { Nothing, WorkFile, Output };

// Step 8d: where the records in memory go.
Destination choose_destination(EngineState& state);

// Step 8e: writes the records in memory to the next work file or the output
// file (copy runs keep the output open until the input is exhausted).
bool write_records(EngineState& state, Destination destination);

// Step 8f: merges work files into the MergeFile and renames it.
bool intermediate_merge(EngineState& state);

// Step 9: merges all work files into the output file and deletes them.
bool final_merge(EngineState& state);

// s_1raat operation 2: stores one record as the next input record.
bool raat_release(EngineState& state, const std::uint8_t* record, std::uint32_t length);

enum class RaatReturn { Record, End, Failed };

// s_1raat operation 3: copies the next record in output order into buffer
// and its length into *length. End: no record left; memory and work files are
// released (a held duplicate record may still be copied with End). The first
// call ends the input phase.
RaatReturn raat_return(EngineState& state, std::uint8_t* buffer, std::uint32_t* length);

// s_1raat operation 4: deletes every work file written so far (312) and
// releases memory.
bool raat_discard(EngineState& state);

}  // namespace sorvel
