// Sorting beyond memory: runs spilled to work files, intermediate merges in
// rotation, the final merge, and the memory plan's limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "engine_state.h"
#include "memory_plan.h"
#include "phases.h"
#include "test_e2e_support.h"

namespace {

using namespace sorvel_test;

// Fixed 24-byte records: a 3-letter key with many repeats, the input number,
// CR LF.
std::vector<std::string> make_records(int count, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> letter('A', 'F');
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        std::string key{static_cast<char>(letter(gen)), static_cast<char>(letter(gen)),
                        static_cast<char>(letter(gen))};
        char number[32];
        std::snprintf(number, sizeof number, "%-19d", i);
        out.push_back(key + number + "\r\n");
    }
    return out;
}

std::string joined(const std::vector<std::string>& records) {
    std::string all;
    for (const auto& r : records) all += r;
    return all;
}

TEST(SortExternal, ManyTimesLargerThanMemoryMatchesAStableReferenceSort) {
    ScratchDir dir;
    // CORE(100) gives 2 KB blocks and 1280 references: 60,000 records make
    // about 47 runs, so intermediate merges in rotation happen before the
    // final merge.
    auto records = make_records(60000, 7);
    write_file("in", joined(records));
    const RunResult r = run("in", "out", "SORT(1,3,C,A) RECORD(24) CORE(100)");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.count, 60000u);
    std::stable_sort(
        records.begin(), records.end(),
        [](const std::string& a, const std::string& b) { return a.compare(0, 3, b, 0, 3) < 0; });
    EXPECT_TRUE(read_file("out") == joined(records));
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(SortExternal, DescendingExternalSortWithDuplicatesAndOutrecThroughTheFinalMerge) {
    ScratchDir dir;
    auto records = make_records(8000, 11);
    write_file("in", joined(records));
    const RunResult r = run("in", "out",
                            "SORT(1,3,C,D) RECORD(24) CORE(100) DUPO(1,3) "
                            "OUTREC(1,3,DUPC,CRLF)");
    ASSERT_EQ(r.code, 0);
    std::map<std::string, int, std::greater<>> groups;
    for (const auto& rec : records) ++groups[rec.substr(0, 3)];
    std::string expected;
    for (const auto& [key, n] : groups) {
        char count[16];
        std::snprintf(count, sizeof count, "%07d", n);
        expected += key + count + "\r\n";
    }
    EXPECT_EQ(r.count, groups.size());
    EXPECT_EQ(read_file("out"), expected);
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(SortExternal, WorkFilesGoToTheWorkDirectory) {
    ScratchDir dir;
    std::filesystem::create_directory("work");
    write_file("in", joined(make_records(3000, 3)));
    EXPECT_EQ(run("in", "out", "SORT(1,3,C,A) RECORD(24) CORE(100) WORK(work/)").code, 0);
    EXPECT_TRUE(engine_temp_files("work").empty());
    EXPECT_EQ(run("in", "out", "SORT(1,3,C,A) RECORD(24) CORE(100) WORK(nowhere/)").code, 329);
}

TEST(SortExternal, MemoryPlanSizesAndLimits) {
    struct Case {
        std::uint32_t core;
        int handles;
        std::size_t limit;
        int code;
        std::size_t block;
        int budget_after;
    };
    const std::size_t big = static_cast<std::size_t>(-1);
    const Case cases[] = {
        {2000, 30, big, 0, 51200, 30},  // the default
        {0, 30, big, 0, sorvel::kLargestBlock, 30},
        {1, 30, big, 225, 0, 30},   // starting size 0
        {39, 30, big, 225, 0, 30},  // 39/40 rounds down to 0 KB
        // Room for the output buffer, table and 20 of 28 input buffers:
        // 20 > 0.6 * 30, so the plan keeps them and the budget becomes 21.
        {2000, 30, (51200 + 8) * 21 + 32000 * sizeof(sorvel::RecordRef), 0, 51200, 21},
        // Room for only 10 blocks: halve until 28 blocks fit.
        {2000, 30, (51200 + 8) * 15 + 32000 * sizeof(sorvel::RecordRef), 0, 25600, 30},
        {2000, 30, 5000, 225, 0, 30},
    };
    for (const Case& c : cases) {
        sorvel::EngineState state;
        state.options.core_kb = c.core;
        state.run.handle_budget = c.handles;
        sorvel::set_plan_allocation_limit(c.limit);
        const bool ok = sorvel::plan_memory(state);
        sorvel::set_plan_allocation_limit(big);
        EXPECT_EQ(ok, c.code == 0) << c.core << " " << c.limit;
        EXPECT_EQ(state.return_code, c.code) << c.core << " " << c.limit;
        if (ok) {
            EXPECT_EQ(state.run.block_size, c.block) << c.core << " " << c.limit;
            EXPECT_EQ(state.run.handle_budget, c.budget_after);
            // The plan keeps every buffer it got, one more than the reduced
            // budget's work files need.
            const int buffers = c.budget_after == c.handles ? c.handles - 2 : c.budget_after - 1;
            EXPECT_EQ(static_cast<int>(state.run.input_buffers.size()), buffers);
            EXPECT_EQ(state.run.ref_capacity, std::min<std::size_t>(10 * c.block, 2092768) / 16);
        }
    }
}

TEST(SortExternal, CoreOneGives225AndLeavesNoFiles) {
    ScratchDir dir;
    write_file("in", lines({"b", "a"}));
    const RunResult r = run("in", "out", "SORT(1,1,C,A) CORE(1)");
    EXPECT_EQ(r.code, 225);
    EXPECT_FALSE(file_exists("out"));
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(SortExternal, RecordLongerThanABlockGives245) {
    ScratchDir dir;
    write_file("in", lines({std::string(3000, 'x')}));
    EXPECT_EQ(run("in", "out", "SORT(1,1,C,A) CORE(100)").code, 245);
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(SortExternal, ProbeFindsABudgetAndLeavesNoProbeFile) {
    ScratchDir dir;
    sorvel::EngineState state;
    ASSERT_TRUE(sorvel::probe_work_files(state));
    EXPECT_GE(state.run.handle_budget, 4);
    EXPECT_LE(state.run.handle_budget, 30);
    EXPECT_TRUE(std::filesystem::is_empty("."));
}

}  // namespace
