// Placeholders for the run steps that are not built yet. Each one fails with
// "not enough memory" (225) so that a run stops cleanly and visibly; a step
// is removed from here when its real definition lands in its own file.
#include "phases.h"
#include "return_codes.h"

namespace sorvel {

namespace {
bool pending(EngineState& state) {
    return fail(state, rc::kNoMemory);
}
}  // namespace

bool probe_work_files(EngineState& state) {
    return pending(state);
}
bool plan_memory(EngineState& state) {
    return pending(state);
}
bool check_header(EngineState& state) {
    return pending(state);
}
bool save_header(EngineState& state) {
    return pending(state);
}
bool fill_buffers(EngineState& state) {
    return pending(state);
}
bool select_records(EngineState& state) {
    return pending(state);
}
void sort_in_memory(EngineState&) {}
Destination choose_destination(EngineState&) {
    return Destination::Nothing;
}
bool write_records(EngineState& state, Destination) {
    return pending(state);
}
bool intermediate_merge(EngineState& state) {
    return pending(state);
}
bool final_merge(EngineState& state) {
    return pending(state);
}
bool raat_release(EngineState& state, const std::uint8_t*, std::uint32_t) {
    return pending(state);
}
RaatReturn raat_return(EngineState& state, std::uint8_t*, std::uint32_t*) {
    pending(state);
    return RaatReturn::Failed;
}
bool raat_discard(EngineState& state) {
    return pending(state);
}

}  // namespace sorvel
