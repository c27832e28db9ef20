// Output file, work-file output and the output buffer.
#include "output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "host_hook.h"
#include "return_codes.h"

namespace sorvel {
namespace {

constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;

bool copy_header(EngineState& state) {
    RunResources& run = state.run;
    const int fd = ::open(run.header_file_name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail(state, rc::kHeaderOpenForCopy);
    std::vector<std::uint8_t> piece(run.block_size > 0 ? run.block_size : 4096);
    for (;;) {
        const ssize_t got = ::read(fd, piece.data(), piece.size());
        if (got < 0) {
            ::close(fd);
            return fail(state, rc::kHeaderReadForCopy);
        }
        if (got == 0) break;
        if (!write_all(run.output_fd, piece.data(), static_cast<std::size_t>(got))) {
            ::close(fd);
            return fail(state, rc::kHeaderCopyWrite);
        }
    }
    if (::close(fd) != 0) return fail(state, rc::kHeaderCloseAfterCopy);
    run.header_copied = true;
    return true;
}

// APPE: opens an existing output for extending. -1 when there is none (the
// caller then creates it); -2 when it exists but cannot be positioned.
int open_for_append(const EngineState& state, const char* name) {
    const int fd = ::open(name, O_RDWR | O_CLOEXEC);
    if (fd < 0) return -1;
    off_t end = ::lseek(fd, 0, SEEK_END);
    if (end < 0) {
        ::close(fd);
        return -2;
    }
    if (state.options.file_type == kFileTXT && end > 0) {
        // A TXT output ends with its marker byte: new records replace it.
        std::uint8_t last = 0;
        if (::pread(fd, &last, 1, end - 1) != 1 ||
            (last == 26 && ::lseek(fd, end - 1, SEEK_SET) < 0)) {
            ::close(fd);
            return -2;
        }
    }
    return fd;
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

bool open_output_file(EngineState& state) {
    RunResources& run = state.run;
    if (state.statements.has(kStmtPAUS) && !run.pause_shown) {
        show_pause_message(state);
        run.pause_shown = true;
    }
    const char* name = state.output_name.c_str();
    int fd = -1;
    if (state.statements.has(kStmtAPPE)) {
        fd = open_for_append(state, name);
        if (fd == -2) return fail(state, rc::kOutputOpen);
    }
    if (fd < 0) fd = ::open(name, kCreateFlags, 0666);
    if (fd < 0) return fail(state, rc::kOutputOpen);
    run.output_fd = fd;
    run.output_used = 0;
    run.output_is_work_file = false;
    run.output_open = true;
    if (run.header_file_made && !run.header_copied) return copy_header(state);
    return true;
}

bool open_work_output(EngineState& state, const std::string& name) {
    RunResources& run = state.run;
    const int fd = ::open(name.c_str(), kCreateFlags, 0666);
    if (fd < 0) return fail(state, rc::kOutputOpen);
    run.output_fd = fd;
    run.output_used = 0;
    run.output_is_work_file = true;
    return true;
}

bool flush_output(EngineState& state) {
    RunResources& run = state.run;
    if (run.output_used == 0) return true;
    drain_messages(state);
    const bool ok = write_all(run.output_fd, run.output_buffer.data(), run.output_used);
    run.output_used = 0;
    return ok || fail(state, rc::kOutputWrite);
}

std::uint8_t* output_space(EngineState& state, std::size_t length) {
    RunResources& run = state.run;
    const std::size_t capacity = run.output_buffer.size();
    if (length > capacity - run.output_used) {
        if (length > capacity) {
            fail(state, rc::kOutputRecordTooLong);
            return nullptr;
        }
        if (!flush_output(state)) return nullptr;
    }
    std::uint8_t* at = run.output_buffer.data() + run.output_used;
    run.output_used += length;
    return at;
}

bool close_output(EngineState& state, int close_code) {
    RunResources& run = state.run;
    if (run.output_fd < 0) return true;
    bool ok = flush_output(state);
    if (ok && !run.output_is_work_file) ok = write_trailer(state) && finish_output(state);
    const int fd = run.output_fd;
    run.output_fd = -1;
    run.output_open = false;
    run.output_is_work_file = false;
    if (::close(fd) != 0 && ok) return fail(state, close_code);
    return ok;
}

}  // namespace sorvel
