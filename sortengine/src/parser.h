// The statement parser: reads the command text of a run into the
// EngineState (statement flags, options, statement tables) and runs the final
// checks. The first error stops parsing with its code; no file is created or
// changed (the ALTS table file is only read).
#pragma once

#include "engine_state.h"

namespace sorvel {

// Parses state.command on a freshly reset state. False: state.return_code is
// set.
bool parse_command(EngineState& state);

}  // namespace sorvel
