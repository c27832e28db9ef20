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
#include "phases.h"
#include "return_codes.h"
#include "split_write.h"
#include "work_files.h"

namespace sorvel {
namespace {

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
