// The run driver behind s_1mains and s_2mains, and the record-at-a-time
// operations behind s_1raat. Both work on the process-wide EngineState and
// report only through it (ReturnCode, RecordsWritten).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine_state.h"

namespace sorvel {

// One whole run: reset, parse, probe, collision check, memory, header,
// read/select/sort/write loop, final merge, clean-up.
void run_sort(EngineState& state, std::string_view input_list, std::string_view output_text,
              std::string_view command);

// s_1raat. `data` and `length` are the caller's pointers (either may be null).
void raat_operation(EngineState& state, std::int16_t operation, void* data, std::uint32_t* length);

// The first name of a name list (separators blanks, commas, "+", tabs, line
// feeds; "[...]" skipped); quote < 0 means quotes have no meaning.
std::string first_name(std::string_view text, int quote);

// Output collision check: 211 when the output is one of the input files,
// 213 when the input list names no file. Skipped for a plain sort (or OVER).
bool check_output_collision(EngineState& state);

// Clean-up at the end of a run: releases memory, closes what is still open
// (an output file not yet in place is thrown away) and, after a failure,
// sets RecordsWritten to the records really in the output: none.
void clean_up(EngineState& state);

// Asks for room for 40 open files (raises the soft descriptor limit).
void raise_open_file_allowance();

}  // namespace sorvel
