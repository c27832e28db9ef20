// The input side of a run: the input list, the header checks of the file
// types, the kept header, and fill_buffers, which frames the next records of
// the input stream into the input buffers and the RecordRef table.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "engine_state.h"
#include "record_framing.h"

namespace sorvel {

// The framing parameters of the run's file type.
FramingRules framing_rules(const EngineState& state);

// The name after position *at of the input list; *at moves past it.
std::optional<std::string> next_input_name(const EngineState& state, std::size_t* at);

// Reads up to `length` bytes, retrying short reads until the end of the
// file. Returns the count, or -1 on a read error.
long read_full(int fd, std::uint8_t* into, std::size_t length);

// The same from file offset `at`, leaving the descriptor's offset alone.
long read_at(int fd, std::uint8_t* into, std::size_t length, off_t at);

}  // namespace sorvel
