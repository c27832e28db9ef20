// The in-memory sort through the key array: the RecordRef table ordered by
// the first key's byte-comparable chunks (key_order.h), with compare_records
// deciding only between records whose chunks are all equal.
#pragma once

#include "engine_state.h"

namespace sorvel {

// Orders run.refs[0, run.ref_count) exactly as compare_records does. False
// (the table untouched) when the first key has no byte-comparable form, a
// record has no exact chunk, or the key array cannot be allocated; the caller
// then sorts with compare_records alone.
bool sort_by_key_chunks(EngineState& state);

}  // namespace sorvel
