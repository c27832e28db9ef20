// Duplicate groups: DUPO keeps the first record of each group (summing the
// SUM fields of the group into it) when the group has at least DupThreshold
// records; DUPE keeps records whose key occurs once; DUPI keeps every record
// of the groups of two or more.
#include "duplicates.h"

#include <cstring>

#include "fields.h"
#include "outrec.h"
#include "return_codes.h"
#include "sum_arith.h"

namespace sorvel {
namespace {

FieldView dup_field(const EngineState& state, const DupKey& key, const std::uint8_t* record,
                    std::size_t length) {
    std::uint32_t field_length = key.length;
    // "To the end" reaches as far as the record does. A length of 65535 is a
    // key that ends at its first zero byte, as in a sort key.
    if (field_length == kDupToRecordEnd) field_length = UINT32_MAX;
    return extract_field(state.options, record, length, key.position, field_length);
}

bool write_now(EngineState& state, const std::uint8_t* record, std::size_t length,
               std::uint32_t sequence, const RecordSink* sink) {
    if (sink != nullptr && sink->put != nullptr) {
        return sink->put(state, sink->context, record, length, sequence);
    }
    return build_output_record(state, record, length, sequence);
}

bool write_held(EngineState& state, const RecordSink* sink) {
    RunResources& run = state.run;
    return write_now(state, run.dup_buffer.data(), run.held_length, run.held_sequence, sink);
}

bool hold(EngineState& state, const std::uint8_t* record, std::size_t length,
          std::uint32_t sequence) {
    RunResources& run = state.run;
    if (length > run.dup_buffer.size()) return fail(state, rc::kDupBufferTooSmall);
    if (length > 0) std::memcpy(run.dup_buffer.data(), record, length);
    run.held_length = static_cast<std::uint32_t>(length);
    run.held_sequence = sequence;
    run.has_held = true;
    run.dup_count = 1;
    return true;
}

// Adds the SUM fields of `record` into the held record. A field that does not
// lie wholly inside both records is left alone.
void add_sum_fields(EngineState& state, const std::uint8_t* record, std::size_t length) {
    RunResources& run = state.run;
    for (int i = 0; i < state.tables.sum_field_count; ++i) {
        const SumField& field = state.tables.sum_fields[i];
        const std::size_t start = field.position - 1;
        const std::size_t end = start + field.length;
        if (field.position == 0 || end > length || end > run.held_length) continue;
        sum_field(field.type, run.dup_buffer.data() + start, record + start, field.length);
    }
}

}  // namespace

bool same_duplicate_keys(const EngineState& state, const std::uint8_t* a, std::size_t a_length,
                         const std::uint8_t* b, std::size_t b_length) {
    for (int i = 0; i < state.tables.dup_key_count; ++i) {
        const DupKey& key = state.tables.dup_keys[i];
        const FieldView x = dup_field(state, key, a, a_length);
        const FieldView y = dup_field(state, key, b, b_length);
        if (x.length != y.length) return false;
        if (x.length > 0 && std::memcmp(x.data, y.data, x.length) != 0) return false;
    }
    return true;
}

bool emit_record(EngineState& state, const std::uint8_t* record, std::size_t length,
                 std::uint32_t sequence, const RecordSink* sink) {
    if (!state.options.dup_processing) return write_now(state, record, length, sequence, sink);
    RunResources& run = state.run;
    if (!run.has_held) return hold(state, record, length, sequence);

    const bool same =
        same_duplicate_keys(state, run.dup_buffer.data(), run.held_length, record, length);
    if (same) ++run.dup_count;
    switch (state.options.dup_mode) {
        case kStmtDUPE:
            if (same) return true;
            if (run.dup_count == 1 && !write_held(state, sink)) return false;
            return hold(state, record, length, sequence);
        case kStmtDUPI:
            if (same) {
                if (!write_held(state, sink) || !hold(state, record, length, sequence)) {
                    return false;
                }
                run.dup_count = 2;
                return true;
            }
            if (run.dup_count > 1 && !write_held(state, sink)) return false;
            return hold(state, record, length, sequence);
        default:  // DUPO, and SUM
            if (same) {
                add_sum_fields(state, record, length);
                return true;
            }
            if (run.dup_count >= state.options.dup_threshold && !write_held(state, sink)) {
                return false;
            }
            return hold(state, record, length, sequence);
    }
}

bool end_duplicates(EngineState& state, const RecordSink* sink) {
    RunResources& run = state.run;
    if (!state.options.dup_processing || !run.has_held) return true;
    run.has_held = false;
    bool write = false;
    switch (state.options.dup_mode) {
        case kStmtDUPE:
            write = run.dup_count == 1;
            break;
        case kStmtDUPI:
            write = run.dup_count != 1;
            break;
        default:
            write = run.dup_count >= state.options.dup_threshold;
            break;
    }
    return !write || write_held(state, sink);
}

}  // namespace sorvel
