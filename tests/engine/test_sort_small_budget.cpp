// Sorting with a small handle budget: the run happens in a child process
// whose open-file limit lets the probe get only a few handles, so
// intermediate merges come every run or two and rotate through the files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <random>

#include "engine_state.h"
#include "phases.h"
#include "test_e2e_support.h"

namespace {

using namespace sorvel_test;

// The descriptor limit that leaves exactly `spare` free descriptor numbers.
int limit_leaving(int spare) {
    std::vector<int> used;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        used.push_back(std::stoi(entry.path().filename().string()));
    }
    // The listing's own descriptor is closed again by now.
    int limit = 0;
    for (int free = 0; free < spare; ++limit) {
        if (std::find(used.begin(), used.end(), limit) == used.end() ||
            ::fcntl(limit, F_GETFD) < 0) {
            ++free;
        }
    }
    return limit;
}

// Runs `body` in a child that may open only `spare` more files; returns the
// child's exit status (or -1 when it did not exit normally).
template <typename Body>
int in_limited_child(int spare, Body body) {
    const int limit = limit_leaving(spare);
    const pid_t child = ::fork();
    if (child == 0) {
        struct rlimit rl {};
        rl.rlim_cur = static_cast<rlim_t>(limit);
        rl.rlim_max = static_cast<rlim_t>(limit);
        ::setrlimit(RLIMIT_NOFILE, &rl);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The sort's return code folded into an exit status: 0 stays 0.
int sort_in_limited_child(int spare, const std::string& command) {
    return in_limited_child(spare, [&] {
        std::uint32_t count = 0;
        std::int32_t code = -1;
        s_1mains("in", "out", command.c_str(), &count, &code);
        return code == 0 ? 0 : (code % 250) + 1;
    });
}

int probed_budget(int spare) {
    return in_limited_child(spare, [] {
        sorvel::EngineState state;
        return sorvel::probe_work_files(state) ? state.run.handle_budget : 100;
    });
}

TEST(SortSmallBudget, RotatingIntermediateMergesKeepOrderAndStability) {
    for (int spare : {4, 5, 8}) {
        ScratchDir dir;
        ASSERT_EQ(probed_budget(spare), spare) << "the probe counts every handle it gets";
        std::mt19937 gen(static_cast<unsigned>(spare));
        std::vector<std::string> records;
        std::string input;
        for (int i = 0; i < 12000; ++i) {
            char rec[32];
            std::snprintf(rec, sizeof rec, "%c%c%-8d\r\n", 'a' + static_cast<int>(gen() % 4),
                          'a' + static_cast<int>(gen() % 4), i);
            records.emplace_back(rec, 12);
            input += records.back();
        }
        write_file("in", input);
        ASSERT_EQ(sort_in_limited_child(spare, "SORT(1,2,C,A) RECORD(12) CORE(100)"), 0) << spare;
        std::stable_sort(records.begin(), records.end(),
                         [](const auto& a, const auto& b) { return a.compare(0, 2, b, 0, 2) < 0; });
        std::string expected;
        for (const auto& r : records) expected += r;
        EXPECT_TRUE(read_file("out") == expected) << spare;
        EXPECT_TRUE(engine_temp_files().empty()) << spare;
    }
}

TEST(SortSmallBudget, TooFewHandlesGives330AndLeavesNoProbeFile) {
    ScratchDir dir;
    write_file("in", lines({"b", "a"}));
    EXPECT_EQ(sort_in_limited_child(3, "SORT(1,1,C,A)"), 330 % 250 + 1);
    EXPECT_TRUE(engine_temp_files().empty());
    EXPECT_FALSE(file_exists("out"));
}

}  // namespace
