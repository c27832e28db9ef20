// The host hook: a windowed caller registers callbacks that keep its window
// alive during a long run and show the diskette message. The registration
// outlives runs; it is the only engine state that is not reset.
#include "host_hook.h"

#include <cstdio>

#include "sorvel32.h"

namespace sorvel {

namespace {
struct HostHook {
    sorvel_drain_fn drain = nullptr;
    sorvel_pause_fn pause = nullptr;
    void* context = nullptr;
};

HostHook& host_hook() {
    static HostHook hook;
    return hook;
}
}  // namespace

void drain_messages(const EngineState& state) {
    if (state.statements.has(kStmtNOYI)) return;
    const HostHook& hook = host_hook();
    if (hook.drain != nullptr) hook.drain(hook.context);
}

void show_pause_message(const EngineState& state) {
    const HostHook& hook = host_hook();
    if (hook.pause != nullptr) {
        hook.pause(hook.context, state.owner_window, kPauseText, kPauseTitle);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", kPauseTitle, kPauseText);
}

}  // namespace sorvel

extern "C" SORVEL_API void s_sethost(sorvel_drain_fn drain, sorvel_pause_fn pause, void* context) {
    sorvel::HostHook& hook = sorvel::host_hook();
    hook.drain = drain;
    hook.pause = pause;
    hook.context = context;
}
