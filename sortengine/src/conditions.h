// INCL/OMIT comparisons: evaluating one comparison entry on a record, and
// turning a quoted constant into the stored form of its field's type.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine_state.h"

namespace sorvel {

// The operator of a comparison entry applied to a record. The record's first
// field is the left side; the operand (the constant, or the second field of
// the same record) is the right side. CO is true when the operand occurs in
// the field (CHA exactly; ALP with "*" matching any byte and letters
// matching regardless of case); CO of any other type is false.
bool evaluate_comparison(const EngineState& state, const Condition& condition,
                         const std::uint8_t* record, std::size_t record_length);

// The CO search by itself.
bool contains(std::uint8_t type, const std::uint8_t* field, std::size_t field_length,
              const std::uint8_t* operand, std::size_t operand_length);

// ConvertConstant: converts the constant of `condition` (its text and
// length) in place for a first field of `field_length` bytes. False when the
// type accepts no constant in this form (SU, SLI, STI, ZD, T, PD, ALT; INT,
// W, BIN, FI of a length other than 2 or 4).
bool convert_constant(Condition& condition, std::uint32_t field_length);

// Decodes a quoted literal or constant of `length` bytes into `out` (room
// for `capacity` bytes): "&H" (H in either case) followed by hex digit pairs,
// "&E" followed by text translated to EBCDIC, anything else as written.
// Returns the decoded length, or -1 for a bad "&H" form or too little room.
// *encoded tells whether an "&H" or "&E" form was found.
int decode_literal(const std::uint8_t* text, std::size_t length, std::uint8_t* out,
                   std::size_t capacity, bool* encoded);

}  // namespace sorvel
