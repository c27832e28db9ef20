// Duplicate processing (DUPO, DUPE, DUPI, and SUM acting as DUPO) between the
// ordered records of an output and the building of output records.
//
// One record is held at a time, with the count of its group of equal
// duplicate keys; whether and when the held record is written depends on the
// mode. Without duplicate processing every record is written at once.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine_state.h"

namespace sorvel {

// Where records that are to be written go: by default build_output_record;
// a record-at-a-time return copies them into the caller's buffer instead.
struct RecordSink {
    bool (*put)(EngineState& state, void* context, const std::uint8_t* record, std::size_t length,
                std::uint32_t sequence) = nullptr;
    void* context = nullptr;
};

// emit_record: runs one record through duplicate processing; writes it (or
// the held record it displaces) to the sink or the output.
bool emit_record(EngineState& state, const std::uint8_t* record, std::size_t length,
                 std::uint32_t sequence, const RecordSink* sink = nullptr);

// end_duplicates: writes the held record when its mode says so. Runs once per
// output after its last record.
bool end_duplicates(EngineState& state, const RecordSink* sink = nullptr);

// True when the duplicate keys of two records are equal.
bool same_duplicate_keys(const EngineState& state, const std::uint8_t* a, std::size_t a_length,
                         const std::uint8_t* b, std::size_t b_length);

}  // namespace sorvel
