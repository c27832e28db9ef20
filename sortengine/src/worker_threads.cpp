#include "worker_threads.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <thread>

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

namespace {

struct Job {
    void (*call)(void*, unsigned);
    void* context;
    unsigned worker;
};

void* start_job(void* argument) {
    const Job* job = static_cast<const Job*>(argument);
    job->call(job->context, job->worker);
    return nullptr;
}

}  // namespace

void run(unsigned threads, void (*call)(void*, unsigned), void* context) {
    // POSIX threads rather than std::thread: starting one makes no object with
    // a virtual table, which the undefined-behaviour checker could not verify
    // in a run that holds every file descriptor it may open.
    Job jobs[kMaxWorkers];
    pthread_t helpers[kMaxWorkers];
    unsigned started = 0;
    for (unsigned t = 1; t < threads && t < kMaxWorkers; ++t) {
        jobs[t] = Job{call, context, t};
        if (::pthread_create(&helpers[started], nullptr, start_job, &jobs[t]) != 0) {
            break;  // the caller and the helpers already running share the work
        }
        ++started;
    }
    call(context, 0);
    for (unsigned i = 0; i < started; ++i) ::pthread_join(helpers[i], nullptr);
}

}  // namespace worker_detail
}  // namespace sorvel
