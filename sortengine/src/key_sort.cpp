// Most significant byte first radix sort of the key array. Each level
// distributes a range by one byte of the current chunk of the encoded keys
// (key_order.h); a range whose eight bytes are all equal moves on to the next
// chunk. Small ranges are finished by a comparison sort with the same rule
// (current chunk, the encoded bytes after it, then the tie rule), which is
// exact because all entries of a range share every chunk before the current
// one. The comparison sorts are merge sorts, which never leave their range
// whatever a comparison says.
//
// Tie rule: when every key is encoded, entries with equal encodings are
// ordered by their place in the table, which is input order; the
// distribution is stable, so a range that runs out of chunks is already in
// that order. Otherwise compare_records decides.
//
// Input already in order (or in strictly reverse order) is recognised in one
// pass over the key array and not sorted at all. Large tables build their
// keys and sort their first-level buckets on several threads; each bucket is
// a disjoint part of the arrays, so the result is the same as on one.
#include "key_sort.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <vector>

#include "compare.h"
#include "key_order.h"
#include "worker_threads.h"

namespace sorvel {
namespace {

// Below these sizes a range is not worth a distribution over 256 buckets.
constexpr std::size_t kRadixLimit = 256;
constexpr std::size_t kInsertionLimit = 16;
// Tables smaller than this are sorted on the caller's thread alone.
constexpr std::size_t kThreadThreshold = 50000;
constexpr std::size_t kKeyBlock = 8192;

struct Range {
    std::size_t lo;
    std::size_t hi;
    int shift;
    unsigned depth;
};

class KeySorter {
  public:
    KeySorter(const EngineState& state, const KeyChunks& chunks, SortKeyEntry* keys,
              SortKeyEntry* scratch, const RecordRef* refs, bool ties_by_index)
        : state_(state),
          chunks_(chunks),
          keys_(keys),
          scratch_(scratch),
          refs_(refs),
          ties_by_index_(ties_by_index) {}

    // Sorts [lo, hi). With `deferred`, the buckets of the first distribution
    // are not sorted but handed back, for the caller to share out.
    void sort(std::size_t lo, std::size_t hi, int shift, unsigned depth,
              std::vector<Range>* deferred = nullptr) {
        while (hi - lo > kRadixLimit) {
            if (shift < 0) {
                if (depth + 1 >= chunks_.depth_count()) {
                    if (ties_by_index_) return;  // equal keys, already in input order
                    return by_records(lo, hi);
                }
                ++depth;
                shift = 56;
                reload(lo, hi, depth);
                continue;
            }
            std::array<std::size_t, 257> start{};
            for (std::size_t i = lo; i < hi; ++i) ++start[((keys_[i].key >> shift) & 0xFF) + 1];
            // One bucket holding everything: go straight to the next byte.
            bool single = false;
            for (std::size_t b = 1; b <= 256; ++b) {
                if (start[b] == hi - lo) {
                    single = true;
                    break;
                }
                if (start[b] != 0) break;
            }
            if (!single) {
                for (std::size_t b = 1; b <= 256; ++b) start[b] += start[b - 1];
                std::array<std::size_t, 256> next;
                std::copy_n(start.begin(), 256, next.begin());
                for (std::size_t i = lo; i < hi; ++i) {
                    scratch_[lo + next[(keys_[i].key >> shift) & 0xFF]++] = keys_[i];
                }
                std::memcpy(keys_ + lo, scratch_ + lo, (hi - lo) * sizeof(SortKeyEntry));
                for (std::size_t b = 0; b < 256; ++b) {
                    const std::size_t from = lo + start[b];
                    const std::size_t to = lo + start[b + 1];
                    if (to - from < 2) continue;
                    if (deferred != nullptr) {
                        deferred->push_back({from, to, shift - 8, depth});
                    } else {
                        sort(from, to, shift - 8, depth);
                    }
                }
                return;
            }
            shift -= 8;
        }
        small_sort(lo, hi, depth);
    }

    // a before b, for entries that share every chunk before `depth` and
    // hold chunk `depth` in their keys.
    bool less(const SortKeyEntry& a, const SortKeyEntry& b, unsigned depth) const {
        if (a.key != b.key) return a.key < b.key;
        const RecordRef& x = refs_[a.index];
        const RecordRef& y = refs_[b.index];
        const int r = chunks_.compare_from(x.data, x.length, y.data, y.length, depth + 1);
        if (r != 0) return r < 0;
        if (ties_by_index_) return a.index < b.index;
        return compare_records(state_, x, y) < 0;
    }

  private:
    void reload(std::size_t lo, std::size_t hi, unsigned depth) {
        // Every record of the table had an exact encoding at depth 0.
        for (std::size_t i = lo; i < hi; ++i) {
            const RecordRef& ref = refs_[keys_[i].index];
            chunks_.chunk(ref.data, ref.length, depth, keys_[i].key);
        }
    }

    void by_records(std::size_t lo, std::size_t hi) {
        merge_sort(lo, hi, [this](const SortKeyEntry& a, const SortKeyEntry& b) {
            return compare_records(state_, refs_[a.index], refs_[b.index]) < 0;
        });
    }

    // Entries of [lo, hi) share all chunks before `depth`; their keys hold
    // chunk `depth`.
    void small_sort(std::size_t lo, std::size_t hi, unsigned depth) {
        merge_sort(lo, hi, [this, depth](const SortKeyEntry& a, const SortKeyEntry& b) {
            return less(a, b, depth);
        });
    }

    // Insertion sort of short blocks, then merges of doubling width between
    // the key array and the scratch array. It never reads outside [lo, hi),
    // whatever the comparisons answer, and needs no memory of its own.
    template <typename Less>
    void merge_sort(std::size_t lo, std::size_t hi, Less less_than) {
        for (std::size_t block = lo; block < hi; block += kInsertionLimit) {
            const std::size_t end = std::min(hi, block + kInsertionLimit);
            for (std::size_t i = block + 1; i < end; ++i) {
                const SortKeyEntry moving = keys_[i];
                std::size_t j = i;
                while (j > block && less_than(moving, keys_[j - 1])) {
                    keys_[j] = keys_[j - 1];
                    --j;
                }
                keys_[j] = moving;
            }
        }
        SortKeyEntry* from = keys_;
        SortKeyEntry* to = scratch_;
        for (std::size_t width = kInsertionLimit; width < hi - lo; width *= 2) {
            for (std::size_t left = lo; left < hi; left += 2 * width) {
                const std::size_t mid = std::min(hi, left + width);
                const std::size_t end = std::min(hi, left + 2 * width);
                std::size_t i = left;
                std::size_t j = mid;
                std::size_t out = left;
                while (i < mid && j < end)
                    to[out++] = less_than(from[j], from[i]) ? from[j++] : from[i++];
                while (i < mid) to[out++] = from[i++];
                while (j < end) to[out++] = from[j++];
            }
            std::swap(from, to);
        }
        if (from != keys_) std::memcpy(keys_ + lo, from + lo, (hi - lo) * sizeof(SortKeyEntry));
    }

    const EngineState& state_;
    const KeyChunks& chunks_;
    SortKeyEntry* keys_;
    SortKeyEntry* scratch_;
    const RecordRef* refs_;
    const bool ties_by_index_;
};

// Puts the table into the order of the key array. The entries are gathered
// into the scratch array first (the reads are independent of each other, so
// the memory system overlaps them, where following the cycles of the
// permutation waits for one miss after the other), then copied back in one
// sequential pass. Every entry of a table being sorted is present (selection
// has removed the others).
void apply_order(RecordRef* refs, const SortKeyEntry* keys, SortKeyEntry* scratch,
                 std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const RecordRef& ref = refs[keys[i].index];
        scratch[i] = {reinterpret_cast<std::uintptr_t>(ref.data), ref.length, ref.sequence};
    }
    for (std::size_t i = 0; i < count; ++i) {
        refs[i] = {reinterpret_cast<const std::uint8_t*>(scratch[i].key), scratch[i].index,
                   scratch[i].extra, 1};
    }
}

bool ensure_key_arrays(RunResources& run) {
    if (run.sort_keys.size() >= run.ref_count && run.sort_scratch.size() >= run.ref_count) {
        return true;
    }
    const std::size_t capacity = std::max(run.ref_capacity, run.ref_count);
    if (run.sort_keys.allocate(capacity) && run.sort_scratch.allocate(capacity)) return true;
    run.sort_keys.release();
    run.sort_scratch.release();
    return false;
}

// Fills the key array with the first chunk of every record. False when a
// record has no exact encoding.
bool build_keys(const KeyChunks& chunks, const RecordRef* refs, SortKeyEntry* keys,
                std::size_t count, unsigned threads) {
    std::atomic<std::size_t> next_block{0};
    std::atomic<bool> inexact{false};
    run_workers(threads, [&](unsigned) {
        for (;;) {
            const std::size_t lo = next_block.fetch_add(kKeyBlock) ;
            if (lo >= count || inexact.load(std::memory_order_relaxed)) return;
            const std::size_t hi = std::min(count, lo + kKeyBlock);
            for (std::size_t i = lo; i < hi; ++i) {
                if (!chunks.chunk(refs[i].data, refs[i].length, 0, keys[i].key)) {
                    inexact = true;
                    return;
                }
                keys[i].index = static_cast<std::uint32_t>(i);
            }
        }
    });
    return !inexact;
}

bool sequences_increase(const RecordRef* refs, std::size_t count) {
    for (std::size_t i = 1; i < count; ++i) {
        if (refs[i].sequence <= refs[i - 1].sequence) return false;
    }
    return true;
}

enum class Presorted { kNo, kAscending, kDescending };

// One pass over the key array: already in order, or in strictly reverse
// order (no equal keys, which would have to keep their input order).
Presorted presorted(const KeySorter& sorter, const SortKeyEntry* keys, std::size_t count) {
    bool ascending = true;
    bool descending = true;
    for (std::size_t i = 1; i < count && (ascending || descending); ++i) {
        if (sorter.less(keys[i], keys[i - 1], 0)) {
            ascending = false;
        } else {
            descending = false;
        }
    }
    if (ascending) return Presorted::kAscending;
    return descending ? Presorted::kDescending : Presorted::kNo;
}

void sort_in_parallel(KeySorter& sorter, std::size_t count, unsigned threads) {
    std::vector<Range> buckets;
    try {
        buckets.reserve(256);
    } catch (const std::exception&) {
        return sorter.sort(0, count, 56, 0);
    }
    sorter.sort(0, count, 56, 0, &buckets);
    if (buckets.empty()) return;
    // The biggest buckets first, so that the threads finish together.
    std::sort(buckets.begin(), buckets.end(),
              [](const Range& a, const Range& b) { return a.hi - a.lo > b.hi - b.lo; });
    std::atomic<std::size_t> next{0};
    run_workers(threads, [&](unsigned) {
        for (std::size_t i = next++; i < buckets.size(); i = next++) {
            const Range& r = buckets[i];
            sorter.sort(r.lo, r.hi, r.shift, r.depth);
        }
    });
}

}  // namespace

bool sort_by_key_chunks(EngineState& state) {
    RunResources& run = state.run;
    const KeyChunks chunks(state);
    if (!chunks.usable()) return false;
    const std::size_t count = run.ref_count;
    if (count < 2) return true;
    if (!ensure_key_arrays(run)) return false;
    SortKeyEntry* keys = run.sort_keys.data();
    const unsigned threads = worker_count(count, kThreadThreshold);
    if (!build_keys(chunks, run.refs.data(), keys, count, threads)) return false;
    const bool ties_by_index = chunks.complete() && sequences_increase(run.refs.data(), count);
    KeySorter sorter(state, chunks, keys, run.sort_scratch.data(), run.refs.data(), ties_by_index);
    switch (presorted(sorter, keys, count)) {
        case Presorted::kAscending:
            return true;
        case Presorted::kDescending:
            std::reverse(run.refs.data(), run.refs.data() + count);
            return true;
        case Presorted::kNo:
            break;
    }
    if (threads > 1) {
        sort_in_parallel(sorter, count, threads);
    } else {
        sorter.sort(0, count, 56, 0);
    }
    apply_order(run.refs.data(), keys, run.sort_scratch.data(), count);
    return true;
}

}  // namespace sorvel
