// The memory plan of a run: block size, input buffers, RecordRef table,
// output buffer and duplicate buffer.
#pragma once

#include <cstddef>

#include "engine_state.h"

namespace sorvel {

inline constexpr std::size_t kLargestBlock = 2092768;
inline constexpr std::size_t kSmallestBlock = 1000;

// Bytes a work-file record needs besides its data: length and SequenceNumber.
inline constexpr std::size_t kWorkRecordHeader = 8;

// For tests: lets plan_memory pretend that allocations beyond `bytes` in
// total fail. SIZE_MAX (the default) removes the limit.
void set_plan_allocation_limit(std::size_t bytes);

}  // namespace sorvel
