// Which forbidden pair of statements a command holds.
#pragma once

#include <array>

#include "conflict_matrix.h"
#include "engine_state.h"

namespace sorvel {

// Which conflict items the statement set holds.
std::array<bool, kConflictItems> conflict_items_present(const StatementSet& statements);

// The first forbidden pair j < k in order, as its code, or 0 when none.
int first_conflict_code(const StatementSet& statements);

}  // namespace sorvel
