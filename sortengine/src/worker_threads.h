// Threads inside one run, for work that splits into independent pieces (the
// key array of the in-memory sort and its buckets).
//
// The calling thread always takes part and the helpers only take pieces from
// the same shared counter, so a helper that cannot be started costs nothing
// but speed: the caller then does every piece itself, with the same result.
// Only plain computation runs on helpers; the host hook, messages and every
// file operation stay on the caller's thread.
#pragma once

#include <cstddef>
#include <type_traits>

namespace sorvel {

// Threads worth using for `items` pieces of work: the cores this process may
// run on (at most 8), 1 for small jobs (fewer than `threshold` items).
unsigned worker_count(std::size_t items, std::size_t threshold);

// Makes worker_count answer `threads` for every job, small ones included, as
// if the process had that many cores and every job were big; 0 goes back to
// the cores it has. For tests, which must see the one-thread and the
// several-thread paths give the same result on any machine and with inputs
// small enough to check.
void set_worker_count_for_tests(unsigned threads);

// Calls work(worker) on the caller's thread (worker 0) and on up to
// threads - 1 helper threads, and waits for all of them.
template <typename Work>
void run_workers(unsigned threads, Work&& work);

namespace worker_detail {
void run(unsigned threads, void (*call)(void*, unsigned), void* context);
}

template <typename Work>
void run_workers(unsigned threads, Work&& work) {
    worker_detail::run(
        threads,
        [](void* context, unsigned worker) {
            (*static_cast<std::remove_reference_t<Work>*>(context))(worker);
        },
        static_cast<void*>(&work));
}

}  // namespace sorvel
