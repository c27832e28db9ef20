// Most significant byte first radix sort of the key array. Each level
// distributes a range by one byte of the current chunk; a range whose eight
// bytes are all equal moves on to the key's next chunk, and once the key has
// no more chunks compare_records orders what is left. Small ranges are
// finished by a comparison sort with the same rule (current chunk, the key
// bytes after it, then compare_records), which is exact because all entries
// of a range share every chunk before the current one. The comparison sorts
// are merge sorts, which never leave their range whatever a comparison says.
#include "key_sort.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "compare.h"
#include "key_order.h"

namespace sorvel {
namespace {

// Below these sizes a range is not worth a distribution over 256 buckets.
constexpr std::size_t kRadixLimit = 256;
constexpr std::size_t kInsertionLimit = 16;

class KeySorter {
  public:
    KeySorter(const EngineState& state, const KeyChunks& chunks, SortKeyEntry* keys,
              SortKeyEntry* scratch, const RecordRef* refs)
        : state_(state), chunks_(chunks), keys_(keys), scratch_(scratch), refs_(refs) {}

    void sort(std::size_t lo, std::size_t hi, int shift, unsigned depth) {
        while (hi - lo > kRadixLimit) {
            if (shift < 0) {
                if (depth + 1 >= chunks_.depth_count()) return by_records(lo, hi);
                ++depth;
                shift = 56;
                if (!reload(lo, hi, depth)) return by_records(lo, hi);
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
                    if (to - from > 1) sort(from, to, shift - 8, depth);
                }
                return;
            }
            shift -= 8;
        }
        small_sort(lo, hi, depth);
    }

  private:
    bool reload(std::size_t lo, std::size_t hi, unsigned depth) {
        for (std::size_t i = lo; i < hi; ++i) {
            const RecordRef& ref = refs_[keys_[i].index];
            if (!chunks_.chunk(ref.data, ref.length, depth, keys_[i].key)) return false;
        }
        return true;
    }

    bool record_less(const SortKeyEntry& a, const SortKeyEntry& b) const {
        return compare_records(state_, refs_[a.index], refs_[b.index]) < 0;
    }

    // a before b, for entries that share every chunk before `depth` and
    // hold chunk `depth` in their keys.
    bool less(const SortKeyEntry& a, const SortKeyEntry& b, unsigned depth) const {
        if (a.key != b.key) return a.key < b.key;
        const RecordRef& x = refs_[a.index];
        const RecordRef& y = refs_[b.index];
        const int r = chunks_.compare_from(x.data, x.length, y.data, y.length, depth + 1);
        if (r != 0) return r < 0;
        return compare_records(state_, x, y) < 0;
    }

    void by_records(std::size_t lo, std::size_t hi) {
        merge_sort(lo, hi, [this](const SortKeyEntry& a, const SortKeyEntry& b) {
            return record_less(a, b);
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
};

// Puts the table into the order of the key array, following the cycles of
// the permutation so that no second table is needed.
void apply_order(RecordRef* refs, SortKeyEntry* keys, std::size_t count) {
    for (std::size_t j = 0; j < count; ++j) {
        if (keys[j].index == j) continue;
        const RecordRef first = refs[j];
        std::size_t k = j;
        for (;;) {
            const std::size_t from = keys[k].index;
            keys[k].index = static_cast<std::uint32_t>(k);
            if (from == j) {
                refs[k] = first;
                break;
            }
            refs[k] = refs[from];
            k = from;
        }
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

}  // namespace

bool sort_by_key_chunks(EngineState& state) {
    RunResources& run = state.run;
    const KeyChunks chunks(state);
    if (!chunks.usable()) return false;
    if (run.ref_count < 2) return true;
    if (!ensure_key_arrays(run)) return false;
    SortKeyEntry* keys = run.sort_keys.data();
    for (std::size_t i = 0; i < run.ref_count; ++i) {
        const RecordRef& ref = run.refs[i];
        if (!chunks.chunk(ref.data, ref.length, 0, keys[i].key)) return false;
        keys[i].index = static_cast<std::uint32_t>(i);
    }
    KeySorter sorter(state, chunks, keys, run.sort_scratch.data(), run.refs.data());
    sorter.sort(0, run.ref_count, 56, 0);
    apply_order(run.refs.data(), keys, run.ref_count);
    return true;
}

}  // namespace sorvel
