// Reading the input stream.
//
// The input files are read one after the other into the input buffers;
// records are framed where they lie and referenced from the RecordRef table,
// never copied. A record is never split across two buffers: bytes that do
// not yet hold a whole record are given back to the file (the file position
// moves back) and read again into the next buffer. SequenceNumber runs on
// over all input files; LIMI/LAST end the input after a record number and
// ORIG skips the records before one.
#include "input_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "host_hook.h"
#include "memory_plan.h"
#include "phases.h"
#include "return_codes.h"
#include "tokenizer.h"
#include "work_files.h"

namespace sorvel {
namespace {

// Opens the first input file for a header check: 213 without a name, 214.
int open_first_input(EngineState& state) {
    std::size_t at = 0;
    const auto name = next_input_name(state, &at);
    if (!name) return fail(state, rc::kNoInputName), -1;
    const int fd = ::open(name->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail(state, rc::kInputOpen);
    return fd;
}

// Reads `length` header bytes at `offset`: 216 when they are not there.
bool read_header_bytes(EngineState& state, int fd, off_t offset, std::uint8_t* into,
                       std::size_t length) {
    if (::pread(fd, into, length, offset) != static_cast<ssize_t>(length)) {
        ::close(fd);
        return fail(state, rc::kInputRead);
    }
    return true;
}

bool close_header_input(EngineState& state, int fd) {
    return ::close(fd) == 0 || fail(state, rc::kHeaderClose);
}

bool check_rv(EngineState& state) {
    const int fd = open_first_input(state);
    if (fd < 0) return false;
    std::uint8_t bytes[2];
    if (!read_header_bytes(state, fd, 2, bytes, 2)) return false;
    Options& o = state.options;
    o.length_prefix_size = (bytes[0] | (bytes[1] << 8)) <= 255 ? 1 : 2;
    o.field_offset = o.length_prefix_size;
    o.bypass_count = 4;
    o.keep_header = true;
    return close_header_input(state, fd);
}

bool check_cvs(EngineState& state) {
    const int fd = open_first_input(state);
    if (fd < 0) return false;
    std::uint8_t bytes[2];
    if (!read_header_bytes(state, fd, 56, bytes, 2)) return false;
    Options& o = state.options;
    o.length_prefix_size = (bytes[0] * 256u + bytes[1]) <= 4095 ? 2 : 4;
    o.field_offset = o.length_prefix_size;
    o.bypass_count = 128;
    o.keep_header = true;
    return close_header_input(state, fd);
}

bool check_db3(EngineState& state) {
    const int fd = open_first_input(state);
    if (fd < 0) return false;
    std::uint8_t bytes[4];
    if (!read_header_bytes(state, fd, 8, bytes, 4)) return false;
    Options& o = state.options;
    o.bypass_count = bytes[0] | (bytes[1] << 8);
    o.record_length = bytes[2] | (bytes[3] << 8);
    o.keep_header = true;
    return close_header_input(state, fd);
}

bool check_pre(EngineState& state) {
    const int fd = open_first_input(state);
    if (fd < 0) return false;
    if (::lseek(fd, 0, SEEK_END) < 0 || ::lseek(fd, 0, SEEK_SET) < 0) {
        ::close(fd);
        return fail(state, rc::kInputSeek);
    }
    return ::close(fd) == 0 || fail(state, rc::kInputClose);
}

std::int64_t mtime_ns(const struct stat& info) {
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

// What the input file looks like when it is opened.
void note_input_state(RunResources& run) {
    struct stat info;
    run.input_checkable = ::fstat(run.input_fd, &info) == 0 && S_ISREG(info.st_mode);
    if (!run.input_checkable) return;
    run.input_size = info.st_size;
    run.input_mtime_ns = mtime_ns(info);
}

// At the end of an input file: it must have been read to the length it had
// when it was opened and be unchanged since. A file cut short or rewritten
// while the run read it would otherwise end the input early without a word.
bool input_read_whole(const RunResources& run) {
    if (!run.input_checkable) return true;
    struct stat info;
    const off_t at = ::lseek(run.input_fd, 0, SEEK_CUR);
    if (::fstat(run.input_fd, &info) != 0 || at < 0) return false;
    return at >= run.input_size && info.st_size == run.input_size &&
           mtime_ns(info) == run.input_mtime_ns;
}

// Opens the next file of the input list and skips its header. False with
// `none` set when the list has no more names.
bool open_next_input(EngineState& state, bool* none) {
    RunResources& run = state.run;
    *none = false;
    const auto name = next_input_name(state, &run.input_list_position);
    if (!name) {
        *none = true;
        return true;
    }
    drain_messages(state);
    const int fd = ::open(name->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail(state, rc::kInputOpen);
    run.input_fd = fd;
    run.input_file_ended = false;
    // Only the file read last decides whether the output ends with a marker.
    run.end_marker_seen = false;
    note_input_state(run);
    if (state.options.bypass_count > 0 &&
        ::lseek(fd, static_cast<off_t>(state.options.bypass_count), SEEK_SET) < 0) {
        return fail(state, rc::kInputSeek);
    }
    return true;
}

bool close_input(EngineState& state) {
    RunResources& run = state.run;
    const int fd = run.input_fd;
    run.input_fd = -1;
    return fd < 0 || ::close(fd) == 0 || fail(state, rc::kInputClose);
}

bool give_back(EngineState& state, std::size_t bytes) {
    if (bytes == 0) return true;
    return ::lseek(state.run.input_fd, -static_cast<off_t>(bytes), SEEK_CUR) >= 0 ||
           fail(state, rc::kGiveBackSeek);
}

enum class Framed { kMore, kBufferDone, kTableFull, kLimitReached };

// Frames records in buf[pos, end). Updates pos; sets the end-marker state.
Framed frame_block(EngineState& state, const FramingRules& rules, std::uint8_t* buf,
                   std::size_t& pos, std::size_t end, bool& file_ended, bool& framed_any) {
    RunResources& run = state.run;
    const Options& o = state.options;
    const bool limited = o.has_limit;
    const bool origin = o.has_origin;
    while (pos < end) {
        const FrameResult frame = frame_record(rules, buf + pos, end - pos, file_ended);
        if (frame.kind == FrameKind::kIncomplete) break;
        if (frame.kind == FrameKind::kEndMarker) {
            file_ended = true;
            run.end_marker_seen = true;
            return Framed::kMore;
        }
        framed_any = true;
        ++run.sequence;
        if (limited && run.sequence > o.limit) {
            run.input_exhausted = true;
            return Framed::kLimitReached;
        }
        if (!(origin && run.sequence < o.origin)) {
            RecordRef& ref = run.refs[run.ref_count++];
            ref.data = buf + pos;
            ref.length = static_cast<std::uint32_t>(frame.length);
            ref.sequence = run.sequence;
            ref.present = 1;
        }
        pos += frame.length;
        if (run.ref_count == run.ref_capacity) return Framed::kTableFull;
    }
    return file_ended ? Framed::kMore : Framed::kBufferDone;
}

bool fill_buffers_impl(EngineState& state) {
    RunResources& run = state.run;
    run.ref_count = 0;
    if (run.input_buffers.empty()) return fail(state, rc::kNoFreeInputBuffer);
    run.input_used.assign(run.input_buffers.size(), 0);
    if (run.input_exhausted) return true;
    if (run.input_fd < 0) {
        bool none = false;
        if (!open_next_input(state, &none)) return false;
        // No file open while input remains: this is the first fill of the run.
        if (none) return fail(state, rc::kNoInputName);
    }
    const FramingRules rules = framing_rules(state);
    bool framed_any = false;
    std::size_t current = 0;
    for (;;) {
        std::uint8_t* buf = run.input_buffers[current].data();
        std::size_t pos = run.input_used[current];
        drain_messages(state);
        const long got = read_full(run.input_fd, buf + pos, run.block_size - pos);
        if (got < 0) return fail(state, rc::kInputRead);
        const std::size_t end = pos + static_cast<std::size_t>(got);
        bool file_ended = static_cast<std::size_t>(got) < run.block_size - pos;
        if (file_ended && !input_read_whole(run)) return fail(state, rc::kInputChanged);

        const Framed framed = frame_block(state, rules, buf, pos, end, file_ended, framed_any);
        run.input_used[current] = pos;
        if (framed == Framed::kLimitReached) return close_input(state);
        if (framed == Framed::kTableFull) return give_back(state, end - pos);
        if (!file_ended) {
            if (!give_back(state, end - pos)) return false;
        }
        if (file_ended) {
            if (!close_input(state)) return false;
            bool none = false;
            if (!open_next_input(state, &none)) return false;
            if (none) {
                run.input_exhausted = true;
                return true;
            }
            continue;  // the next file goes on in the same buffer
        }
        if (++current == run.input_buffers.size()) {
            return framed_any || fail(state, rc::kRecordTooLong);
        }
    }
}

}  // namespace

FramingRules framing_rules(const EngineState& state) {
    const Options& o = state.options;
    FramingRules rules;
    rules.file_type = o.file_type;
    rules.record_length = o.record_length;
    rules.eof_byte = o.eof_byte;
    rules.prefix_size = static_cast<std::uint8_t>(o.length_prefix_size);
    rules.delimiter = state.tables.gp_delimiter.data();
    rules.delimiter_length = static_cast<std::size_t>(state.tables.gp_delimiter_count);
    rules.end_sequence = state.tables.gp_end_marker.data();
    rules.end_sequence_length = static_cast<std::size_t>(state.tables.gp_end_marker_count);
    return rules;
}

std::optional<std::string> next_input_name(const EngineState& state, std::size_t* at) {
    const std::string& list = state.input_list;
    if (*at >= list.size()) return std::nullopt;
    Tokenizer tokens(reinterpret_cast<const std::uint8_t*>(list.data()) + *at, list.size() - *at);
    const auto token = tokens.next(kNameSeparators, state.options.command_quote);
    *at += tokens.position();
    if (!token) return std::nullopt;
    return std::string(tokens.view(*token));
}

long read_full(int fd, std::uint8_t* into, std::size_t length) {
    std::size_t total = 0;
    while (total < length) {
        const ssize_t got = ::read(fd, into + total, length - total);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        total += static_cast<std::size_t>(got);
    }
    return static_cast<long>(total);
}

long read_at(int fd, std::uint8_t* into, std::size_t length, off_t at) {
    std::size_t total = 0;
    while (total < length) {
        const ssize_t got =
            ::pread(fd, into + total, length - total, at + static_cast<off_t>(total));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        total += static_cast<std::size_t>(got);
    }
    return static_cast<long>(total);
}

bool check_header(EngineState& state) {
    bool ok = true;
    switch (state.options.file_type) {
        case kFileVS:
            state.options.field_offset = 2;
            break;
        case kFileRV:
            ok = check_rv(state);
            break;
        case kFileCVS:
            ok = check_cvs(state);
            break;
        case kFileDB3:
            ok = check_db3(state);
            break;
        case kFilePRE:
            ok = check_pre(state);
            break;
        default:
            break;
    }
    return finish_step(state, ok);
}

bool save_header(EngineState& state) {
    RunResources& run = state.run;
    const int in = open_first_input(state);
    if (in < 0) return finish_step(state, false);
    const std::size_t wanted = state.options.bypass_count;
    struct stat info;
    int code = 0;
    if (::fstat(in, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uint64_t>(info.st_size) < wanted) {
        code = rc::kInputTooShort;  // known before memory is taken for it
    } else {
        run.header_bytes.resize(wanted);
        const long got = read_full(in, run.header_bytes.data(), wanted);
        if (got < 0) {
            code = rc::kInputRead;
        } else if (static_cast<std::size_t>(got) < wanted) {
            code = rc::kInputTooShort;
        }
    }
    if (::close(in) != 0 && code == 0) code = rc::kInputClose;
    if (code != 0) return finish_step(state, fail(state, code));
    run.header_saved = true;
    return true;
}

bool fill_buffers(EngineState& state) {
    return finish_step(state, fill_buffers_impl(state));
}

}  // namespace sorvel
