// Intermediate and final merges.
//
// When the number of work files reaches HandleBudget - 2 while input remains,
// an intermediate merge combines work files `first`..n into the MergeFile,
// which then takes the name of work file `first`; `first` moves up by one
// each time (and starts again at 1 when it would leave only two files to
// merge), so a long input is merged in rotation rather than rewriting the
// same large file again and again. The final merge combines all work files
// into the output file through OUTR, duplicate processing and the trailer.
// With a second core a merge whose records reach the file unchanged is cut in
// two and merged by two threads (split_merge.h).
#include "merge.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "compare.h"
#include "duplicates.h"
#include "host_hook.h"
#include "input_reader.h"
#include "little_endian.h"
#include "memory_plan.h"
#include "output_file.h"
#include "outrec.h"
#include "phases.h"
#include "return_codes.h"
#include "split_merge.h"
#include "work_files.h"

namespace sorvel {
namespace {

enum class Head { kFound, kNeedBlock, kExhausted, kFailed };

// A failure of the merge: the caller's thread reports it at once; a merge on
// a helper thread keeps the first one for the caller.
bool merge_fail(EngineState& state, MergeState& merge, int code) {
    if (merge.helper_thread) {
        if (merge.error == 0) merge.error = code;
        return false;
    }
    return fail(state, code);
}

// Takes the record at `offset` of the current block as the head.
Head take_head(EngineState& state, MergeState& merge, MergeSource& src, std::size_t offset) {
    const std::size_t left = src.bytes - offset;
    if (left == 0) return src.last_block ? Head::kExhausted : Head::kNeedBlock;
    if (left < kWorkRecordHeader) {
        if (src.last_block)
            return merge_fail(state, merge, rc::kWorkBlockInconsistent), Head::kFailed;
        return Head::kNeedBlock;
    }
    const std::uint32_t length = le32(src.buffer + offset);
    if (length > state.run.block_size) {
        return merge_fail(state, merge, rc::kWorkRecordTooLong), Head::kFailed;
    }
    if (kWorkRecordHeader + length > left) {
        if (src.last_block)
            return merge_fail(state, merge, rc::kWorkBlockInconsistent), Head::kFailed;
        return Head::kNeedBlock;
    }
    src.head = offset;
    src.record.data = src.buffer + offset + kWorkRecordHeader;
    src.record.length = length;
    src.record.sequence = le32(src.buffer + offset + 4);
    src.record.present = 1;
    return Head::kFound;
}

// Reads the next block; the head is its first record. False on failure;
// `exhausted` when the file has no more records.
bool read_block(EngineState& state, MergeState& merge, MergeSource& src, bool& exhausted) {
    const std::size_t want = static_cast<std::size_t>(
        std::min<off_t>(static_cast<off_t>(src.capacity), src.end - src.position));
    if (!merge.helper_thread) drain_messages(state);
    const long got = want == 0 ? 0 : read_at(src.fd, src.buffer, want, src.position);
    if (got < 0) return merge_fail(state, merge, rc::kWorkRead);
    src.bytes = static_cast<std::size_t>(got);
    src.position += got;
    src.last_block = src.bytes < src.capacity || src.position >= src.end;
    const Head head = take_head(state, merge, src, 0);
    if (head == Head::kFailed) return false;
    // A full block always holds its first record whole.
    if (head == Head::kNeedBlock) return merge_fail(state, merge, rc::kWorkBlockInconsistent);
    exhausted = head == Head::kExhausted;
    return true;
}

// Two heads whose first chunks differ are ordered by them alone (the same
// order compare_records gives), equal ones by the encoded keys after the
// chunk; when those are equal too and every key is encoded, the input order
// decides; otherwise compare_records does.
bool less(const EngineState& state, const KeyChunks& chunks, const MergeSource& a,
          const MergeSource& b) {
    if (a.has_key && b.has_key) {
        if (a.key != b.key) return a.key < b.key;
        const int r =
            chunks.compare_from(a.record.data, a.record.length, b.record.data, b.record.length, 1);
        if (r != 0) return r < 0;
        if (chunks.complete()) return a.record.sequence < b.record.sequence;
    }
    return compare_records(state, a.record, b.record) < 0;
}

void load_key(const KeyChunks& chunks, MergeSource& src) {
    src.has_key = chunks.usable() && chunks.chunk(src.record.data, src.record.length, 0, src.key);
}

bool start_sources(EngineState& state, MergeState& merge) {
    merge.chunks = KeyChunks(state);
    for (std::size_t i = 0; i < merge.sources.size(); ++i) {
        bool exhausted = false;
        if (!read_block(state, merge, merge.sources[i], exhausted)) return false;
        if (exhausted) continue;
        load_key(merge.chunks, merge.sources[i]);
        merge.order.push_back(static_cast<int>(i));
    }
    std::stable_sort(merge.order.begin(), merge.order.end(), [&](int a, int b) {
        return less(state, merge.chunks, merge.sources[static_cast<std::size_t>(a)],
                    merge.sources[static_cast<std::size_t>(b)]);
    });
    return true;
}

}  // namespace

bool merge_open(EngineState& state, MergeState& merge, int first, int last) {
    RunResources& run = state.run;
    merge = MergeState{};
    merge.first = first;
    merge.last = last;
    for (int k = first; k <= last; ++k) {
        MergeSource src;
        src.file = k;
        // The work file is read through the descriptor it was written with:
        // it has no name to open it by.
        src.fd = work_file(state, k);
        if (src.fd < 0) {
            merge_discard(merge);
            return fail(state, rc::kWorkOpenForMerge);
        }
        src.buffer = run.input_buffers[static_cast<std::size_t>(k - 1)].data();
        src.capacity = run.block_size + kWorkRecordHeader;
        src.end = std::numeric_limits<off_t>::max();  // up to the end of the file
        merge.sources.push_back(src);
    }
    return start_sources(state, merge);
}

bool merge_open_parts(EngineState& state, MergeState& merge, const std::vector<MergePart>& parts) {
    const bool helper = merge.helper_thread;
    merge = MergeState{};
    merge.helper_thread = helper;
    for (const MergePart& part : parts) {
        MergeSource src;
        src.file = part.file;
        src.fd = work_file(state, part.file);
        if (src.fd < 0) return merge_fail(state, merge, rc::kWorkOpenForMerge);
        src.buffer = part.buffer;
        src.capacity = part.capacity;
        src.position = part.start;
        src.end = part.end;
        merge.sources.push_back(src);
    }
    return start_sources(state, merge);
}

const RecordRef* merge_peek(const MergeState& merge) {
    if (merge.order.empty()) return nullptr;
    return &merge.sources[static_cast<std::size_t>(merge.order.front())].record;
}

bool merge_advance(EngineState& state, MergeState& merge) {
    if (merge.order.empty()) return true;
    const int index = merge.order.front();
    MergeSource& src = merge.sources[static_cast<std::size_t>(index)];
    const std::size_t next = src.head + kWorkRecordHeader + src.record.length;
    Head head = take_head(state, merge, src, next);
    if (head == Head::kFailed) return false;
    bool exhausted = head == Head::kExhausted;
    if (head == Head::kNeedBlock) {
        // The record cut off at the end of the block starts the next one.
        src.position -= static_cast<off_t>(src.bytes - next);
        if (!read_block(state, merge, src, exhausted)) return false;
    }
    if (exhausted) {
        merge.order.erase(merge.order.begin());
        return true;
    }
    load_key(merge.chunks, src);
    const auto rest = merge.order.begin() + 1;
    auto before = [&](int a, int b) {
        return less(state, merge.chunks, merge.sources[static_cast<std::size_t>(a)],
                    merge.sources[static_cast<std::size_t>(b)]);
    };
    // Input in order, long runs of one key, or files that cover separate
    // ranges keep taking from the same file: one comparison with the next
    // head settles that it stays in front.
    if (rest == merge.order.end() || before(index, *rest)) return true;
    // Binary search among the other files, then one shift of the files that
    // come before it into the front place it leaves.
    const auto at = std::upper_bound(rest + 1, merge.order.end(), index, before);
    std::move(rest, at, merge.order.begin());
    *(at - 1) = index;
    return true;
}

void merge_discard(MergeState& merge) {
    // The descriptors belong to the run's work files (closed by the failure
    // clean-up), not to the merge.
    for (MergeSource& src : merge.sources) src.fd = -1;
    merge.order.clear();
}

bool merge_close(EngineState& state, MergeState& merge) {
    bool ok = true;
    for (MergeSource& src : merge.sources) {
        if (src.fd >= 0 && !close_work_file(state, src.file)) ok = false;
        src.fd = -1;
    }
    merge.order.clear();
    return ok || fail(state, rc::kWorkCloseAfterMerge);
}

namespace {

// Closes, and so deletes, work files first..last (311).
bool close_merged_files(EngineState& state, int first, int last) {
    bool ok = true;
    for (int k = first; k <= last; ++k) {
        if (!close_work_file(state, k)) ok = false;
    }
    return ok || fail(state, rc::kWorkCloseAfterMerge);
}

// Merges work files first..last into the open output: with two threads when
// split_merge can, otherwise here.
bool merge_into_output(EngineState& state, int first, int last) {
    const SplitMerge split = split_merge(state, first, last);
    if (split != SplitMerge::kNotUsed) return split == SplitMerge::kDone;
    MergeState merge;
    if (!merge_open(state, merge, first, last)) return merge_discard(merge), false;
    const bool work_output = state.run.output_is_work_file;
    while (const RecordRef* head = merge_peek(merge)) {
        const bool ok = work_output
                            ? write_work_record(state, head->data, head->length, head->sequence)
                            : emit_record(state, head->data, head->length, head->sequence);
        if (!ok || !merge_advance(state, merge)) return merge_discard(merge), false;
    }
    merge_discard(merge);
    return true;
}

bool intermediate_merge_impl(EngineState& state) {
    RunResources& run = state.run;
    int first = run.merge_first + 1;
    if (run.handle_budget - first == 2) first = 1;
    run.merge_first = first;
    const int last = run.work_file_count;

    state.records_written = 0;
    if (!open_work_output(state) || !merge_into_output(state, first, last)) return false;
    const int merged = take_work_output(state);
    if (merged < 0) return false;
    // Closing the merged work files deletes them; the MergeFile takes the
    // place of work file `first`.
    if (!close_merged_files(state, first, last)) return ::close(merged), false;
    set_work_file(state, first, merged);
    run.work_file_count = first;
    return true;
}

bool final_merge_impl(EngineState& state) {
    RunResources& run = state.run;
    run.merge_first = 1;
    const int last = run.work_file_count;
    state.records_written = 0;
    if (!open_output_file(state) || !merge_into_output(state, 1, last)) return false;
    if (!end_duplicates(state)) return false;
    // The work files go before the output takes the target's place.
    if (!close_merged_files(state, 1, last)) return false;
    run.work_file_count = 0;
    return close_output(state, rc::kMergeOutputClose);
}

}  // namespace

bool intermediate_merge(EngineState& state) {
    return finish_step(state, intermediate_merge_impl(state));
}

bool final_merge(EngineState& state) {
    return finish_step(state, final_merge_impl(state));
}

}  // namespace sorvel
