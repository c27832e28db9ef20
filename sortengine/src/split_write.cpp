#include "split_write.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <vector>

#include "duplicates.h"
#include "little_endian.h"
#include "memory_plan.h"
#include "output_file.h"
#include "outrec.h"
#include "return_codes.h"
#include "shared_writes.h"
#include "worker_threads.h"

namespace sorvel {
namespace {

// Sorted records lie scattered over the input buffers; asking for a record
// some places ahead lets the cache misses overlap.
constexpr std::size_t kPrefetchDistance = 12;

struct Piece {
    std::size_t first;  // table entries [first, last)
    std::size_t last;
    off_t offset;  // from the start of the table's bytes
    std::size_t bytes;
};

std::size_t record_bytes(const RunResources& run, std::size_t i) {
    return (run.output_is_work_file ? kWorkRecordHeader : 0) + run.refs[i].length;
}

constexpr unsigned kMaxThreads = 8;

// Pieces of whole records of at most `capacity` bytes each.
bool cut_pieces(const RunResources& run, std::size_t capacity, std::vector<Piece>& pieces) {
    pieces.clear();
    try {
        Piece piece{0, 0, 0, 0};
        for (std::size_t i = 0; i < run.ref_count; ++i) {
            const std::size_t bytes = record_bytes(run, i);
            if (bytes > capacity) return false;  // the one-thread path reports it
            if (piece.bytes + bytes > capacity) {
                pieces.push_back(piece);
                piece = Piece{i, i, piece.offset + static_cast<off_t>(piece.bytes), 0};
            }
            piece.last = i + 1;
            piece.bytes += bytes;
        }
        if (piece.bytes > 0) pieces.push_back(piece);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

inline void prefetch_ahead(const RunResources& run, std::size_t i, std::size_t end) {
    if (i + kPrefetchDistance < end) {
        const RecordRef& ahead = run.refs[i + kPrefetchDistance];
        __builtin_prefetch(ahead.data);
        __builtin_prefetch(ahead.data + 64);
    }
}

void gather(const RunResources& run, const Piece& piece, std::uint8_t* out) {
    const bool headers = run.output_is_work_file;
    for (std::size_t i = piece.first; i < piece.last; ++i) {
        prefetch_ahead(run, i, piece.last);
        const RecordRef& ref = run.refs[i];
        if (headers) {
            put_le32(out, ref.length);
            put_le32(out + 4, ref.sequence);
            out += kWorkRecordHeader;
        }
        if (ref.length > 0) std::memcpy(out, ref.data, ref.length);
        out += ref.length;
    }
}

// One record after the other, through duplicate processing and OUTR when
// the output is the output file.
bool write_one_by_one(EngineState& state) {
    RunResources& run = state.run;
    for (std::size_t i = 0; i < run.ref_count; ++i) {
        prefetch_ahead(run, i, run.ref_count);
        const RecordRef& ref = run.refs[i];
        const bool ok = run.output_is_work_file
                            ? write_work_record(state, ref.data, ref.length, ref.sequence)
                            : emit_record(state, ref.data, ref.length, ref.sequence);
        if (!ok) return false;
    }
    return true;
}

bool can_split_write(EngineState& state) {
    RunResources& run = state.run;
    if (run.output_fd < 0 || run.output_used != 0) return false;
    if (!run.output_is_work_file) {
        // The records must reach the file as they are, and the file must be
        // one that can be written at any place.
        if (state.options.dup_processing || uses_layout(state) || run.pending_output.direct) {
            return false;
        }
        if (!state.statements.sorting()) return false;
    }
    // Less than two buffer-fulls is one piece: nothing to share.
    std::size_t bytes = 0;
    const std::size_t capacity = run.output_buffer.size();
    for (std::size_t i = 0; i < run.ref_count && bytes <= capacity; ++i) {
        bytes += record_bytes(run, i);
    }
    if (bytes <= capacity) return false;
    if (worker_count(run.ref_count, 0) < 2) return false;
    return take_output_spare(run);
}

bool write_table_split(EngineState& state) {
    RunResources& run = state.run;
    // Whatever the helper thread of the output still writes must be in the
    // file before its position is read.
    if (!wait_for_output(state)) return false;
    const off_t base = ::lseek(run.output_fd, 0, SEEK_CUR);
    // Each thread copies into its own share of the two output buffers, in
    // two halves (shared_writes.h); with records too long for that, two
    // threads with a whole buffer each.
    const std::size_t stride = run.output_buffer.size();
    unsigned threads = std::min(worker_count(run.ref_count, 0), kMaxThreads);
    std::size_t per_buffer = (threads + 1) / 2;
    std::vector<Piece> pieces;
    bool cut = base >= 0 && cut_pieces(run, TwinBuffer::capacity_for(stride / per_buffer), pieces);
    if (!cut && base >= 0 && threads > 2) {
        threads = 2;
        per_buffer = 1;
        cut = cut_pieces(run, TwinBuffer::capacity_for(stride), pieces);
    }
    if (!cut) return write_one_by_one(state);  // same records, one thread
    std::atomic<std::size_t> next{0};
    const int fd = run.output_fd;
    const std::size_t share = stride / per_buffer;
    SharedFile file(run, fd);
    run_workers(threads, [&](unsigned worker) {
        std::uint8_t* memory =
            (worker < per_buffer ? run.output_buffer.data() : run.output_spare.data()) +
            (worker % per_buffer) * share;
        TwinBuffer out(file, memory, share, worker == 0 ? &state : nullptr);
        for (std::size_t i = next++; i < pieces.size() && !file.failed; i = next++) {
            const Piece& piece = pieces[i];
            gather(run, piece, out.data());
            out.hand_over(piece.bytes, base + piece.offset);
        }
        out.finish();
    });
    if (file.failed) return fail(state, rc::kOutputWrite);
    const Piece& end = pieces.back();
    if (::lseek(fd, base + end.offset + static_cast<off_t>(end.bytes), SEEK_SET) < 0) {
        return fail(state, rc::kOutputWrite);
    }
    state.records_written += static_cast<std::uint32_t>(run.ref_count);
    if (run.output_is_work_file) {
        for (const Piece& piece : pieces) {
            if (piece.offset > 0)
                add_work_mark(run, base + piece.offset,
                              run.output_records + static_cast<std::uint32_t>(piece.first));
            for (std::size_t i = piece.first; i < piece.last; ++i) {
                run.longest_work_record = std::max(run.longest_work_record, run.refs[i].length);
            }
        }
        run.output_records += static_cast<std::uint32_t>(run.ref_count);
        run.output_bytes = base + end.offset + static_cast<off_t>(end.bytes);
    }
    return true;
}

}  // namespace

bool write_table(EngineState& state) {
    return can_split_write(state) ? write_table_split(state) : write_one_by_one(state);
}

}  // namespace sorvel
