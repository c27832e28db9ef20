// The merge of work files: each participating work file is read block by
// block into its input buffer; the files are kept in order of their head
// records, and after a head is taken its file is advanced and put back into
// the order by binary search, so each record costs one re-insertion.
//
// Work-file record format: length (32-bit little-endian, data bytes only),
// SequenceNumber (32-bit little-endian), data. A record is never split
// across two reads: a block that ends inside a record is cut there, and the
// next block is read from the start of that record.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <vector>

#include "engine_state.h"
#include "key_order.h"

namespace sorvel {

struct MergeSource {
    int fd = -1;
    int file = 0;  // work file number
    std::uint8_t* buffer = nullptr;
    std::size_t capacity = 0;  // bytes one read may bring into the buffer
    // The file is read by position, not through the descriptor's offset, so
    // that two threads can merge separate parts of it: `position` is where
    // the next block starts, `end` where this merge's part of the file ends.
    off_t position = 0;
    off_t end = 0;
    std::size_t bytes = 0;  // bytes of the current block
    std::size_t head = 0;   // offset of the head record
    bool last_block = false;
    RecordRef record;  // the head record
    // The first chunk of the head's encoded keys (key_order.h), when it has one.
    std::uint64_t key = 0;
    bool has_key = false;
};

struct MergeState {
    int first = 0;
    int last = 0;
    std::vector<MergeSource> sources;
    std::vector<int> order;        // indices into sources, by head record
    bool advance_pending = false;  // s_1raat: the head handed over is advanced later
    KeyChunks chunks;              // the encoded keys, when they have that form
    // A merge on a helper thread (split_merge.h) keeps its failure here for
    // the caller to report, and leaves the host hook alone.
    bool helper_thread = false;
    int error = 0;
};

// Starts reading work files first..last and reads their first blocks (229,
// 313, 246).
bool merge_open(EngineState& state, MergeState& merge, int first, int last);

// Part of one file for merge_open_parts: bytes [start, end) of work file
// `file`, read through `buffer` in blocks of at most `capacity` bytes.
struct MergePart {
    int file = 0;
    std::uint8_t* buffer = nullptr;
    std::size_t capacity = 0;
    off_t start = 0;
    off_t end = 0;
};

// Starts a merge of the given parts of work files (which must start and end
// at record boundaries) and reads their first blocks.
bool merge_open_parts(EngineState& state, MergeState& merge, const std::vector<MergePart>& parts);

// The smallest head record, or null when all files are exhausted.
const RecordRef* merge_peek(const MergeState& merge);

// Moves past the record merge_peek returned (313, 314, 246, 322).
bool merge_advance(EngineState& state, MergeState& merge);

// Closes, and so deletes, the work files of the merge (311).
bool merge_close(EngineState& state, MergeState& merge);

// Forgets a merge that failed, leaving the code alone; its work files stay
// open until the failure clean-up closes them.
void merge_discard(MergeState& merge);

}  // namespace sorvel
