#include "worker_threads.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

namespace sorvel {
namespace {

constexpr unsigned kMaxWorkers = 8;
std::atomic<unsigned> g_forced_workers{0};

unsigned available_cores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        if (count > 0) return static_cast<unsigned>(count);
    }
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware > 0 ? hardware : 1;
}

}  // namespace

unsigned worker_count(std::size_t items, std::size_t threshold) {
    const unsigned forced = g_forced_workers.load(std::memory_order_relaxed);
    if (forced != 0) return std::min(forced, kMaxWorkers);
    if (items < threshold) return 1;
    static const unsigned cores = available_cores();
    return std::min(cores, kMaxWorkers);
}

void set_worker_count_for_tests(unsigned threads) {
    g_forced_workers.store(threads, std::memory_order_relaxed);
}

namespace worker_detail {

void run(unsigned threads, void (*call)(void*, unsigned), void* context) {
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(call, context, t);
        } catch (const std::exception&) {
            break;  // the caller and the helpers already running share the work
        }
    }
    call(context, 0);
    for (std::thread& helper : helpers) helper.join();
}

}  // namespace worker_detail
}  // namespace sorvel
