// plan_memory: cuts the memory budget of CORE into equal blocks.
//
// The starting block size is CORE / (HandleBudget + 10) kilobytes (CORE(0):
// the largest block). The plan then tries to allocate the output buffer, the
// RecordRef table and one input buffer per possible work file; when memory
// runs short it either settles for the buffers it got (when they are more
// than 0.6 of the handle budget, which then shrinks to match) or halves the
// block size and tries again, down to 1000 bytes.
//
// Every buffer gets room for a work-file record header beyond BlockSize, so
// that a record of BlockSize bytes can still be written to and read back from
// a work file whole.
#include "memory_plan.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "phases.h"
#include "return_codes.h"
#include "work_files.h"
#include "worker_threads.h"

namespace sorvel {
namespace {

std::size_t g_allocation_limit = std::numeric_limits<std::size_t>::max();

// Allocates `count` elements into `buffer` within the remaining allowance.
template <typename T>
bool allocate(LargeBuffer<T>& buffer, std::size_t count, std::size_t& allowance) {
    const std::size_t bytes = count * sizeof(T);
    if (bytes > allowance || !buffer.allocate(count)) return false;
    allowance -= bytes;
    return true;
}

bool allocate(std::vector<std::uint8_t>& buffer, std::size_t count, std::size_t& allowance) {
    if (count > allowance) return false;
    try {
        buffer.resize(count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    allowance -= count;
    return true;
}

void release_blocks(RunResources& run) {
    std::vector<ByteWindow>().swap(run.input_buffers);
    std::vector<LargeBuffer<std::uint8_t>>().swap(run.input_memory);
    std::vector<std::size_t>().swap(run.input_used);
    run.refs.release();
    run.output_buffer.release();
}

// All input buffers in one block: one mapping, and the pages of a small
// input stay together. The plan is the same as with separate buffers.
bool allocate_shared_block(RunResources& run, std::size_t stride, int count,
                           std::size_t& allowance) {
    LargeBuffer<std::uint8_t> block;
    if (!allocate(block, stride * static_cast<std::size_t>(count), allowance)) return false;
    for (int i = 0; i < count; ++i) {
        run.input_buffers.push_back({block.data() + stride * static_cast<std::size_t>(i), stride});
    }
    run.input_memory.push_back(std::move(block));
    return true;
}

enum class Attempt { kDone, kRetry };

Attempt try_block_size(RunResources& run, std::size_t size, std::size_t& allowance) {
    const std::size_t capacity = std::min(10 * size, kLargestBlock) / 16;
    const std::size_t stride = size + kWorkRecordHeader;
    if (!allocate(run.output_buffer, stride, allowance) ||
        !allocate(run.refs, capacity, allowance)) {
        release_blocks(run);
        return Attempt::kRetry;
    }
    const int wanted = run.handle_budget - 2;
    std::size_t shared_allowance = allowance;
    if (wanted > 0 && allocate_shared_block(run, stride, wanted, shared_allowance)) {
        allowance = shared_allowance;
    } else {
        // One buffer at a time, so that a plan short of memory can settle for
        // fewer buffers.
        for (int i = 0; i < wanted; ++i) {
            LargeBuffer<std::uint8_t> block;
            if (!allocate(block, stride, allowance)) {
                if (i > 0.6 * run.handle_budget) {
                    run.handle_budget = i + 1;
                    break;
                }
                release_blocks(run);
                return Attempt::kRetry;
            }
            run.input_buffers.push_back({block.data(), stride});
            run.input_memory.push_back(std::move(block));
        }
    }
    run.input_used.assign(run.input_buffers.size(), 0);
    run.block_size = size;
    run.ref_capacity = capacity;
    run.ref_count = 0;
    return Attempt::kDone;
}

// With a second core the output buffer may get a twin, so that one
// buffer-full is written on a helper thread while the next one fills. Beyond
// the plan and only from what the allowance has left: without it the run
// writes as on one core. The twin and the thread are set up only when the
// first buffer fills (see output_space), so a small output, the common case
// of a program sorting a few records, pays for neither.
void allow_write_behind(RunResources& run, std::size_t allowance) {
    run.write_behind_allowed =
        worker_count(1, 0) >= 2 && run.output_buffer.size() <= allowance;
}

}  // namespace

void set_plan_allocation_limit(std::size_t bytes) {
    g_allocation_limit = bytes;
}

bool plan_memory(EngineState& state) {
    RunResources& run = state.run;
    const std::size_t core = state.options.core_kb;
    std::size_t size = kLargestBlock;
    if (core != 0) {
        size = std::min<std::size_t>(core / static_cast<std::size_t>(run.handle_budget + 10) * 1024,
                                     kLargestBlock);
    }
    if (size < kSmallestBlock) return finish_step(state, fail(state, rc::kNoMemory));

    std::size_t allowance = g_allocation_limit;
    if (state.options.dup_processing &&
        !allocate(run.dup_buffer, state.options.dup_buffer_size, allowance)) {
        return finish_step(state, fail(state, rc::kNoMemory));
    }
    for (; size >= kSmallestBlock; size /= 2) {
        // What a failed attempt allocated is given back before the next one.
        std::size_t attempt_allowance = allowance;
        if (try_block_size(run, size, attempt_allowance) == Attempt::kDone) {
            allow_write_behind(run, attempt_allowance);
            return true;
        }
    }
    std::vector<std::uint8_t>().swap(run.dup_buffer);
    return finish_step(state, fail(state, rc::kNoMemory));
}

}  // namespace sorvel
