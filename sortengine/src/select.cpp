// select_records: INCL keeps, OMIT drops, the records for which the postfix
// condition list is true. The kept records keep their order and the table
// shrinks to them.
#include <array>

#include "conditions.h"
#include "phases.h"

namespace sorvel {
namespace {

bool verdict(const EngineState& state, const RecordRef& ref) {
    std::array<bool, kMaxConditions> stack{};
    int depth = 0;
    for (int i = 0; i < state.tables.condition_count; ++i) {
        const Condition& c = state.tables.conditions[i];
        if (c.kind == kCondCompare) {
            stack[depth++] = evaluate_comparison(state, c, ref.data, ref.length);
        } else if (depth >= 2) {
            const bool right = stack[--depth];
            const bool left = stack[depth - 1];
            stack[depth - 1] = c.kind == kCondAnd ? (left && right) : (left || right);
        }
    }
    return depth > 0 && stack[depth - 1];
}

}  // namespace

bool select_records(EngineState& state) {
    RunResources& run = state.run;
    const bool omit = state.statements.has(kStmtOMIT);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < run.ref_count; ++i) {
        if (verdict(state, run.refs[i]) != omit) run.refs[kept++] = run.refs[i];
    }
    run.ref_count = kept;
    return true;
}

}  // namespace sorvel
