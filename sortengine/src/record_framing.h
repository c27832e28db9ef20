// Record framing: finds where the next record ends in a run of input bytes,
// for every file type the engine reads. Pure functions of the bytes and the
// framing parameters, so the reader, the tests and anything else can share
// them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine_state.h"

namespace sorvel {

struct FramingRules {
    std::uint8_t file_type = kFileTXT;
    std::uint32_t record_length = 0;          // FIX, FE, PRE, DB3
    std::uint8_t eof_byte = 26;               // FE, DB3
    std::uint8_t prefix_size = 1;             // RV: 1 or 2; CVS: 2 or 4
    const std::uint8_t* delimiter = nullptr;  // GP record delimiter sequence
    std::size_t delimiter_length = 0;
    const std::uint8_t* end_sequence = nullptr;  // GP end-of-input sequence
    std::size_t end_sequence_length = 0;
};

enum class FrameKind {
    kRecord,      // a whole record of `length` bytes starts at the position
    kIncomplete,  // the bytes do not hold a whole record
    kEndMarker,   // the position holds the file's end marker
};

struct FrameResult {
    FrameKind kind;
    std::size_t length;
};

// Frames the record at `bytes` (with `available` bytes after it). `file_ended`
// tells that no further bytes of this file follow; only a GP file without a
// record delimiter needs it (its whole remaining content is one record).
FrameResult frame_record(const FramingRules& rules, const std::uint8_t* bytes,
                         std::size_t available, bool file_ended);

}  // namespace sorvel
