// The record-at-a-time interface: its operations, codes and flows.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine_state.h"
#include "test_e2e_support.h"

namespace {

using namespace sorvel_test;

std::int32_t op(std::int16_t operation, void* data, std::uint32_t* length) {
    std::int32_t code = -1;
    s_1raat(operation, data, length, &code);
    return code;
}

std::int32_t start(const std::string& command) {
    std::string text = command;
    std::uint32_t length = static_cast<std::uint32_t>(text.size());
    return op(1, text.data(), &length);
}

std::int32_t release(const std::string& record) {
    std::string copy = record;
    std::uint32_t length = static_cast<std::uint32_t>(copy.size());
    return op(2, copy.data(), &length);
}

// Operation 3 until the end; the records in order (a record handed over with
// the end is included).
std::vector<std::string> drain_returns(std::int32_t* last_code = nullptr) {
    std::vector<std::string> out;
    char buffer[4096];
    for (;;) {
        std::uint32_t length = 0;
        const std::int32_t code = op(3, buffer, &length);
        if (code != 0 && code != 1) {
            if (last_code) *last_code = code;
            return out;
        }
        if (code == 0 || length > 0) out.emplace_back(buffer, length);
        if (code == 1) {
            if (last_code) *last_code = code;
            return out;
        }
    }
}

TEST(RawRun, CodesOutsideAnOpenRun) {
    ScratchDir dir;
    std::uint32_t length = 0;
    op(4, nullptr, &length);  // whatever was open before
    EXPECT_EQ(release("x"), 261);
    char buffer[8];
    EXPECT_EQ(op(3, buffer, &length), 261);
    EXPECT_EQ(op(7, nullptr, &length), 260);
    ASSERT_EQ(start("SORT(1,1,C,A)"), 0);
    EXPECT_EQ(op(7, nullptr, &length), 260);
    EXPECT_EQ(release("x"), 261);  // the unknown operation closed the run
}

TEST(RawRun, SortsInMemoryReportsTheEndTwiceAndRefusesLateReleases) {
    ScratchDir dir;
    ASSERT_EQ(start("SORT(1,1,C,D)"), 0);
    for (const char* r : {"b1", "a1", "c1", "b2"}) ASSERT_EQ(release(r), 0);
    char buffer[16];
    std::uint32_t length = 0;
    ASSERT_EQ(op(3, buffer, &length), 0);
    EXPECT_EQ(std::string(buffer, length), "c1");
    EXPECT_EQ(release("z"), 262);
    EXPECT_EQ(op(3, buffer, &length), 261);  // the refused release closed the run
    ASSERT_EQ(start("SORT(1,1,C,D)"), 0);
    for (const char* r : {"b1", "a1", "c1", "b2"}) ASSERT_EQ(release(r), 0);
    std::int32_t code = 0;
    EXPECT_EQ(drain_returns(&code), (std::vector<std::string>{"c1", "b1", "b2", "a1"}));
    EXPECT_EQ(code, 1);
    EXPECT_EQ(op(3, buffer, &length), 1);
    EXPECT_EQ(op(4, nullptr, &length), 1);  // nothing set: the previous code stays
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(RawRun, SpillsToWorkFilesAndMergesOneRecordPerCall) {
    ScratchDir dir;
    ASSERT_EQ(start("SORT(1,4,C,A) CORE(100) INCL(1,1,C,NE,\"9\")"), 0);
    std::mt19937 gen(5);
    std::vector<std::string> expected;
    for (int i = 0; i < 20000; ++i) {
        std::string r = std::to_string(gen() % 10000);
        r.resize(4, ' ');
        r += std::to_string(i);
        ASSERT_EQ(release(r), 0);
        if (r[0] != '9') expected.push_back(r);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.compare(0, 4, b, 0, 4) < 0; });
    // spilled to work files, which nobody else can see or open
    EXPECT_GT(sorvel::engine_state().run.work_file_count, 0);
    EXPECT_TRUE(std::filesystem::is_empty("."));
    std::int32_t code = 0;
    EXPECT_TRUE(drain_returns(&code) == expected);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(RawRun, DuplicatesAndTheHeldRecordAtTheEnd) {
    ScratchDir dir;
    ASSERT_EQ(start("SORT(1,2,C,A) DUPO(1,1)"), 0);
    for (const char* r : {"c3", "a1", "b1", "c1", "a2", "c2"}) ASSERT_EQ(release(r), 0);
    EXPECT_EQ(drain_returns(), (std::vector<std::string>{"a1", "b1", "c1"}));
    ASSERT_EQ(start("SORT(1,2,C,A) DUPI(1,1)"), 0);
    for (const char* r : {"c3", "a1", "b1", "c1", "a2", "c2"}) ASSERT_EQ(release(r), 0);
    EXPECT_EQ(drain_returns(), (std::vector<std::string>{"a1", "a2", "c1", "c2", "c3"}));
}

TEST(RawRun, CopyRunReturnsInInputOrderThroughOutrec) {
    ScratchDir dir;
    // OUTR shapes the records as they are stored; duplicate processing then
    // looks at the shaped records as they are returned.
    ASSERT_EQ(start("OUTREC(1,1,ARRN) DUPE(1,1)"), 0);
    for (const char* r : {"xa", "yb", "yc", "zd"}) ASSERT_EQ(release(r), 0);
    EXPECT_EQ(drain_returns(), (std::vector<std::string>{"x0000001", "z0000004"}));
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(RawRun, EndDeletesWorkFilesAndStatementsNamingFilesAreRefused) {
    ScratchDir dir;
    ASSERT_EQ(start("SORT(1,4,C,A) CORE(100)"), 0);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(release("rec " + std::to_string(i)), 0);
    // spilled to work files, which nobody else can see or open
    EXPECT_GT(sorvel::engine_state().run.work_file_count, 0);
    EXPECT_TRUE(std::filesystem::is_empty("."));
    std::uint32_t length = 0;
    op(4, nullptr, &length);
    EXPECT_TRUE(engine_temp_files().empty());
    EXPECT_EQ(start("SORT(1,1,C,A) LIMI(3)"), 10708);
    EXPECT_EQ(start("SORT(1,1,C,A) OUTREC(1,1)"), 10708);
    EXPECT_EQ(release("x"), 261);
}

TEST(RawRun, NoRecordsReleasedGivesTheEndAtOnce) {
    for (const char* command : {"SORT(1,1,C,A)", "DUPO", "SORT(1,1,C,A) CORE(100) DUPE"}) {
        ScratchDir dir;
        ASSERT_EQ(start(command), 0) << command;
        char buffer[8];
        std::uint32_t length = 99;
        EXPECT_EQ(op(3, buffer, &length), 1) << command;
        EXPECT_EQ(length, 0u) << command;
        EXPECT_TRUE(engine_temp_files().empty()) << command;
    }
}

TEST(RawRun, RecordLongerThanMemoryGives245) {
    ScratchDir dir;
    ASSERT_EQ(start("SORT(1,1,C,A) CORE(100)"), 0);
    EXPECT_EQ(release(std::string(5000, 'x')), 245);
    EXPECT_EQ(release("x"), 261);
}

}  // namespace
