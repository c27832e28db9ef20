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
#include "work_files.h"
#include "worker_threads.h"

namespace sorvel {
namespace {

// Below this many bytes of work files a helper thread does not pay.
constexpr std::size_t kSplitThreshold = std::size_t{8} << 20;

// One work file of the merge: its size, its marks (the start of the file
// included, the end left out) and, once found, where the cut falls.
struct FileInfo {
    int file = 0;
    off_t size = 0;
    std::vector<WorkMark> marks;
    std::size_t first_candidate = 0;  // its marks' records in the candidate list
    off_t cut = 0;
    std::uint32_t records_before_cut = 0;
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

// The record at the middle of the bytes: the marks in record order, each
// standing for the stretch of its file up to the next mark.
const Candidate& middle_record(const EngineState& state, const std::vector<Candidate>& candidates,
                               off_t total) {
    std::vector<std::size_t> order(candidates.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return compare_records(state, candidates[a].record, candidates[b].record) < 0;
    });
    off_t before = 0;
    for (std::size_t i : order) {
        before += candidates[i].bytes;
        if (2 * before >= total) return candidates[i];
    }
    return candidates[order.back()];
}

// Where in each file the first record not before `cut` starts. The marks'
// records are in file order; the cut lies after the last mark before it and
// at or before the next one, a stretch that is read into `room` and searched.
bool find_cuts(EngineState& state, std::vector<FileInfo>& files,
               const std::vector<Candidate>& candidates, const RecordRef& cut, std::uint8_t* room,
               int& code) {
    for (FileInfo& info : files) {
        std::size_t below = 0;  // marks whose record comes before the cut
        while (below < info.marks.size() &&
               compare_records(state, candidates[info.first_candidate + below].record, cut) < 0) {
            ++below;
        }
        if (below == 0) {
            info.cut = 0;
            info.records_before_cut = 0;
            continue;
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
            const RecordRef record{room + at + kWorkRecordHeader, record_length,
                                   le32(room + at + 4), 1};
            if (compare_records(state, record, cut) >= 0) break;
            at += kWorkRecordHeader + record_length;
            ++records;
        }
        info.cut = from.offset + static_cast<off_t>(at);
        info.records_before_cut = records;
    }
    return true;
}

// What one thread of the merge did.
struct Half {
    int error = 0;
    off_t written = 0;
    std::uint32_t records = 0;
    std::vector<WorkMark> marks;  // relative to the half's start (work output)
};

// Merges the parts before the cut (`second` false) or after it, reading
// through that half of every input buffer.
void merge_half(EngineState& state, const std::vector<FileInfo>& files, bool second, bool on_caller,
                std::uint8_t* out, off_t start, Half& half) {
    RunResources& run = state.run;
    const bool work_output = run.output_is_work_file;
    const int fd = run.output_fd;
    const std::size_t capacity = run.output_buffer.size();
    const std::size_t part = (run.block_size + kWorkRecordHeader) / 2;
    std::vector<MergePart> parts;
    MergeState merge;
    merge.helper_thread = true;  // failures come back to the caller in `half`
    try {
        for (std::size_t f = 0; f < files.size(); ++f) {
            const FileInfo& info = files[f];
            MergePart p;
            p.file = info.file;
            p.buffer = run.input_buffers[static_cast<std::size_t>(info.file - 1)].data() +
                       (second ? part : 0);
            p.capacity = part;
            p.start = second ? info.cut : 0;
            p.end = second ? info.size : info.cut;
            parts.push_back(p);
        }
        if (!merge_open_parts(state, merge, parts)) {
            half.error = merge.error;
            return;
        }
        std::size_t used = 0;
        auto write_out = [&]() {
            if (used == 0) return true;
            if (on_caller) drain_messages(state);
            if (!write_all_at(fd, out, used, start + half.written)) return false;
            start_write_back(run, start + half.written, used);
            half.written += static_cast<off_t>(used);
            used = 0;
            if (work_output) half.marks.push_back({half.written, half.records});
            return true;
        };
        while (const RecordRef* head = merge_peek(merge)) {
            const std::size_t header = work_output ? kWorkRecordHeader : 0;
            if (used + header + head->length > capacity && !write_out()) {
                half.error = rc::kOutputWrite;
                return merge_discard(merge);
            }
            if (work_output) {
                put_le32(out + used, head->length);
                put_le32(out + used + 4, head->sequence);
            }
            if (head->length > 0) std::memcpy(out + used + header, head->data, head->length);
            used += header + head->length;
            ++half.records;
            if (!merge_advance(state, merge)) {
                half.error = merge.error;
                return merge_discard(merge);
            }
        }
        if (!write_out()) half.error = rc::kOutputWrite;
        // A mark at the very end has no record.
        while (!half.marks.empty() && half.marks.back().offset >= half.written)
            half.marks.pop_back();
    } catch (const std::exception&) {
        half.error = rc::kNoMemory;
    }
    merge_discard(merge);
}

bool applies(EngineState& state) {
    const RunResources& run = state.run;
    if (run.output_fd < 0 || run.output_used != 0) return false;
    if (!run.output_is_work_file && (state.options.dup_processing || uses_layout(state) ||
                                     run.pending_output.direct || !state.statements.sorting())) {
        return false;
    }
    // Each thread reads through half of every input buffer.
    return kWorkRecordHeader + run.longest_work_record <= (run.block_size + kWorkRecordHeader) / 2;
}

}  // namespace

SplitMerge split_merge(EngineState& state, int first, int last) {
    RunResources& run = state.run;
    if (last <= first || !applies(state)) return SplitMerge::kNotUsed;
    std::vector<FileInfo> files;
    std::vector<Candidate> candidates;
    off_t total = 0;
    int code = 0;
    std::vector<std::uint8_t> cut_bytes;
    RecordRef cut;
    try {
        if (!describe_files(state, first, last, run.output_buffer.size(), files, total) ||
            worker_count(static_cast<std::size_t>(total), kSplitThreshold) < 2 ||
            !take_output_spare(run)) {
            return SplitMerge::kNotUsed;
        }
        if (!read_candidates(state, files, candidates, code)) {
            return code != 0 ? (fail(state, code), SplitMerge::kFailed) : SplitMerge::kNotUsed;
        }
        const Candidate& middle = middle_record(state, candidates, total);
        // The cut is kept apart: the scratch memory it was read into is
        // read over by the search.
        cut_bytes.assign(middle.record.data, middle.record.data + middle.record.length);
        cut = middle.record;
        cut.data = cut_bytes.data();
    } catch (const std::exception&) {
        return SplitMerge::kNotUsed;
    }
    if (!find_cuts(state, files, candidates, cut, run.output_buffer.data(), code)) {
        fail(state, code);
        return SplitMerge::kFailed;
    }
    off_t first_bytes = 0;  // what the first half writes
    off_t cut_total = 0;
    for (const FileInfo& info : files) {
        cut_total += info.cut;
        first_bytes += info.cut;
        if (!run.output_is_work_file) {
            first_bytes -= static_cast<off_t>(kWorkRecordHeader) * info.records_before_cut;
        }
    }
    if (cut_total == 0 || cut_total == total) return SplitMerge::kNotUsed;

    // Whatever the helper thread of the output still writes must be in the
    // file before its position is read.
    if (!wait_for_output(state)) return SplitMerge::kFailed;
    const off_t base = ::lseek(run.output_fd, 0, SEEK_CUR);
    if (base < 0) return fail(state, rc::kOutputWrite), SplitMerge::kFailed;

    Half halves[2];
    std::uint8_t* outs[2] = {run.output_buffer.data(), run.output_spare.data()};
    const off_t starts[2] = {base, base + first_bytes};
    // Should the helper thread not start, the caller merges both halves.
    std::atomic<int> next{0};
    run_workers(2, [&](unsigned worker) {
        for (int h = next++; h < 2; h = next++) {
            merge_half(state, files, h == 1, worker == 0, outs[h], starts[h], halves[h]);
        }
    });
    for (const Half& half : halves) {
        if (half.error != 0) return fail(state, half.error), SplitMerge::kFailed;
    }
    // The files held other records than their marks said.
    if (halves[0].written != first_bytes) {
        return fail(state, rc::kWorkBlockInconsistent), SplitMerge::kFailed;
    }
    const off_t end = base + halves[0].written + halves[1].written;
    if (::lseek(run.output_fd, end, SEEK_SET) < 0) {
        return fail(state, rc::kOutputWrite), SplitMerge::kFailed;
    }
    state.records_written += halves[0].records + halves[1].records;
    if (run.output_is_work_file) {
        for (const WorkMark& mark : halves[0].marks)
            add_work_mark(run, base + mark.offset, mark.records);
        add_work_mark(run, base + halves[0].written, halves[0].records);
        for (const WorkMark& mark : halves[1].marks) {
            add_work_mark(run, base + halves[0].written + mark.offset,
                          halves[0].records + mark.records);
        }
        run.output_records += halves[0].records + halves[1].records;
        run.output_bytes = end;
    }
    return SplitMerge::kDone;
}

}  // namespace sorvel
