// Output file, work-file output and the output buffer.
#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "host_hook.h"
#include "input_reader.h"
#include "return_codes.h"
#include "safe_file.h"
#include "work_files.h"
#include "write_behind.h"

namespace sorvel {
namespace {

// The output has outgrown one buffer and more is coming: from now on a
// helper thread writes each full buffer while the other one fills, if the
// memory and a thread can be had; otherwise writes stay on this thread.
void start_write_behind(RunResources& run) {
    if (run.output_writer || !take_output_spare(run)) return;
    run.write_behind_allowed = false;  // one try per run
    std::unique_ptr<WriteBehind, WriteBehindDeleter> writer(new (std::nothrow) WriteBehind);
    if (!writer) return;
    if (!writer->start()) return;
    run.output_writer = std::move(writer);
}

bool copy_header(EngineState& state) {
    RunResources& run = state.run;
    if (!write_all(run.output_fd, run.header_bytes.data(), run.header_bytes.size())) {
        return fail(state, rc::kHeaderCopyWrite);
    }
    run.header_copied = true;
    return true;
}

// APPE: the new output file starts with the old one's content (without a
// final TXT end marker, which the new records replace). 210 when the old
// file cannot be read, 240 when the copy cannot be written.
bool copy_previous_output(EngineState& state) {
    const PendingOutput& out = state.run.pending_output;
    if (out.direct || !out.target_existed) return true;
    const int in = ::open(out.target.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return fail(state, rc::kOutputOpen);
    struct stat info;
    off_t left = ::fstat(in, &info) == 0 ? info.st_size : -1;
    std::uint8_t last = 0;
    if (left > 0 && state.options.file_type == kFileTXT) {
        if (::pread(in, &last, 1, left - 1) != 1) left = -1;
        if (last == 26) --left;
    }
    std::vector<std::uint8_t> piece(1 << 16);
    int code = left < 0 ? rc::kOutputOpen : 0;
    while (code == 0 && left > 0) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<off_t>(left, static_cast<off_t>(piece.size())));
        const long got = read_full(in, piece.data(), want);
        if (got != static_cast<long>(want)) {
            code = rc::kOutputOpen;
        } else if (!write_all(out.fd, piece.data(), want)) {
            code = rc::kOutputWrite;
        }
        left -= static_cast<off_t>(want);
    }
    ::close(in);
    return code == 0 || fail(state, code);
}

bool write_trailer(EngineState& state) {
    const Options& options = state.options;
    const StatementTables& tables = state.tables;
    std::vector<std::uint8_t> trailer;
    switch (options.file_type) {
        case kFileFE:
        case kFileDB3:
            trailer.push_back(options.eof_byte);
            break;
        case kFileTXT:
            if (state.run.end_marker_seen) trailer.push_back(26);
            break;
        case kFileGP:
            if (state.run.end_marker_seen) {
                trailer.assign(tables.gp_end_marker.begin(),
                               tables.gp_end_marker.begin() + tables.gp_end_marker_count);
            }
            break;
        default:
            break;
    }
    if (!trailer.empty() && !write_all(state.run.output_fd, trailer.data(), trailer.size())) {
        return fail(state, rc::kEndMarkerWrite);
    }
    return true;
}

bool finish_output(EngineState& state) {
    if (state.options.file_type != kFileDB3) return true;
    const std::uint32_t count = state.records_written;
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(count & 0xFF),
                                   static_cast<std::uint8_t>((count >> 8) & 0xFF)};
    if (::pwrite(state.run.output_fd, bytes, 2, 4) != 2) return fail(state, rc::kDb3CountWrite);
    return true;
}

}  // namespace

void add_work_mark(RunResources& run, off_t offset, std::uint32_t records) {
    try {
        run.output_marks.push_back({offset, records});
    } catch (const std::bad_alloc&) {
        // Without its marks the file is only ever merged whole.
        run.output_marks.clear();
    }
}

bool take_output_spare(RunResources& run) {
    if (!run.output_spare.empty()) return true;
    return run.write_behind_allowed && run.output_spare.allocate(run.output_buffer.size());
}

bool write_all(int fd, const std::uint8_t* bytes, std::size_t length) {
    while (length > 0) {
        const ssize_t put = ::write(fd, bytes, length);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes += put;
        length -= static_cast<std::size_t>(put);
    }
    return true;
}

bool write_all_at(int fd, const std::uint8_t* bytes, std::size_t length, off_t offset) {
    while (length > 0) {
        const ssize_t put = ::pwrite(fd, bytes, length, offset);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes += put;
        length -= static_cast<std::size_t>(put);
        offset += put;
    }
    return true;
}

void start_write_back(const RunResources& run, off_t offset, std::size_t length) {
    // Only a hint: whether the system starts early or not, the output is
    // flushed to disk before it takes the target's place.
    if (!run.output_is_work_file && !run.pending_output.direct) {
        (void)::sync_file_range(run.output_fd, offset, static_cast<off_t>(length),
                                SYNC_FILE_RANGE_WRITE);
    }
}

bool open_output_file(EngineState& state) {
    RunResources& run = state.run;
    if (state.statements.has(kStmtPAUS) && !run.pause_shown) {
        show_pause_message(state);
        run.pause_shown = true;
    }
    if (!begin_output(state.output_name, run.pending_output)) return fail(state, rc::kOutputOpen);
    run.output_fd = run.pending_output.fd;
    run.output_used = 0;
    run.output_is_work_file = false;
    run.output_open = true;
    if (state.statements.has(kStmtAPPE) && !copy_previous_output(state)) return false;
    if (run.header_saved && !run.header_copied) return copy_header(state);
    return true;
}

bool open_work_output(EngineState& state) {
    RunResources& run = state.run;
    const int fd = create_work_file(state);
    if (fd < 0) return fail(state, rc::kOutputOpen);
    run.output_fd = fd;
    run.output_used = 0;
    run.output_is_work_file = true;
    run.output_marks.clear();
    run.output_records = 0;
    run.output_bytes = 0;
    return true;
}

int take_work_output(EngineState& state) {
    RunResources& run = state.run;
    const bool ok = flush_output(state) && wait_for_output(state);
    const int fd = run.output_fd;
    run.output_fd = -1;
    run.output_is_work_file = false;
    if (ok) return fd;
    ::close(fd);
    return -1;
}

bool flush_output(EngineState& state) {
    RunResources& run = state.run;
    if (run.output_used == 0) return true;
    drain_messages(state);
    if (run.output_is_work_file) {
        run.output_bytes += static_cast<off_t>(run.output_used);
        add_work_mark(run, run.output_bytes, run.output_records);
    }
    if (run.output_writer) {
        // The write before this one must have succeeded; then this buffer
        // goes to the helper and the other one takes the next records.
        if (!wait_for_output(state)) return run.output_used = 0, false;
        const bool write_back = !run.output_is_work_file && !run.pending_output.direct;
        run.output_writer->submit(run.output_fd, run.output_buffer.data(), run.output_used,
                                  write_back);
        std::swap(run.output_buffer, run.output_spare);
        run.output_used = 0;
        return true;
    }
    const bool ok = write_all(run.output_fd, run.output_buffer.data(), run.output_used);
    run.output_used = 0;
    return ok || fail(state, rc::kOutputWrite);
}

bool wait_for_output(EngineState& state) {
    return settle_output_writes(state.run) || fail(state, rc::kOutputWrite);
}

std::uint8_t* output_space(EngineState& state, std::size_t length) {
    RunResources& run = state.run;
    const std::size_t capacity = run.output_buffer.size();
    if (length > capacity - run.output_used) {
        if (length > capacity) {
            fail(state, rc::kOutputRecordTooLong);
            return nullptr;
        }
        start_write_behind(run);
        if (!flush_output(state)) return nullptr;
    }
    std::uint8_t* at = run.output_buffer.data() + run.output_used;
    run.output_used += length;
    return at;
}

bool close_output(EngineState& state, int close_code) {
    RunResources& run = state.run;
    if (run.output_fd < 0) return true;
    const bool ok = flush_output(state) && wait_for_output(state) && write_trailer(state) &&
                    finish_output(state);
    run.output_fd = -1;
    run.output_open = false;
    if (!ok) {
        discard_output(run.pending_output);
        return false;
    }
    if (!commit_output(run.pending_output)) return fail(state, close_code);
    run.output_committed = true;
    return true;
}

}  // namespace sorvel
