// Helpers shared by the parser tests: parse a command on a fresh state.
#pragma once

#include <string>

#include "engine_state.h"
#include "parser.h"

namespace sorvel::test {

struct Parsed {
    EngineState state;
    bool ok = false;
    int code = 0;
};

inline Parsed parse(const std::string& command, RunKind kind = RunKind::File) {
    Parsed p;
    reset_engine_state(p.state, kind);
    p.state.command = command;
    p.ok = parse_command(p.state);
    p.code = p.state.return_code;
    return p;
}

}  // namespace sorvel::test
