// Intermediate and final merges.
//
// When the number of work files reaches HandleBudget - 2 while input remains,
// an intermediate merge combines work files `first`..n into the MergeFile,
// which then takes the name of work file `first`; `first` moves up by one
// each time (and starts again at 1 when it would leave only two files to
// merge), so a long input is merged in rotation rather than rewriting the
// same large file again and again. The final merge combines all work files
// into the output file through OUTR, duplicate processing and the trailer.
#include "merge.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "compare.h"
#include "duplicates.h"
#include "host_hook.h"
#include "input_reader.h"
#include "memory_plan.h"
#include "output_file.h"
#include "outrec.h"
#include "phases.h"
#include "return_codes.h"
#include "work_files.h"

namespace sorvel {
namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

enum class Head { kFound, kNeedBlock, kExhausted, kFailed };

// Takes the record at `offset` of the current block as the head.
Head take_head(EngineState& state, MergeSource& src, std::size_t offset) {
    const std::size_t left = src.bytes - offset;
    if (left == 0) return src.last_block ? Head::kExhausted : Head::kNeedBlock;
    if (left < kWorkRecordHeader) {
        if (src.last_block) return fail(state, rc::kWorkBlockInconsistent), Head::kFailed;
        return Head::kNeedBlock;
    }
    const std::uint32_t length = le32(src.buffer + offset);
    if (length > state.run.block_size) return fail(state, rc::kWorkRecordTooLong), Head::kFailed;
    if (kWorkRecordHeader + length > left) {
        if (src.last_block) return fail(state, rc::kWorkBlockInconsistent), Head::kFailed;
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
bool read_block(EngineState& state, MergeSource& src, bool& exhausted) {
    const std::size_t want = state.run.block_size + kWorkRecordHeader;
    drain_messages(state);
    const long got = read_full(src.fd, src.buffer, want);
    if (got < 0) return fail(state, rc::kWorkRead);
    src.bytes = static_cast<std::size_t>(got);
    src.last_block = src.bytes < want;
    const Head head = take_head(state, src, 0);
    if (head == Head::kFailed) return false;
    // A full block always holds its first record whole.
    if (head == Head::kNeedBlock) return fail(state, rc::kWorkBlockInconsistent);
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

}  // namespace

bool merge_open(EngineState& state, MergeState& merge, int first, int last) {
    RunResources& run = state.run;
    merge = MergeState{};
    merge.first = first;
    merge.last = last;
    for (int k = first; k <= last; ++k) {
        MergeSource src;
        src.file = k;
        // The work file is read from its start through the descriptor it
        // was written with: it has no name to open it by.
        src.fd = work_file(state, k);
        if (src.fd < 0 || ::lseek(src.fd, 0, SEEK_SET) != 0) {
            merge_discard(merge);
            return fail(state, rc::kWorkOpenForMerge);
        }
        src.buffer = run.input_buffers[static_cast<std::size_t>(k - 1)].data();
        merge.sources.push_back(src);
    }
    merge.chunks = KeyChunks(state);
    for (std::size_t i = 0; i < merge.sources.size(); ++i) {
        bool exhausted = false;
        if (!read_block(state, merge.sources[i], exhausted)) return false;
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

const RecordRef* merge_peek(const MergeState& merge) {
    if (merge.order.empty()) return nullptr;
    return &merge.sources[static_cast<std::size_t>(merge.order.front())].record;
}

bool merge_advance(EngineState& state, MergeState& merge) {
    if (merge.order.empty()) return true;
    const int index = merge.order.front();
    MergeSource& src = merge.sources[static_cast<std::size_t>(index)];
    const std::size_t next = src.head + kWorkRecordHeader + src.record.length;
    Head head = take_head(state, src, next);
    if (head == Head::kFailed) return false;
    bool exhausted = head == Head::kExhausted;
    if (head == Head::kNeedBlock) {
        const std::size_t remaining = src.bytes - next;
        if (remaining > 0 && ::lseek(src.fd, -static_cast<off_t>(remaining), SEEK_CUR) < 0) {
            return fail(state, rc::kGiveBackSeek);
        }
        if (!read_block(state, src, exhausted)) return false;
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

bool intermediate_merge_impl(EngineState& state) {
    RunResources& run = state.run;
    int first = run.merge_first + 1;
    if (run.handle_budget - first == 2) first = 1;
    run.merge_first = first;
    const int last = run.work_file_count;

    state.records_written = 0;
    MergeState merge;
    if (!merge_open(state, merge, first, last)) return merge_discard(merge), false;
    if (!open_work_output(state)) return merge_discard(merge), false;
    while (const RecordRef* head = merge_peek(merge)) {
        if (!write_work_record(state, head->data, head->length, head->sequence) ||
            !merge_advance(state, merge)) {
            return merge_discard(merge), false;
        }
    }
    const int merged = take_work_output(state);
    if (merged < 0) return merge_discard(merge), false;
    // Closing the merged work files deletes them; the MergeFile takes the
    // place of work file `first`.
    if (!merge_close(state, merge)) return ::close(merged), false;
    set_work_file(state, first, merged);
    run.work_file_count = first;
    return true;
}

bool final_merge_impl(EngineState& state) {
    RunResources& run = state.run;
    run.merge_first = 1;
    const int last = run.work_file_count;
    state.records_written = 0;
    MergeState merge;
    if (!merge_open(state, merge, 1, last)) return merge_discard(merge), false;
    if (!open_output_file(state)) return merge_discard(merge), false;
    while (const RecordRef* head = merge_peek(merge)) {
        if (!emit_record(state, head->data, head->length, head->sequence) ||
            !merge_advance(state, merge)) {
            return merge_discard(merge), false;
        }
    }
    if (!end_duplicates(state)) return merge_discard(merge), false;
    // The work files go before the output takes the target's place.
    if (!merge_close(state, merge)) return false;
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
