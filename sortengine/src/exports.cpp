// The exported entry points. They copy the caller's texts, run the driver on
// the process-wide state, and write the results back through the caller's
// pointers, also after a failure. Nothing throws across this boundary: an
// allocation failure anywhere becomes "not enough memory" (225).
#include <atomic>
#include <cstring>
#include <new>
#include <string_view>

#include "driver.h"
#include "return_codes.h"
#include "safe_file.h"
#include "sorvel32.h"

namespace sorvel {

namespace {

// Set while a call works on the state, so that a call made from the host's
// message callback, or from another thread, cannot reset a run under its
// feet. Taking it is one compare-exchange, so of two threads calling at
// once exactly one runs and the other is refused.
std::atomic<bool> g_busy{false};

bool claim_state() {
    bool expected = false;
    return g_busy.compare_exchange_strong(expected, true, std::memory_order_acquire);
}

void release_state() {
    g_busy.store(false, std::memory_order_release);
}

std::string_view zero_terminated(const char* text) {
    return text == nullptr ? std::string_view() : std::string_view(text, std::strlen(text));
}

std::string_view counted(const char* text, std::int32_t length) {
    if (text == nullptr || length <= 0) return {};
    return {text, static_cast<std::size_t>(length)};
}

void report(const EngineState& state, std::uint32_t* records_written, std::int32_t* return_code) {
    if (records_written != nullptr) *records_written = state.records_written;
    if (return_code != nullptr) *return_code = state.return_code;
}

// A refused nested call must not touch the running state's results.
void report_refused(std::uint32_t* records_written, std::int32_t* return_code) {
    if (records_written != nullptr) *records_written = 0;
    if (return_code != nullptr) *return_code = rc::kRunInProgress;
}

// Runs body on the process-wide state and reports its results, all while
// the state is claimed; a call that cannot claim it is refused with 343 and
// touches nothing.
template <typename Body>
void guarded(std::uint32_t* records_written, std::int32_t* return_code, Body body) {
    if (!claim_state()) {
        report_refused(records_written, return_code);
        return;
    }
    EngineState& state = engine_state();
    try {
        body(state);
    } catch (...) {
        // std::bad_alloc, std::length_error: the only exceptions the engine
        // can meet are out-of-memory conditions of the standard library
        fail(state, rc::kNoMemory);
        release_run_memory(state);
        close_open_files(state);
        state.statements.raw_run = false;
        state.run.raat_phase = RaatPhase::Closed;
    }
    report(state, records_written, return_code);
    release_state();
}

}  // namespace

}  // namespace sorvel

extern "C" SORVEL_API void s_1mains(const char* input_list, const char* output_name,
                                    const char* command, uint32_t* records_written,
                                    int32_t* return_code) {
    sorvel::guarded(records_written, return_code, [&](sorvel::EngineState& state) {
        sorvel::run_sort(state, sorvel::zero_terminated(input_list),
                         sorvel::zero_terminated(output_name), sorvel::zero_terminated(command));
    });
}

extern "C" SORVEL_API void s_2mains(uint32_t owner_window, const char* input_list,
                                    int32_t input_length, const char* output_name,
                                    int32_t output_length, const char* command,
                                    int32_t command_length, uint32_t* records_written,
                                    int32_t* return_code) {
    sorvel::guarded(records_written, return_code, [&](sorvel::EngineState& state) {
        state.owner_window = owner_window;
        sorvel::run_sort(state, sorvel::counted(input_list, input_length),
                         sorvel::counted(output_name, output_length),
                         sorvel::counted(command, command_length));
    });
}

extern "C" SORVEL_API void s_1raat(int16_t operation, void* data, uint32_t* length,
                                   int32_t* return_code) {
    sorvel::guarded(nullptr, return_code, [&](sorvel::EngineState& state) {
        sorvel::raat_operation(state, operation, data, length);
    });
}

extern "C" SORVEL_API void s_sigclean(void) {
    sorvel::discard_output_on_signal();
}
