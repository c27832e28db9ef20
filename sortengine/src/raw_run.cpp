// The record-at-a-time flows behind s_1raat operations 2, 3 and 4.
//
// Released records are copied into the input buffers and referenced from the
// RecordRef table exactly as if they had been read. When memory is full the
// records in it become a run: sorted into the next work file (or, without a
// sort, appended in input order to work file 1, through OUTR). At the first
// return the input ends: a sort that never spilled is returned straight from
// the table; otherwise the work files are merged one record per call. Every
// record passes through duplicate processing on its way to the caller.
#include <unistd.h>

#include <cstring>

#include "duplicates.h"
#include "merge.h"
#include "output_file.h"
#include "outrec.h"
#include "phases.h"
#include "return_codes.h"
#include "work_files.h"

namespace sorvel {
namespace {

bool copy_mode(const EngineState& state) {
    return !state.statements.sorting();
}

// Without a sort every record goes, in input order, to work file 1, which
// stays open until the input ends.
bool append_to_copy_file(EngineState& state) {
    RunResources& run = state.run;
    if (run.output_fd < 0) {
        if (!open_work_output(state)) return false;
        run.work_file_count = 1;
    }
    for (std::size_t i = 0; i < run.ref_count; ++i) {
        const RecordRef& ref = run.refs[i];
        if (!build_output_record(state, ref.data, ref.length, ref.sequence)) return false;
    }
    return true;
}

// Turns the records in memory into a run and empties the buffers.
bool finish_memory_run(EngineState& state) {
    RunResources& run = state.run;
    if (state.statements.selecting() && !select_records(state)) return false;
    if (copy_mode(state)) {
        if (!append_to_copy_file(state)) return false;
    } else {
        sort_in_memory(state);
        if (run.ref_count > 0 && !write_records(state, Destination::WorkFile)) return false;
        if (run.work_file_count >= run.handle_budget - 2 && !intermediate_merge(state)) {
            return false;
        }
    }
    run.ref_count = 0;
    run.raat_buffer = 0;
    run.input_used.assign(run.input_buffers.size(), 0);
    return true;
}

bool store(EngineState& state, const std::uint8_t* record, std::uint32_t length) {
    RunResources& run = state.run;
    if (run.ref_count >= run.ref_capacity) return false;
    while (run.raat_buffer < run.input_buffers.size()) {
        std::size_t& used = run.input_used[run.raat_buffer];
        if (length <= run.block_size - used) {
            std::uint8_t* at = run.input_buffers[run.raat_buffer].data() + used;
            if (length > 0) std::memcpy(at, record, length);
            used += length;
            RecordRef& ref = run.refs[run.ref_count++];
            ref.data = at;
            ref.length = length;
            ref.sequence = ++run.sequence;
            ref.present = 1;
            return true;
        }
        ++run.raat_buffer;
    }
    return false;
}

bool release_impl(EngineState& state, const std::uint8_t* record, std::uint32_t length) {
    if (store(state, record, length)) return true;
    if (state.run.ref_count == 0) return fail(state, rc::kRecordTooLong);
    if (!finish_memory_run(state)) return false;
    return store(state, record, length) || fail(state, rc::kRecordTooLong);
}

// Ends the input phase: what is in memory is selected and sorted, then either
// kept for returning from the table or written out for the merge.
bool end_input(EngineState& state) {
    RunResources& run = state.run;
    if (copy_mode(state)) {
        if (state.statements.selecting() && !select_records(state)) return false;
        if (!append_to_copy_file(state)) return false;
        const int fd = take_work_output(state);
        if (fd < 0) return false;
        set_work_file(state, 1, fd);
    } else {
        if (state.statements.selecting() && !select_records(state)) return false;
        sort_in_memory(state);
        if (run.work_file_count == 0) {
            run.raat_from_memory = true;
            run.raat_next = 0;
            return true;
        }
        if (run.ref_count > 0 && !write_records(state, Destination::WorkFile)) return false;
        run.ref_count = 0;
    }
    run.merge = std::make_shared<MergeState>();
    return merge_open(state, *run.merge, 1, run.work_file_count);
}

struct Delivery {
    std::uint8_t* buffer;
    std::uint32_t* length;
    bool delivered = false;
};

bool deliver(EngineState&, void* context, const std::uint8_t* record, std::size_t length,
             std::uint32_t) {
    auto* delivery = static_cast<Delivery*>(context);
    if (length > 0) std::memcpy(delivery->buffer, record, length);
    *delivery->length = static_cast<std::uint32_t>(length);
    delivery->delivered = true;
    return true;
}

// The next record in output order, or null at the end.
const RecordRef* next_record(EngineState& state, bool& ok) {
    RunResources& run = state.run;
    ok = true;
    if (run.raat_from_memory) {
        return run.raat_next < run.ref_count ? &run.refs[run.raat_next++] : nullptr;
    }
    MergeState& merge = *run.merge;
    if (merge.advance_pending) {
        merge.advance_pending = false;
        if (!merge_advance(state, merge)) {
            ok = false;
            return nullptr;
        }
    }
    const RecordRef* head = merge_peek(merge);
    merge.advance_pending = head != nullptr;
    return head;
}

// No record left: the work files and memory go.
bool finish_returns(EngineState& state) {
    RunResources& run = state.run;
    bool ok = true;
    if (run.merge) {
        ok = merge_close(state, *run.merge);
        run.merge.reset();
        run.work_file_count = 0;
    }
    release_run_memory(state);
    return ok;
}

RaatReturn return_impl(EngineState& state, std::uint8_t* buffer, std::uint32_t* length) {
    RunResources& run = state.run;
    if (!run.raat_from_memory && !run.merge && !end_input(state)) return RaatReturn::Failed;
    Delivery delivery{buffer, length};
    RecordSink sink{deliver, &delivery};
    for (;;) {
        bool ok = true;
        const RecordRef* record = next_record(state, ok);
        if (!ok) return RaatReturn::Failed;
        if (record == nullptr) break;
        if (!emit_record(state, record->data, record->length, record->sequence, &sink)) {
            return RaatReturn::Failed;
        }
        if (delivery.delivered) return RaatReturn::Record;
    }
    if (!delivery.delivered) *length = 0;
    if (!end_duplicates(state, &sink)) return RaatReturn::Failed;
    return finish_returns(state) ? RaatReturn::End : RaatReturn::Failed;
}

}  // namespace

bool raat_release(EngineState& state, const std::uint8_t* record, std::uint32_t length) {
    return finish_step(state, release_impl(state, record, length));
}

RaatReturn raat_return(EngineState& state, std::uint8_t* buffer, std::uint32_t* length) {
    const RaatReturn result = return_impl(state, buffer, length);
    if (result == RaatReturn::Failed) remove_temporary_files(state);
    return result;
}

bool raat_discard(EngineState& state) {
    RunResources& run = state.run;
    settle_output_writes(run);  // the records are thrown away in any case
    if (run.merge) {
        merge_discard(*run.merge);
        run.merge.reset();
    }
    if (run.output_fd >= 0) {
        ::close(run.output_fd);
        run.output_fd = -1;
        run.output_is_work_file = false;
    }
    // Closing a work file deletes it.
    bool ok = true;
    for (int k = 1; k <= static_cast<int>(run.work_fds.size()); ++k) {
        if (!close_work_file(state, k)) ok = false;
    }
    run.work_fds.clear();
    run.work_file_count = 0;
    release_run_memory(state);
    return ok || fail(state, rc::kWorkDelete);
}

}  // namespace sorvel
