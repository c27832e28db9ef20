#include "engine_state.h"

#include <unistd.h>

#include "write_behind.h"

namespace sorvel {

EngineState& engine_state() {
    static EngineState state;
    return state;
}

void reset_engine_state(EngineState& state, RunKind kind) {
    close_open_files(state);
    const std::uint32_t owner = state.owner_window;
    state = EngineState{};
    state.owner_window = owner;
    if (kind == RunKind::RecordAtATime) {
        state.options.file_type = kFileFIX;
        state.statements.raw_run = true;
    } else {
        state.statements.file_type[kFileTXT] = true;
    }
}

bool fail(EngineState& state, int code) {
    state.return_code = code;
    state.error = true;
    return false;
}

bool settle_output_writes(RunResources& run) {
    return !run.output_writer || run.output_writer->wait();
}

void release_run_memory(EngineState& state) {
    RunResources& run = state.run;
    run.output_writer.reset();  // waits for the write in flight
    run.output_spare.release();
    run.write_behind_allowed = false;
    // swap with empty containers so the memory really goes back
    std::vector<ByteWindow>().swap(run.input_buffers);
    std::vector<LargeBuffer<std::uint8_t>>().swap(run.input_memory);
    std::vector<std::size_t>().swap(run.input_used);
    run.refs.release();
    run.sort_keys.release();
    run.sort_scratch.release();
    run.output_buffer.release();
    std::vector<std::uint8_t>().swap(run.dup_buffer);
    run.ref_count = 0;
    run.output_used = 0;
    run.has_held = false;
}

void close_open_files(EngineState& state) {
    RunResources& run = state.run;
    settle_output_writes(run);  // nothing may still write to a descriptor we close
    if (run.input_fd >= 0) ::close(run.input_fd);
    if (run.output_fd >= 0 && run.output_fd != run.pending_output.fd) ::close(run.output_fd);
    // An output file not yet in place is thrown away: the target keeps what
    // it held before the run.
    discard_output(run.pending_output);
    for (int fd : run.work_fds) {
        if (fd >= 0) ::close(fd);
    }
    run.input_fd = -1;
    run.output_fd = -1;
    run.output_open = false;
    run.output_is_work_file = false;
    run.work_fds.clear();
}

}  // namespace sorvel
