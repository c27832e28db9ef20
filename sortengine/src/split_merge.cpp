#include "split_merge.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <vector>

#include "compare.h"
#include "host_hook.h"
#include "input_reader.h"
#include "little_endian.h"
#include "memory_plan.h"
#include "merge.h"
#include "output_file.h"
#include "outrec.h"
#include "return_codes.h"
#include "shared_writes.h"
#include "work_files.h"
#include "worker_threads.h"

namespace sorvel {
namespace {

// Below this many bytes of work files a helper thread does not pay.
constexpr std::size_t kSplitThreshold = std::size_t{8} << 20;
constexpr unsigned kMaxParts = 8;
// Smaller shares of an input buffer would make every read a small one.
constexpr std::size_t kSmallestPartRead = 512;

// One work file of the merge: its size, its marks (the start of the file
// included, the end left out) and, once found, where the cut falls.
struct FileInfo {
    int file = 0;
    off_t size = 0;
    std::vector<WorkMark> marks;
    std::size_t first_candidate = 0;  // its marks' records in the candidate list
    // Where each cut falls, and the records before it.
    std::vector<off_t> cuts;
    std::vector<std::uint32_t> records_before;

    off_t part_begin(std::size_t part) const { return part == 0 ? 0 : cuts[part - 1]; }
    off_t part_end(std::size_t part) const { return part < cuts.size() ? cuts[part] : size; }
};

// The record at a mark, read into scratch memory.
struct Candidate {
    std::size_t file = 0;  // index into the FileInfo list
    off_t offset = 0;
    off_t bytes = 0;  // from this mark to the next one (or the end of the file)
    RecordRef record;
};

// Bump allocation over the input buffers, which the merge has not started
// to use yet.
class Scratch {
  public:
    explicit Scratch(RunResources& run) : run_(run) {}
    std::uint8_t* take(std::size_t bytes) {
        while (buffer_ < run_.input_buffers.size()) {
            const ByteWindow& window = run_.input_buffers[buffer_];
            if (window.size() - used_ >= bytes) {
                std::uint8_t* at = window.data() + used_;
                used_ += bytes;
                return at;
            }
            ++buffer_;
            used_ = 0;
        }
        return nullptr;
    }

  private:
    RunResources& run_;
    std::size_t buffer_ = 0;
    std::size_t used_ = 0;
};

bool describe_files(EngineState& state, int first, int last, std::size_t scan_room,
                    std::vector<FileInfo>& files, off_t& total) {
    RunResources& run = state.run;
    total = 0;
    for (int k = first; k <= last; ++k) {
        FileInfo info;
        info.file = k;
        struct stat st;
        const int fd = work_file(state, k);
        if (fd < 0 || ::fstat(fd, &st) != 0) return false;
        info.size = st.st_size;
        if (info.size == 0) continue;  // no records: no part of the merge
        info.marks.push_back({0, 0});
        const auto index = static_cast<std::size_t>(k - 1);
        if (index < run.work_marks.size()) {
            for (const WorkMark& mark : run.work_marks[index]) {
                if (mark.offset > info.marks.back().offset && mark.offset < info.size) {
                    info.marks.push_back(mark);
                }
            }
        }
        // Each stretch between marks must fit the room the search reads it into.
        for (std::size_t i = 0; i < info.marks.size(); ++i) {
            const off_t next = i + 1 < info.marks.size() ? info.marks[i + 1].offset : info.size;
            if (next - info.marks[i].offset > static_cast<off_t>(scan_room)) return false;
        }
        total += info.size;
        files.push_back(std::move(info));
    }
    return true;
}

// Reads the record at every mark. False when they do not fit the scratch
// memory; `code` is set when a read failed or found no whole record.
bool read_candidates(EngineState& state, std::vector<FileInfo>& files,
                     std::vector<Candidate>& candidates, int& code) {
    RunResources& run = state.run;
    Scratch scratch(run);
    const std::size_t room = kWorkRecordHeader + run.longest_work_record;
    for (std::size_t f = 0; f < files.size(); ++f) {
        FileInfo& info = files[f];
        info.first_candidate = candidates.size();
        const int fd = work_file(state, info.file);
        for (std::size_t i = 0; i < info.marks.size(); ++i) {
            const off_t at = info.marks[i].offset;
            const off_t next = i + 1 < info.marks.size() ? info.marks[i + 1].offset : info.size;
            std::uint8_t* bytes = scratch.take(room);
            if (bytes == nullptr) return false;
            const long got = read_at(fd, bytes, room, at);
            if (got < 0) return code = rc::kWorkRead, false;
            const std::uint32_t length =
                got >= static_cast<long>(kWorkRecordHeader) ? le32(bytes) : 0;
            if (got < static_cast<long>(kWorkRecordHeader) ||
                kWorkRecordHeader + length > static_cast<std::size_t>(got)) {
                return code = rc::kWorkBlockInconsistent, false;
            }
            Candidate c;
            c.file = f;
            c.offset = at;
            c.bytes = next - at;
            c.record.data = bytes + kWorkRecordHeader;
            c.record.length = length;
            c.record.sequence = le32(bytes + 4);
            candidates.push_back(c);
        }
    }
    return true;
}

// The records that cut the merge into `parts` parts of about equal bytes:
// the marks in record order, each standing for the stretch of its file up to
// the next mark. Fewer when several cuts would fall on one mark.
std::vector<std::size_t> cut_records(const EngineState& state,
                                     const std::vector<Candidate>& candidates, off_t total,
                                     unsigned parts) {
    std::vector<std::size_t> order(candidates.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return compare_records(state, candidates[a].record, candidates[b].record) < 0;
    });
    std::vector<std::size_t> cuts;
    off_t before = 0;
    unsigned next = 1;
    for (std::size_t i : order) {
        before += candidates[i].bytes;
        for (; next < parts && before * parts >= total * next; ++next) {
            if (cuts.empty() || cuts.back() != i) cuts.push_back(i);
        }
    }
    return cuts;
}

// Where in each file the first record not before `cut` starts. The marks'
// records are in file order; the cut lies after the last mark before it and
// at or before the next one, a stretch that is read into `room` and searched.
bool find_cut(EngineState& state, FileInfo& info, const std::vector<Candidate>& candidates,
              const RecordRef& cut, std::uint8_t* room, int& code) {
    std::size_t below = 0;  // marks whose record comes before the cut
    while (below < info.marks.size() &&
           compare_records(state, candidates[info.first_candidate + below].record, cut) < 0) {
        ++below;
    }
    if (below == 0) {
        info.cuts.push_back(0);
        info.records_before.push_back(0);
        return true;
    }
    const WorkMark& from = info.marks[below - 1];
    const off_t to = below < info.marks.size() ? info.marks[below].offset : info.size;
    const std::size_t length = static_cast<std::size_t>(to - from.offset);
    const long got = read_at(work_file(state, info.file), room, length, from.offset);
    if (got != static_cast<long>(length)) {
        code = got < 0 ? rc::kWorkRead : rc::kWorkBlockInconsistent;
        return false;
    }
    std::size_t at = 0;
    std::uint32_t records = from.records;
    while (at < length) {
        if (length - at < kWorkRecordHeader) return code = rc::kWorkBlockInconsistent, false;
        const std::uint32_t record_length = le32(room + at);
        if (kWorkRecordHeader + record_length > length - at) {
            return code = rc::kWorkBlockInconsistent, false;
        }
        const RecordRef record{room + at + kWorkRecordHeader, record_length, le32(room + at + 4),
                               1};
        if (compare_records(state, record, cut) >= 0) break;
        at += kWorkRecordHeader + record_length;
        ++records;
    }
    info.cuts.push_back(from.offset + static_cast<off_t>(at));
    info.records_before.push_back(records);
    return true;
}

// What the merge of one part did.
struct PartResult {
    int error = 0;
    off_t written = 0;
    std::uint32_t records = 0;
    std::vector<WorkMark> marks;  // relative to the part's start (work output)
};

// Where a part reads and writes: its share of every input buffer, its own
// output buffer, and where its bytes go in the file.
struct PartPlan {
    std::size_t index = 0;
    std::size_t read_offset = 0;  // into every input buffer
    std::size_t read_capacity = 0;
    std::uint8_t* out = nullptr;
    std::size_t out_capacity = 0;
    off_t start = 0;
};

void merge_part(EngineState& state, const std::vector<FileInfo>& files, const PartPlan& plan,
                SharedFile& file, bool on_caller, PartResult& result) {
    RunResources& run = state.run;
    const bool work_output = run.output_is_work_file;
    std::vector<MergePart> parts;
    MergeState merge;
    merge.helper_thread = true;  // failures come back to the caller in `result`
    try {
        for (const FileInfo& info : files) {
            MergePart p;
            p.file = info.file;
            p.buffer = run.input_buffers[static_cast<std::size_t>(info.file - 1)].data() +
                       plan.read_offset;
            p.capacity = plan.read_capacity;
            p.start = info.part_begin(plan.index);
            p.end = info.part_end(plan.index);
            parts.push_back(p);
        }
        if (!merge_open_parts(state, merge, parts)) {
            result.error = merge.error;
            return merge_discard(merge);
        }
        TwinBuffer out(file, plan.out, plan.out_capacity, on_caller ? &state : nullptr);
        std::size_t used = 0;
        const std::size_t header = work_output ? kWorkRecordHeader : 0;
        while (const RecordRef* head = merge_peek(merge)) {
            if (used + header + head->length > out.capacity()) {
                if (!out.hand_over(used, plan.start + result.written)) {
                    result.error = rc::kOutputWrite;
                    return merge_discard(merge);
                }
                result.written += static_cast<off_t>(used);
                used = 0;
                if (work_output) result.marks.push_back({result.written, result.records});
            }
            std::uint8_t* at = out.data() + used;
            if (work_output) {
                put_le32(at, head->length);
                put_le32(at + 4, head->sequence);
            }
            if (head->length > 0) std::memcpy(at + header, head->data, head->length);
            used += header + head->length;
            ++result.records;
            if (!merge_advance(state, merge)) {
                result.error = merge.error;
                out.finish();
                return merge_discard(merge);
            }
        }
        const bool handed = out.hand_over(used, plan.start + result.written);
        result.written += static_cast<off_t>(used);
        if (!out.finish() || !handed) result.error = rc::kOutputWrite;
        // A mark at the very end has no record.
        while (!result.marks.empty() && result.marks.back().offset >= result.written) {
            result.marks.pop_back();
        }
    } catch (const std::exception&) {
        result.error = rc::kNoMemory;
    }
    merge_discard(merge);
}

bool applies(EngineState& state) {
    const RunResources& run = state.run;
    if (run.output_fd < 0 || run.output_used != 0) return false;
    return run.output_is_work_file || !(state.options.dup_processing || uses_layout(state) ||
                                        run.pending_output.direct || !state.statements.sorting());
}

// How many parts: one per core (at most kMaxParts), as long as each part's
// share of an input buffer still holds the longest record and is not too
// small a read.
unsigned part_count(const RunResources& run, off_t total) {
    const std::size_t stride = run.block_size + kWorkRecordHeader;
    unsigned parts =
        std::min(worker_count(static_cast<std::size_t>(total), kSplitThreshold), kMaxParts);
    // Each part also fills two buffers in its share of the two output buffers.
    auto fits = [&](unsigned n) {
        const std::size_t longest = kWorkRecordHeader + run.longest_work_record;
        return stride / n >= longest && stride / n >= kSmallestPartRead &&
               TwinBuffer::capacity_for(stride / ((n + 1) / 2)) >= longest;
    };
    while (parts > 1 && !fits(parts)) {
        --parts;
    }
    return parts;
}

}  // namespace

SplitMerge split_merge(EngineState& state, int first, int last) {
    RunResources& run = state.run;
    if (last <= first || !applies(state)) return SplitMerge::kNotUsed;
    std::vector<FileInfo> files;
    std::vector<Candidate> candidates;
    off_t total = 0;
    int code = 0;
    unsigned planned = 0;
    // The cut records are kept apart: the scratch memory they were read
    // into is read over by the search.
    std::vector<std::vector<std::uint8_t>> cut_bytes;
    std::vector<RecordRef> cuts;
    try {
        if (!describe_files(state, first, last, run.output_buffer.size(), files, total)) {
            return SplitMerge::kNotUsed;
        }
        planned = part_count(run, total);
        if (planned < 2 || !take_output_spare(run)) return SplitMerge::kNotUsed;
        if (!read_candidates(state, files, candidates, code)) {
            return code != 0 ? (fail(state, code), SplitMerge::kFailed) : SplitMerge::kNotUsed;
        }
        for (std::size_t i : cut_records(state, candidates, total, planned)) {
            const RecordRef& record = candidates[i].record;
            cut_bytes.emplace_back(record.data, record.data + record.length);
            cuts.push_back(record);
            cuts.back().data = cut_bytes.back().data();
        }
    } catch (const std::exception&) {
        return SplitMerge::kNotUsed;
    }
    for (FileInfo& info : files) {
        for (const RecordRef& cut : cuts) {
            if (!find_cut(state, info, candidates, cut, run.output_buffer.data(), code)) {
                fail(state, code);
                return SplitMerge::kFailed;
            }
        }
    }
    const std::size_t parts = cuts.size() + 1;
    // What each part writes, known for all but the last; a merge whose
    // records would all fall in one part is not worth the threads.
    std::vector<off_t> bytes(parts, 0);
    std::size_t filled = 0;
    for (std::size_t p = 0; p < parts; ++p) {
        off_t in = 0;
        for (const FileInfo& info : files) {
            in += info.part_end(p) - info.part_begin(p);
            if (!run.output_is_work_file && p + 1 < parts) {
                const std::uint32_t before = p == 0 ? 0 : info.records_before[p - 1];
                bytes[p] -= static_cast<off_t>(kWorkRecordHeader) *
                            static_cast<off_t>(info.records_before[p] - before);
            }
        }
        bytes[p] += in;
        if (in > 0) ++filled;
    }
    if (filled < 2) return SplitMerge::kNotUsed;

    // Whatever the helper thread of the output still writes must be in the
    // file before its position is read.
    if (!wait_for_output(state)) return SplitMerge::kFailed;
    const off_t base = ::lseek(run.output_fd, 0, SEEK_CUR);
    if (base < 0) return fail(state, rc::kOutputWrite), SplitMerge::kFailed;

    // Every part reads through its share of each input buffer and fills its
    // share of the two output buffers.
    const std::size_t stride = run.block_size + kWorkRecordHeader;
    const std::size_t per_buffer = (parts + 1) / 2;
    std::vector<PartPlan> plans(parts);
    std::vector<PartResult> results(parts);
    off_t start = base;
    for (std::size_t p = 0; p < parts; ++p) {
        PartPlan& plan = plans[p];
        plan.index = p;
        plan.read_capacity = stride / planned;
        plan.read_offset = p * plan.read_capacity;
        plan.out_capacity = stride / per_buffer;
        plan.out = (p < per_buffer ? run.output_buffer.data() : run.output_spare.data()) +
                   (p % per_buffer) * plan.out_capacity;
        plan.start = start;
        start += bytes[p];
    }
    // Parts go to whichever thread is free; should a helper not start, the
    // caller merges the rest.
    std::atomic<std::size_t> next{0};
    SharedFile file(run, run.output_fd);
    run_workers(static_cast<unsigned>(parts), [&](unsigned worker) {
        for (std::size_t p = next++; p < parts; p = next++) {
            merge_part(state, files, plans[p], file, worker == 0, results[p]);
        }
    });
    off_t end = base;
    std::uint32_t records = 0;
    for (std::size_t p = 0; p < parts; ++p) {
        if (results[p].error != 0) return fail(state, results[p].error), SplitMerge::kFailed;
        // The files held other records than their marks said.
        if (p + 1 < parts && results[p].written != bytes[p]) {
            return fail(state, rc::kWorkBlockInconsistent), SplitMerge::kFailed;
        }
        if (run.output_is_work_file) {
            if (p > 0) add_work_mark(run, end, run.output_records + records);
            for (const WorkMark& mark : results[p].marks) {
                add_work_mark(run, end + mark.offset, run.output_records + records + mark.records);
            }
        }
        end += results[p].written;
        records += results[p].records;
    }
    if (::lseek(run.output_fd, end, SEEK_SET) < 0) {
        return fail(state, rc::kOutputWrite), SplitMerge::kFailed;
    }
    state.records_written += records;
    if (run.output_is_work_file) {
        run.output_records += records;
        run.output_bytes = end;
    }
    return SplitMerge::kDone;
}

}  // namespace sorvel
