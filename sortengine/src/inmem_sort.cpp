// One buffer-full of records: its in-memory sort, where it goes, and its
// writing. Only the RecordRef entries move while sorting; the records stay
// where they were read. compare_records never reports two records equal
// (input order breaks ties), so any sort algorithm gives the same order; the
// key array (key_sort.h) is the fast way, compare_records alone the general
// one.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "compare.h"
#include "duplicates.h"
#include "key_sort.h"
#include "output_file.h"
#include "outrec.h"
#include "phases.h"
#include "return_codes.h"
#include "split_write.h"
#include "work_files.h"

namespace sorvel {
namespace {

// Sorted records lie scattered over the input buffers, so copying them out
// in order waits on one cache miss after the other; asking for a record some
// places ahead lets those misses overlap.
constexpr std::size_t kPrefetchDistance = 12;

inline void prefetch_ahead(const RunResources& run, std::size_t i) {
    if (i + kPrefetchDistance < run.ref_count) {
        const RecordRef& ahead = run.refs[i + kPrefetchDistance];
        __builtin_prefetch(ahead.data);
        __builtin_prefetch(ahead.data + 64);
    }
}

// The sorted table to the open output: on several threads where the records
// go out unchanged, otherwise one by one (through duplicate processing and
// OUTR when the output is the output file).
bool write_table(EngineState& state) {
    RunResources& run = state.run;
    if (can_split_write(state)) return write_table_split(state);
    for (std::size_t i = 0; i < run.ref_count; ++i) {
        prefetch_ahead(run, i);
        const RecordRef& ref = run.refs[i];
        const bool ok = run.output_is_work_file
                            ? write_work_record(state, ref.data, ref.length, ref.sequence)
                            : emit_record(state, ref.data, ref.length, ref.sequence);
        if (!ok) return false;
    }
    return true;
}

bool write_run_to_work_file(EngineState& state) {
    RunResources& run = state.run;
    const int k = run.work_file_count + 1;
    if (!open_work_output(state)) return false;
    if (!write_table(state)) return false;
    const int fd = take_work_output(state);
    if (fd < 0) return false;
    set_work_file(state, k, fd);
    run.work_file_count = k;
    return true;
}

bool write_to_output(EngineState& state) {
    RunResources& run = state.run;
    if (!run.output_open && !open_output_file(state)) return false;
    if (!write_table(state)) return false;
    // A sort writes its output in one pass; a copy keeps the output open
    // until the input is exhausted.
    if (state.statements.sorting() || run.input_exhausted) {
        if (!end_duplicates(state)) return false;
        return close_output(state, rc::kOutputClose);
    }
    return true;
}

}  // namespace

void sort_in_memory(EngineState& state) {
    RunResources& run = state.run;
    if (!state.statements.sorting()) return;
    if (sort_by_key_chunks(state)) return;
    // A merge sort: it stays within the table even if a comparison were
    // ever inconsistent, where an introsort may run past the range.
    std::stable_sort(run.refs.begin(), run.refs.begin() + run.ref_count,
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
