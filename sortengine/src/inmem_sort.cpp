// One buffer-full of records: its in-memory sort, where it goes, and its
// writing. Only the RecordRef entries move while sorting; the records stay
// where they were read. compare_records never reports two records equal
// (input order breaks ties), so any sort algorithm gives the same order.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "compare.h"
#include "duplicates.h"
#include "fields.h"
#include "output_file.h"
#include "outrec.h"
#include "phases.h"
#include "return_codes.h"
#include "work_files.h"

namespace sorvel {
namespace {

bool write_run_to_work_file(EngineState& state) {
    RunResources& run = state.run;
    const int k = run.work_file_count + 1;
    const std::string name = work_file_name(state, k);
    note_temporary_file(state, name);
    if (!open_work_output(state, name)) return false;
    for (std::size_t i = 0; i < run.ref_count; ++i) {
        const RecordRef& ref = run.refs[i];
        if (!write_work_record(state, ref.data, ref.length, ref.sequence)) return false;
    }
    if (!close_output(state, rc::kOutputClose)) return false;
    run.work_file_count = k;
    return true;
}

bool write_to_output(EngineState& state) {
    RunResources& run = state.run;
    if (!run.output_open && !open_output_file(state)) return false;
    for (std::size_t i = 0; i < run.ref_count; ++i) {
        const RecordRef& ref = run.refs[i];
        if (!emit_record(state, ref.data, ref.length, ref.sequence)) return false;
    }
    // A sort writes its output in one pass; a copy keeps the output open
    // until the input is exhausted.
    if (state.statements.sorting() || run.input_exhausted) {
        if (!end_duplicates(state)) return false;
        return close_output(state, rc::kOutputClose);
    }
    return true;
}

// The first key's leading bytes as a big-endian number, zero-padded. For a
// bytewise key (CHA, SU, and ALP on upper-cased bytes) two different
// prefixes order exactly as the full comparison does: either a real byte
// differs first, or one field ends first and its zero padding meets a byte
// of the longer field, which the full comparison also puts after the
// shorter one. Equal prefixes fall back to compare_records.
struct PrefixedRef {
    std::uint64_t prefix;
    RecordRef ref;
};

bool prefix_applies(const KeyField& key) {
    if (key.length == kFieldNumberForm || key.length == kToZeroByte) return false;
    return key.type == kTypeCHA || key.type == kTypeSU || key.type == kTypeALP;
}

std::uint64_t key_prefix(const EngineState& state, const KeyField& key, const RecordRef& ref) {
    const FieldView field =
        extract_field(state.options, ref.data, ref.length, key.position, key.length);
    std::uint64_t prefix = 0;
    const std::size_t n = std::min<std::size_t>(field.length, 8);
    for (std::size_t i = 0; i < 8; ++i) {
        std::uint8_t byte = i < n ? field.data[i] : 0;
        if (key.type == kTypeALP && byte >= 'a' && byte <= 'z')
            byte = static_cast<std::uint8_t>(byte - 32);
        prefix = (prefix << 8) | byte;
    }
    return prefix;
}

bool sort_by_key_prefix(EngineState& state) {
    RunResources& run = state.run;
    if (state.tables.key_count == 0 || !prefix_applies(state.tables.keys[0])) return false;
    const KeyField& key = state.tables.keys[0];
    const bool descending = key.descending != 0;
    std::vector<PrefixedRef> entries(run.ref_count);
    for (std::size_t i = 0; i < run.ref_count; ++i) {
        entries[i] = {key_prefix(state, key, run.refs[i]), run.refs[i]};
    }
    std::sort(entries.begin(), entries.end(), [&](const PrefixedRef& a, const PrefixedRef& b) {
        if (a.prefix != b.prefix) return descending ? a.prefix > b.prefix : a.prefix < b.prefix;
        return compare_records(state, a.ref, b.ref) < 0;
    });
    for (std::size_t i = 0; i < run.ref_count; ++i) run.refs[i] = entries[i].ref;
    return true;
}

}  // namespace

void sort_in_memory(EngineState& state) {
    RunResources& run = state.run;
    if (!state.statements.sorting()) return;
    if (sort_by_key_prefix(state)) return;
    std::sort(run.refs.begin(), run.refs.begin() + static_cast<std::ptrdiff_t>(run.ref_count),
              [&state](const RecordRef& a, const RecordRef& b) {
                  return compare_records(state, a, b) < 0;
              });
}

Destination choose_destination(EngineState& state) {
    const RunResources& run = state.run;
    if (!state.statements.sorting()) return Destination::Output;
    if (run.input_exhausted && run.work_file_count == 0) return Destination::Output;
    if (run.ref_count == 0) return Destination::Nothing;
    return Destination::WorkFile;
}

bool write_records(EngineState& state, Destination destination) {
    bool ok = true;
    if (destination == Destination::WorkFile) ok = write_run_to_work_file(state);
    if (destination == Destination::Output) ok = write_to_output(state);
    return finish_step(state, ok);
}

}  // namespace sorvel
