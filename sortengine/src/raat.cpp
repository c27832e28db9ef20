// The record-at-a-time session of s_1raat: start (1), release (2),
// return (3) and end (4). Every failure closes the session; the return code
// of a call that sets nothing stays what the previous call left.
#include "driver.h"
#include "parser.h"
#include "phases.h"
#include "return_codes.h"

namespace sorvel {

namespace {

// Closes the session after a failure or at its end. Work files already on
// disk stay where they are.
void close_session(EngineState& s) {
    release_run_memory(s);
    close_open_files(s);
    s.statements.raw_run = false;
    s.run.raat_phase = RaatPhase::Closed;
}

void start(EngineState& s, const void* data, std::uint32_t length) {
    reset_engine_state(s, RunKind::RecordAtATime);
    if (data != nullptr && length > 0) s.command.assign(static_cast<const char*>(data), length);
    raise_open_file_allowance();
    s.run.raat_phase = RaatPhase::Input;
    if (!parse_command(s) || !probe_work_files(s) || !plan_memory(s)) close_session(s);
}

void release(EngineState& s, const void* data, std::uint32_t length) {
    if (!s.statements.raw_run) {
        fail(s, rc::kRaatNotOpen);
        return;
    }
    if (s.run.raat_phase != RaatPhase::Input) {
        fail(s, rc::kRaatReleaseAfterReturn);
        close_session(s);
        return;
    }
    if (data == nullptr && length > 0) {
        fail(s, rc::kRaatNoBuffer);
        close_session(s);
        return;
    }
    if (!raat_release(s, static_cast<const std::uint8_t*>(data), length)) close_session(s);
}

void give_back(EngineState& s, void* data, std::uint32_t* length) {
    if (!s.statements.raw_run) {
        fail(s, rc::kRaatNotOpen);
        return;
    }
    if (s.run.raat_phase == RaatPhase::Ended) {
        *length = 0;
        fail(s, rc::kNoMoreRecords);
        return;
    }
    if (data == nullptr) {
        fail(s, rc::kRaatNoBuffer);
        close_session(s);
        return;
    }
    s.run.raat_phase = RaatPhase::Returning;
    switch (raat_return(s, static_cast<std::uint8_t*>(data), length)) {
        case RaatReturn::Record:
            break;
        case RaatReturn::End:
            // the session stays open: further calls report the end again
            s.run.raat_phase = RaatPhase::Ended;
            fail(s, rc::kNoMoreRecords);
            break;
        case RaatReturn::Failed:
            close_session(s);
            break;
    }
}

void end(EngineState& s) {
    if (!s.statements.raw_run) return;
    raat_discard(s);  // sets 312 when a work file stays behind
    close_session(s);
}

}  // namespace

void raat_operation(EngineState& s, std::int16_t operation, void* data, std::uint32_t* length) {
    std::uint32_t unused_length = 0;
    if (length == nullptr) length = &unused_length;
    switch (operation) {
        case 1:
            start(s, data, *length);
            break;
        case 2:
            release(s, data, *length);
            break;
        case 3:
            give_back(s, data, length);
            break;
        case 4:
            end(s);
            break;
        default:
            fail(s, rc::kRaatUnknownOperation);
            if (s.statements.raw_run) close_session(s);
            break;
    }
}

}  // namespace sorvel
