// libFuzzer target for the statement parser and the comparisons it sets up.
// Not part of the test suite (the .cc suffix keeps it out of engine_tests);
// `make fuzz-smoke` builds it with the record-reader targets (CMakeLists.txt
// here) and runs it briefly on seeds/parse.
//
// Each input is split at its first byte 0xFF: the part before it is the
// command, the part after it a record that every parsed key and condition is
// applied to.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "compare.h"
#include "conditions.h"
#include "engine_state.h"
#include "parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;  // long inputs only repeat what short ones cover
    const auto* split = static_cast<const std::uint8_t*>(std::memchr(data, 0xFF, size));
    const std::size_t command_length = split ? static_cast<std::size_t>(split - data) : size;
    static sorvel::EngineState state;
    sorvel::reset_engine_state(state,
                               (size & 1) ? sorvel::RunKind::File : sorvel::RunKind::RecordAtATime);
    // no ALTS table files: keep the fuzzer away from the file system
    std::string command(reinterpret_cast<const char*>(data), command_length);
    for (std::size_t p = 0; p + 1 < command.size(); ++p) {
        if ((command[p] | 0x20) == 'a' && (command[p + 1] | 0x20) == 'l') command[p] = 'X';
    }
    state.command = command;
    if (!sorvel::parse_command(state) || !split) return 0;

    // the record is copied so that the sanitizer sees its exact bounds
    const std::size_t record_length = size - command_length - 1;
    std::string record(reinterpret_cast<const char*>(split + 1), record_length);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(record.data());
    sorvel::compare_records(state, bytes, record.size(), 1, bytes, record.size() / 2, 2);
    for (int i = 0; i < state.tables.condition_count; ++i) {
        if (state.tables.conditions[i].kind == sorvel::kCondCompare) {
            sorvel::evaluate_comparison(state, state.tables.conditions[i], bytes, record.size());
        }
    }
    return 0;
}
