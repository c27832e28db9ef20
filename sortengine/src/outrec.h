// Building output records: the record as read, or the OUTR layout (also what
// ADDR and KEYO turn into) with its computed fields.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine_state.h"

namespace sorvel {

// Whether output records are built by a layout (OUTR, ADDR, KEYO) rather
// than being the records as read.
bool uses_layout(const EngineState& state);

// Length of the output record that `record` gives.
std::size_t output_record_length(const EngineState& state, std::size_t record_length);

// build_output_record: appends the output record to the output buffer and
// counts it in RecordsWritten. In a record-at-a-time copy run the record goes
// to work file 1 in work-file format (length and SequenceNumber first).
bool build_output_record(EngineState& state, const std::uint8_t* record, std::size_t length,
                         std::uint32_t sequence);

// Appends a record in work-file format (length, SequenceNumber, data) to the
// output buffer and counts it.
bool write_work_record(EngineState& state, const std::uint8_t* record, std::size_t length,
                       std::uint32_t sequence);

}  // namespace sorvel
