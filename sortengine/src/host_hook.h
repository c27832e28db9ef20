// The engine's side of the host hook: message draining between the long
// steps of a run, and the diskette message of PAUS.
#pragma once

#include "engine_state.h"

namespace sorvel {

// Lets the host process its pending window messages, unless the command has
// NOYI. Without a registered host it does nothing. Never waits.
void drain_messages(const EngineState& state);

// Shows "Ready to create output file.\n\rChange diskettes and press OK" with
// the title "Zorvik Sort", owned by state.owner_window. Without a host the
// message goes to stderr. The answer is not used.
void show_pause_message(const EngineState& state);

// The texts of the diskette message.
inline constexpr const char* kPauseText =
    "Ready to create output file.\n\rChange diskettes and press OK";
inline constexpr const char* kPauseTitle = "Zorvik Sort";

}  // namespace sorvel
