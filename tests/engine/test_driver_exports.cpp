// The exports and the driver: results on failure, counted texts, the
// record-at-a-time codes, the output name, the collision check, the host
// hook, calls from several threads and the return-code meanings.
#include <gtest/gtest.h>

#include <array>
#include <condition_variable>
#include <latch>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "driver.h"
#include "return_codes.h"
#include "sorvel32.h"
#include "test_e2e_support.h"
#include "test_parse_support.h"
#include "tokenizer.h"

namespace sorvel {
namespace {

using sorvel_test::file_exists;
using sorvel_test::read_file;
using sorvel_test::ScratchDir;
using sorvel_test::write_file;

struct Result {
    std::uint32_t count = 12345;
    std::int32_t code = -1;
};

Result run1(const char* inputs, const char* output, const char* command) {
    Result r;
    s_1mains(inputs, output, command, &r.count, &r.code);
    return r;
}

TEST(DriverExports, ParseFailureReturnsAtOnceAndTouchesNoFile) {
    ScratchDir dir;
    write_file("in.txt", "b\r\na\r\n");
    for (const char* command :
         {"SORT(1,1,C,X)", "BOGUS", "FILE(FE)", "ALTS(missing.alt) S(1,1,C,A)"}) {
        const Result r = run1("in.txt", "out.txt", command);
        EXPECT_NE(r.code, 0) << command;
        EXPECT_EQ(r.count, 0u) << command;
        EXPECT_FALSE(file_exists("out.txt")) << command;
        EXPECT_TRUE(sorvel_test::engine_temp_files().empty()) << command;
    }
    EXPECT_EQ(read_file("in.txt"), "b\r\na\r\n");
}

TEST(DriverExports, CountedTextsUseOnlyTheCountedBytes) {
    Result r;
    const char command[] = "FILE(BT)";
    // four bytes: "FILE" without its type
    s_2mains(0, "in", 2, "out", 3, command, 4, &r.count, &r.code);
    EXPECT_EQ(r.code, rc::kFileType);
    s_2mains(0, "in", 2, "out", 3, command, 8, &r.count, &r.code);
    EXPECT_EQ(r.code, rc::kFileBtRefused);
    s_2mains(0, nullptr, 0, nullptr, -5, "XYZ", 3, &r.count, &r.code);
    EXPECT_EQ(r.code, rc::kUnknownStatement);
    EXPECT_EQ(r.count, 0u);
    s_1mains(nullptr, nullptr, "XYZ", nullptr, nullptr);  // null results are skipped
}

TEST(DriverExports, OutputNameIsTheFirstNameOfItsText) {
    struct Case {
        const char* text;
        const char* name;
    };
    const Case cases[] = {{"out.dat  more text", "out.dat"},
                          {" [comment] x+y", "x"},
                          {"\"a b\"", "\"a"},
                          {",\tlast\n", "last"},
                          {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(first_name(c.text, kNoQuote), c.name) << c.text;
}

TEST(DriverExports, OutputCollisionCheck) {
    ScratchDir dir;
    write_file("a.dat", "x");
    struct Case {
        const char* command;
        const char* inputs;
        const char* output;
        int code;
    };
    const Case cases[] = {
        {"S(1,1,C,A)", "a.dat", "a.dat", 0},  // a plain sort may overwrite its input
        {"S(1,1,C,A) OUTR(1,1)", "a.dat", "a.dat", 211},
        {"S(1,1,C,A) OUTR(1,1) OVER", "a.dat", "a.dat", 0},
        {"", "b.dat+a.dat", "a.dat", 211},  // copy run
        {"", "b.dat,a.dat", "a.dat", 211},
        {"", "[a.dat] b.dat", "a.dat", 0},
        {"", "\"a.dat\"", "a.dat", 211},
        {"", "./a.dat", "a.dat", 211},  // the same file under another name
        {"", "A.DAT", "a.dat", 0},
        {"", " [only a comment] ", "a.dat", 213},
    };
    for (const auto& c : cases) {
        auto p = test::parse(c.command);
        ASSERT_TRUE(p.ok) << c.command;
        p.state.input_list = c.inputs;
        p.state.output_name = c.output;
        check_output_collision(p.state);
        EXPECT_EQ(p.state.return_code, c.code) << c.command << " / " << c.inputs;
    }
}

std::int32_t raat(std::int16_t operation, void* data = nullptr, std::uint32_t length = 0) {
    std::int32_t code = -1;
    s_1raat(operation, data, &length, &code);
    return code;
}

TEST(DriverExports, RecordAtATimeCodesWithoutASession) {
    char record[] = "abc";
    raat(4);  // make sure no session is open
    EXPECT_EQ(raat(2, record, 3), rc::kRaatNotOpen);
    EXPECT_EQ(raat(3, record, 3), rc::kRaatNotOpen);
    EXPECT_EQ(raat(7), rc::kRaatUnknownOperation);
    EXPECT_EQ(raat(0), rc::kRaatUnknownOperation);
    // operation 4 without a session sets nothing: the previous code stays
    EXPECT_EQ(raat(4), rc::kRaatUnknownOperation);
    char bad[] = "S(1,1,C,A) FILE(VS)";
    EXPECT_EQ(raat(1, bad, sizeof bad - 1), 11014);
    EXPECT_EQ(raat(2, record, 3), rc::kRaatNotOpen);
    char limit[] = "S(1,1,C,A) LIMI(3)";
    EXPECT_EQ(raat(1, limit, sizeof limit - 1), rc::kRawSortWithOutr);
}

TEST(DriverExports, RecordAtATimeSessionRulesAroundReturn) {
    ScratchDir dir;
    char command[] = "S(1,1,C,A)";
    ASSERT_EQ(raat(1, command, sizeof command - 1), 0);
    char b[] = "b", a[] = "a";
    EXPECT_EQ(raat(2, b, 1), 0);
    EXPECT_EQ(raat(2, a, 1), 0);
    char buffer[16] = {};
    std::uint32_t length = 0;
    std::int32_t code = -1;
    s_1raat(3, buffer, &length, &code);
    EXPECT_EQ(code, 0);
    ASSERT_EQ(length, 1u);
    EXPECT_EQ(buffer[0], 'a');
    EXPECT_EQ(raat(2, a, 1), rc::kRaatReleaseAfterReturn);
    // the failure closed the session
    EXPECT_EQ(raat(3, buffer, 0), rc::kRaatNotOpen);
    EXPECT_TRUE(sorvel_test::engine_temp_files().empty());
}

struct HookLog {
    int drains = 0;
    int pauses = 0;
    std::uint32_t owner = 0;
    std::string text;
    std::string title;
    std::int32_t nested_code = 0;
};

void count_drain(void* context) {
    ++static_cast<HookLog*>(context)->drains;
}

void nested_drain(void* context) {
    auto* log = static_cast<HookLog*>(context);
    ++log->drains;
    std::uint32_t count = 0;
    s_1mains("x", "y", "S(1,1,C,A)", &count, &log->nested_code);
}

void record_pause(void* context, std::uint32_t owner, const char* text, const char* title) {
    auto* log = static_cast<HookLog*>(context);
    ++log->pauses;
    log->owner = owner;
    log->text = text;
    log->title = title;
}

class HostHook : public ::testing::Test {
  protected:
    void TearDown() override { s_sethost(nullptr, nullptr, nullptr); }
};

TEST_F(HostHook, DrainsDuringARunUnlessNoyi) {
    ScratchDir dir;
    write_file("in.txt", "b\r\na\r\n");
    HookLog log;
    s_sethost(count_drain, nullptr, &log);
    Result r = run1("in.txt", "out.txt", "S(1,1,C,A)");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(read_file("out.txt"), "a\r\nb\r\n");
    EXPECT_GT(log.drains, 0);
    log.drains = 0;
    r = run1("in.txt", "out2.txt", "S(1,1,C,A) NOYI");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(log.drains, 0);
}

TEST_F(HostHook, ANestedRunFromTheCallbackIsRefused) {
    ScratchDir dir;
    write_file("in.txt", "b\r\na\r\n");
    HookLog log;
    s_sethost(nested_drain, nullptr, &log);
    const Result r = run1("in.txt", "out.txt", "S(1,1,C,A)");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.count, 2u);
    EXPECT_EQ(log.nested_code, rc::kRunInProgress);
    EXPECT_EQ(read_file("out.txt"), "a\r\nb\r\n");
}

// Threads that call at once: the first run to claim the engine holds it in
// its drain callback until every other call has come back, so the calls
// really overlap; exactly one may run, the others get 343.
struct Overlap {
    static constexpr int kThreads = 6;
    std::mutex mutex;
    std::condition_variable changed;
    int running = 0;
    int refused = 0;
};

void hold_until_all_answered(void* context) {
    auto* overlap = static_cast<Overlap*>(context);
    thread_local bool counted = false;
    std::unique_lock lock(overlap->mutex);
    if (!counted) {
        counted = true;
        ++overlap->running;
        overlap->changed.notify_all();
    }
    overlap->changed.wait(
        lock, [&] { return overlap->running + overlap->refused == Overlap::kThreads; });
}

TEST_F(HostHook, OfThreadsCallingAtOnceOneRunsAndTheOthersAreRefused) {
    ScratchDir dir;
    write_file("in.txt", "b\r\na\r\n");
    Overlap overlap;
    s_sethost(hold_until_all_answered, nullptr, &overlap);
    std::array<Result, Overlap::kThreads> results;
    std::latch start(Overlap::kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < Overlap::kThreads; ++i) {
        threads.emplace_back([&, i] {
            const std::string output = "out" + std::to_string(i) + ".txt";
            start.arrive_and_wait();
            results[i] = run1("in.txt", output.c_str(), "S(1,1,C,A)");
            if (results[i].code == rc::kRunInProgress) {
                std::lock_guard lock(overlap.mutex);
                ++overlap.refused;
                overlap.changed.notify_all();
            }
        });
    }
    for (std::thread& t : threads) t.join();

    EXPECT_EQ(overlap.running, 1);
    int ran = 0;
    for (int i = 0; i < Overlap::kThreads; ++i) {
        const std::string output = "out" + std::to_string(i) + ".txt";
        if (results[i].code == rc::kRunInProgress) {
            EXPECT_EQ(results[i].count, 0u);
            EXPECT_FALSE(file_exists(output)) << output;
            continue;
        }
        ++ran;
        EXPECT_EQ(results[i].code, 0);
        EXPECT_EQ(read_file(output), "a\r\nb\r\n");
    }
    EXPECT_EQ(ran, 1);
}

TEST_F(HostHook, PauseMessageGoesToTheHostOrToStderr) {
    ScratchDir dir;
    write_file("in.txt", "b\r\na\r\n");
    HookLog log;
    s_sethost(nullptr, record_pause, &log);
    Result r;
    const std::string command = "PAUS S(1,1,C,A)";
    s_2mains(77, "in.txt", 6, "out.txt", 7, command.data(),
             static_cast<std::int32_t>(command.size()), &r.count, &r.code);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(log.pauses, 1);
    EXPECT_EQ(log.owner, 77u);
    EXPECT_EQ(log.text, "Ready to create output file.\n\rChange diskettes and press OK");
    EXPECT_EQ(log.title, "Zorvik Sort");

    s_sethost(nullptr, nullptr, nullptr);
    ::testing::internal::CaptureStderr();
    r = run1("in.txt", "out3.txt", "PAUS S(1,1,C,A)");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(err.find("Change diskettes and press OK"), std::string::npos);
}

TEST(ReturnCodes, EveryCodeHasItsMeaning) {
    const int codes[] = {
        0,     1,     201,   202,   203,   204,   205,   206,   207,   208,   209,   210,
        211,   213,   214,   215,   216,   217,   218,   219,   220,   221,   225,   227,
        229,   231,   240,   242,   245,   246,   256,   257,   260,   261,   262,   301,
        302,   303,   304,   307,   310,   311,   312,   313,   314,   315,   319,   320,
        321,   322,   323,   329,   330,   331,   332,   333,   334,   342,   343,   344,
        345,   10001, 10002,
        10003, 10004, 10005, 10006, 10007, 10009, 10010, 10011, 10012, 10015, 10019, 10033,
        10051, 10052, 10054, 10055, 10056, 10057, 10058, 10062, 10708, 15762};
    const std::string unknown = "unknown return code";
    for (int code : codes) EXPECT_NE(return_code_meaning(code), unknown) << code;
    EXPECT_EQ(std::string(return_code_meaning(10304)), "ADDR may not be combined with KEYO");
    EXPECT_EQ(std::string(return_code_meaning(11314)),
              "file type FIX may not be combined with file type VS");
    EXPECT_EQ(std::string(return_code_meaning(12120)),
              "file type GP may not be combined with file type DB3");
    for (int code : {10301, 10302, 10305, 12119, 12121, 10401, 999, -1}) {
        EXPECT_EQ(return_code_meaning(code), unknown) << code;
    }
}

}  // namespace
}  // namespace sorvel
