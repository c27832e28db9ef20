// Runs that go wrong the way a user meets it (a full disk, a killed process,
// an input changed under the run, links planted in a shared work folder)
// lose nothing: the previous output is untouched, no file of the run is left
// behind, and the failure is reported with nothing counted as written.
//
// Each run happens in a child process, so that it may be killed, limited in
// file size, or watched through the host's drain callback, which the engine
// calls between its steps.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <ctime>
#include <functional>
#include <random>
#include <set>

#include "engine_state.h"
#include "test_e2e_support.h"

namespace {

using namespace sorvel_test;

constexpr int kRecords = 100000;  // 11-byte records: 1.1 MB

struct Outcome {
    bool killed = false;
    std::int32_t code = -1;
    std::uint32_t count = 0;
};

// What a drain callback does once its condition holds.
struct Trigger {
    std::function<bool(const sorvel::EngineState&)> when;
    std::function<void()> action;
    bool done = false;
};

void on_drain(void* context) {
    auto* trigger = static_cast<Trigger*>(context);
    if (trigger->done || !trigger->when(sorvel::engine_state())) return;
    trigger->done = true;
    trigger->action();
}

// Runs the engine in a child with at most `file_limit` bytes per file (0: no
// limit) and `trigger` on the drain callback.
Outcome run_child(const std::string& input, const std::string& output,
                  const std::string& command, long file_limit, Trigger* trigger) {
    int result_pipe[2];
    if (::pipe(result_pipe) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(result_pipe[0]);
        if (file_limit > 0) {
            // a full disk: writes past the limit fail with EFBIG
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit {};
            limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(file_limit);
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (trigger) s_sethost(on_drain, nullptr, trigger);
        Outcome out;
        s_1mains(input.c_str(), output.c_str(), command.c_str(), &out.count, &out.code);
        (void)!::write(result_pipe[1], &out, sizeof out);
        ::_exit(0);
    }
    ::close(result_pipe[1]);
    Outcome out;
    const bool reported = ::read(result_pipe[0], &out, sizeof out) == sizeof out;
    ::close(result_pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    out.killed = !reported && WIFSIGNALED(status);
    return out;
}

Bytes random_records(unsigned seed) {
    std::mt19937 gen(seed);
    Bytes data;
    for (int i = 0; i < kRecords; ++i) {
        char record[16];
        std::snprintf(record, sizeof record, "%09u\r\n", static_cast<unsigned>(gen() % 1000000000));
        data += record;
    }
    return data;
}

// An old modification time, so that any change during the run shows.
void age(const std::string& name) {
    const timespec times[2] = {{946684800, 0}, {946684800, 0}};
    ::utimensat(AT_FDCWD, name.c_str(), times, 0);
}

std::set<std::string> folder_names() {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        names.insert(entry.path().filename().string());
    return names;
}

void kill_now() {
    std::raise(SIGKILL);
}

struct Hazard {
    const char* name;
    bool in_place;  // the input is also the output
    const char* command;
    long file_limit;
    std::function<bool(const sorvel::EngineState&)> when;  // null: no trigger
    std::function<void()> action;
    int code;  // expected return code; 0: the process is killed
};

TEST(SafeOutputs, AFailedOrKilledRunLeavesThePreviousOutputAndNoFiles) {
    const auto reading = [](const sorvel::EngineState& s) {
        return s.run.input_fd >= 0 && s.run.sequence >= kRecords / 4;
    };
    const Hazard hazards[] = {
        {"in-place sort, disk full at the final merge", true, "SORT(1,9,C,A) CORE(200)", 512 * 1024,
         nullptr, nullptr, 240},
        {"in-memory sort, disk full while writing", false, "SORT(1,9,C,A)", 512 * 1024, nullptr,
         nullptr, 240},
        {"copy, disk full while writing", false, "INCL(1,1,C,NE,\"x\")", 512 * 1024, nullptr,
         nullptr, 240},
        {"killed before the final merge", false, "SORT(1,9,C,A) CORE(200)", 0,
         [](const sorvel::EngineState& s) { return s.run.work_file_count >= 3 && !s.run.output_open; },
         kill_now, 0},
        {"killed during the final merge", false, "SORT(1,9,C,A) CORE(200)", 0,
         [](const sorvel::EngineState& s) {
             return s.run.output_open && s.records_written >= kRecords / 2;
         },
         kill_now, 0},
        {"in-place sort killed during the final merge", true, "SORT(1,9,C,A) CORE(200)", 0,
         [](const sorvel::EngineState& s) {
             return s.run.output_open && s.records_written >= kRecords / 2;
         },
         kill_now, 0},
        {"input truncated while read", false, "SORT(1,9,C,A) CORE(200)", 0, reading,
         [] { (void)!::truncate("in", kRecords * 11 / 3); }, 345},
        {"input rewritten while read", false, "SORT(1,9,C,A) CORE(200)", 0, reading,
         [] {
             const int fd = ::open("in", O_WRONLY);
             (void)!::pwrite(fd, "000000000\r\n", 11, kRecords * 11 / 2);
             ::close(fd);
         },
         345},
        {"input grown while read, in-memory copy", false, "INCL(1,1,C,NE,\"x\")", 0, reading,
         [] {
             const int fd = ::open("in", O_WRONLY | O_APPEND);
             (void)!::write(fd, "000000000\r\n", 11);
             ::close(fd);
         },
         345},
    };
    for (const Hazard& h : hazards) {
        SCOPED_TRACE(h.name);
        ScratchDir dir;
        const Bytes input = random_records(7);
        write_file("in", input);
        age("in");
        const std::string output = h.in_place ? "in" : "out";
        const Bytes previous = h.in_place ? input : lines({"the previous output"});
        if (!h.in_place) write_file("out", previous);
        const std::set<std::string> before = folder_names();

        Trigger trigger{h.when, h.action};
        const Outcome outcome = run_child("in", output, h.command, h.file_limit,
                                          h.when ? &trigger : nullptr);
        if (h.code == 0) {
            EXPECT_TRUE(outcome.killed);
        } else {
            EXPECT_EQ(outcome.code, h.code);
            EXPECT_EQ(outcome.count, 0u) << "records counted that are not in the output";
        }
        EXPECT_TRUE(read_file(output) == previous) << "the previous output was changed";
        EXPECT_EQ(folder_names(), before) << "files were left behind or lost";
    }
}

TEST(SafeOutputs, LinksPlantedInASharedWorkFolderAreNeverFollowed) {
    ScratchDir dir;
    std::filesystem::create_directory("shared");
    write_file("outside", "precious");
    // Links at every name the work files could have had over the next
    // seconds: "sw" + the clock's last six digits + ".00" + a suffix.
    const auto now = std::time(nullptr);
    for (long t = now; t <= now + 4; ++t) {
        char digits[32];
        std::snprintf(digits, sizeof digits, "%06ld", t % 1000000);
        for (const char suffix : std::string("123456789ABCDEFGHIJKLMNOPQRSTUXz")) {
            const std::string name = std::string("shared/sw") + digits + ".00" + suffix;
            ASSERT_EQ(::symlink("../outside", name.c_str()), 0);
        }
    }
    const Bytes input = random_records(11);
    write_file("in", input);
    const Outcome outcome = run_child("in", "out", "SORT(1,9,C,A) CORE(200) WORK(shared/)", 0, nullptr);
    ASSERT_EQ(outcome.code, 0);
    EXPECT_EQ(outcome.count, static_cast<std::uint32_t>(kRecords));
    EXPECT_EQ(read_file("outside"), "precious");
    std::vector<std::string> records;
    for (std::size_t at = 0; at < input.size(); at += 11) records.push_back(input.substr(at, 11));
    std::stable_sort(records.begin(), records.end());
    Bytes sorted;
    for (const auto& r : records) sorted += r;
    EXPECT_TRUE(read_file("out") == sorted);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("shared"),
                            std::filesystem::directory_iterator{}),
              32 * 5)
        << "work files left in the shared folder";
}

}  // namespace
