// Every write, fsync, rename, file creation and truncation of a `sorvel` run
// is made to fail in turn (a full disk) or to kill the process, and after
// each run the files are checked: a run that reports success wrote the right
// output; any other run left the previous output byte for byte and no file
// of its own in the folder. A kill may leave either the old or the complete
// new output, never a mix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>

#include "child_process.h"
#include "test_e2e_support.h"

namespace {

using namespace sorvel_test;
namespace fs = std::filesystem;

// Injection points per kind of fault: every call when a run makes no more,
// else an even spread plus the last calls (where the output is put in place).
constexpr long kSpread = 24;
constexpr long kTail = 6;

struct Scenario {
    const char* name;
    const char* command;
    int records;
    bool in_place;  // the input is also the output
    Bytes previous;  // the output before the run (unused in place)
    Bytes kept;      // what of it a successful run keeps in front
};

Bytes random_records(int count) {
    std::mt19937 gen(static_cast<unsigned>(count));
    Bytes data;
    for (int i = 0; i < count; ++i) {
        char record[16];
        std::snprintf(record, sizeof record, "%09u\r\n", static_cast<unsigned>(gen() % 1000000000));
        data += record;
    }
    return data;
}

Bytes sorted_records(const Bytes& data) {
    std::vector<Bytes> records;
    for (std::size_t at = 0; at < data.size(); at += 11) records.push_back(data.substr(at, 11));
    std::stable_sort(records.begin(), records.end());
    Bytes out;
    for (const auto& r : records) out += r;
    return out;
}

std::set<std::string> folder_names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

struct Tally {
    long runs = 0, succeeded = 0, failed = 0, killed = 0;
};

class FaultRun {
  public:
    FaultRun(const Scenario& scenario, const fs::path& root)
        : s_(scenario), folder_(root / "run"), counts_((root / "counts").string()) {
        input_ = random_records(s_.records);
        expected_ = s_.kept + sorted_records(input_);
        output_ = s_.in_place ? "in" : "out";
        before_ = s_.in_place ? input_ : s_.previous;
    }

    // Runs once with the fault given; returns the calls the run made.
    fault_inject::ChildResult run(const fault_inject::Fault& fault) {
        fs::remove_all(folder_);
        fs::create_directory(folder_);
        write_file((folder_ / "in").string(), input_);
        if (!s_.in_place) write_file((folder_ / "out").string(), s_.previous);
        fs::remove(counts_);
        const std::string program = std::string(std::getenv("REELBOOK_BIN_DIR")) + "/sorvel";
        return fault_inject::run_child({program, "-q", "in", output_, s_.command},
                                       fault_inject::preload_environment(fault, counts_),
                                       folder_.string());
    }

    long calls() const { return fault_inject::read_counts(counts_).at("any"); }

    // The checks after one run: what the run left must be one of the allowed
    // states; counts the outcome.
    void check(const fault_inject::ChildResult& result, const fault_inject::Fault& fault, Tally& tally) {
        SCOPED_TRACE(std::string(s_.name) + ": " + fault.kind + " at call " + std::to_string(fault.at) +
                     " (" + fault_inject::read_hit(counts_) + ")\n" + result.output);
        ++tally.runs;
        const Bytes now = read_file((folder_ / output_).string());
        std::set<std::string> expected_names{"in", "out"};
        if (s_.in_place) expected_names = {"in"};
        std::set<std::string> names = folder_names(folder_);
        if (result.exited && result.code == 0) {
            ++tally.succeeded;
            EXPECT_TRUE(now == expected_) << "a run that succeeded wrote a wrong output";
        } else if (result.exited) {
            ++tally.failed;
            EXPECT_TRUE(now == before_) << "a failed run changed the previous output";
        } else {
            ++tally.killed;
            EXPECT_TRUE(now == before_ || now == expected_) << "a kill left a mixed output";
            // The one instant a kill leaves a file: the finished output has
            // its hidden name and is about to be renamed over the target.
            if (fault_inject::read_hit(counts_) == "rename") {
                std::erase_if(names, [&](const std::string& n) { return n.rfind("." + output_ + ".", 0) == 0; });
            }
        }
        EXPECT_EQ(names, expected_names) << "files left behind or lost";
    }

  private:
    const Scenario& s_;
    fs::path folder_;
    std::string counts_;
    Bytes input_, expected_, before_;
    std::string output_;
};

void run_scenario(const Scenario& scenario) {
    ScratchDir dir;
    FaultRun run(scenario, dir.path());
    Tally tally;
    const auto clean = run.run({});
    ASSERT_TRUE(clean.exited && clean.code == 0) << clean.output;
    run.check(clean, {}, tally);
    const long total = run.calls();
    std::vector<long> points;
    for (long n = 1; n <= total; ++n) {
        if (total <= kSpread + kTail || n > total - kTail || n % (total / kSpread) == 0) points.push_back(n);
    }
    for (const char* kind : {"enospc", "kill"}) {
        for (long n : points) {
            const fault_inject::Fault fault{"any", n, kind, false};
            run.check(run.run(fault), fault, tally);
            if (::testing::Test::HasFailure()) return;
        }
    }
    std::printf("%s: %ld calls, %zu injection points x 2 kinds; %ld runs: %ld succeeded, %ld failed, "
                "%ld killed; data lost: none\n",
                scenario.name, total, points.size(), tally.runs, tally.succeeded, tally.failed,
                tally.killed);
}

TEST(FaultInjection, SortInMemory) {
    run_scenario({"sort in memory", "SORT(1,9,C,A) CORE(300)", 3000, false, lines({"old"}), ""});
}

TEST(FaultInjection, SortWithWorkFiles) {
    run_scenario({"sort with work files", "SORT(1,9,C,A) CORE(100)", 20000, false, lines({"old"}), ""});
}

// Big enough for the command's own budget to write several runs and cut the
// final merge into parts for a second core: faults land in the threads'
// writes too.
TEST(FaultInjection, SortWithWorkFilesOnSeveralThreads) {
    run_scenario({"threaded merge", "SORT(1,9,C,A)", 450000, false, lines({"old"}), ""});
}

TEST(FaultInjection, InPlaceSortWithWorkFiles) {
    run_scenario({"in-place sort", "SORT(1,9,C,A) CORE(100)", 20000, true, "", ""});
}

TEST(FaultInjection, AppendKeepsTheOldRecordsInFront) {
    // the end marker of the old file is replaced by the new records
    run_scenario({"append", "SORT(1,9,C,A) APPEND CORE(300)", 3000, false, lines({"old1", "old2"}) + "\x1a",
                  lines({"old1", "old2"})});
}

}  // namespace
