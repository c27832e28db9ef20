// Randomized runs against a simple reference: random records, random key
// lists over the common data types, ascending and descending, in memory and
// through work files. The reference is a stable sort with a plain
// comparison written from the ordering rules of each type.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "test_e2e_support.h"
#include "worker_threads.h"

namespace {

using namespace sorvel_test;

constexpr int kRecordLength = 18;  // 16 bytes of fields and CR LF

struct FieldSpec {
    const char* type;
    int position;
    int length;
};

// The record layout: one field of each type.
constexpr FieldSpec kFields[] = {
    {"C", 1, 3},    // CHA: letters, few distinct values
    {"ALP", 4, 2},  // ALP: mixed case
    {"BI", 6, 2},   // BIN: unsigned big-endian
    {"I", 8, 2},    // INT: signed little-endian
    {"PD", 10, 2},  // packed decimal, 3 digits and sign C or D
    {"N", 12, 4},   // numeric text
};

std::string random_record(std::mt19937& gen) {
    std::string r(kRecordLength, ' ');
    auto pick = [&](int n) { return static_cast<int>(gen() % static_cast<unsigned>(n)); };
    for (int i = 0; i < 3; ++i) r[static_cast<std::size_t>(i)] = static_cast<char>('a' + pick(3));
    const char letters[] = "aAbB";
    r[3] = letters[pick(4)];
    r[4] = letters[pick(4)];
    r[5] = static_cast<char>(pick(3));
    r[6] = static_cast<char>(pick(256));
    const std::int16_t value = static_cast<std::int16_t>(pick(7) - 3);
    std::memcpy(&r[7], &value, 2);
    const int digits = pick(12);
    r[9] = static_cast<char>((digits / 10) << 4 | (digits % 10));
    r[10] = static_cast<char>(0x0C + pick(2));  // digit 0, sign C or D
    char number[8];
    std::snprintf(number, sizeof number, "%4.1f", (pick(41) - 20) / 4.0);
    std::memcpy(&r[11], number, 4);
    r[16] = '\r';
    r[17] = '\n';
    return r;
}

int compare_bytes(const std::string& a, const std::string& b, int at, int n) {
    const int c = std::memcmp(a.data() + at, b.data() + at, static_cast<std::size_t>(n));
    return (c > 0) - (c < 0);
}

// -1, 0, +1 as a field of `a` orders before, with, after `b`'s.
int reference_compare(const FieldSpec& f, const std::string& a, const std::string& b) {
    const int at = f.position - 1;
    const std::string type = f.type;
    if (type == "C" || type == "BI") return compare_bytes(a, b, at, f.length);
    if (type == "ALP") {
        std::string x = a.substr(static_cast<std::size_t>(at), 2),
                    y = b.substr(static_cast<std::size_t>(at), 2);
        for (auto* s : {&x, &y}) {
            for (char& c : *s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return (x > y) - (x < y);
    }
    if (type == "I") {
        std::int16_t x, y;
        std::memcpy(&x, a.data() + at, 2);
        std::memcpy(&y, b.data() + at, 2);
        return (x > y) - (x < y);
    }
    if (type == "PD") {
        const bool nx = (a[static_cast<std::size_t>(at + 1)] & 0x0F) == 0x0D;
        const bool ny = (b[static_cast<std::size_t>(at + 1)] & 0x0F) == 0x0D;
        if (nx != ny) return nx ? -1 : 1;
        const int bytes = compare_bytes(a, b, at, 2);
        return nx ? -bytes : bytes;
    }
    const double x = std::stod(a.substr(static_cast<std::size_t>(at), 4));
    const double y = std::stod(b.substr(static_cast<std::size_t>(at), 4));
    return (x > y) - (x < y);
}

// Goes back to the machine's own thread count when the test ends.
struct ForcedWorkers {
    explicit ForcedWorkers(unsigned threads) { sorvel::set_worker_count_for_tests(threads); }
    ~ForcedWorkers() { sorvel::set_worker_count_for_tests(0); }
};

// Every second pair of rounds runs as on one core, the others with a helper
// thread (output written behind the merge), in memory and through work files.
TEST(E2eRandom, SortsAgreeWithTheReferenceForTheCommonTypes) {
    ScratchDir dir;
    std::mt19937 gen(20240601);
    for (int round = 0; round < 24; ++round) {
        const ForcedWorkers workers(round % 4 < 2 ? 1 : 2);
        const int count = 200 + static_cast<int>(gen() % 4000);
        std::vector<std::string> records;
        std::string input;
        for (int i = 0; i < count; ++i) {
            records.push_back(random_record(gen));
            input += records.back();
        }
        write_file("in", input);

        struct Key {
            FieldSpec field;
            bool descending;
        };
        std::vector<Key> keys;
        const int key_count = 1 + static_cast<int>(gen() % 3);
        std::string command = "SORT(";
        for (int k = 0; k < key_count; ++k) {
            const Key key{kFields[gen() % std::size(kFields)], gen() % 2 == 1};
            keys.push_back(key);
            command += (k ? "," : "") + std::to_string(key.field.position) + "," +
                       std::to_string(key.field.length) + "," + key.field.type + "," +
                       (key.descending ? "D" : "A");
        }
        command += ") RECORD(18)";
        if (round % 2 == 0) command += " CORE(100)";  // through work files

        auto reference_order = [&](const std::string& a, const std::string& b) {
            for (const Key& key : keys) {
                const int c = reference_compare(key.field, a, b);
                if (c != 0) return key.descending ? c > 0 : c < 0;
            }
            return false;
        };
        if (round % 3 == 2) {  // input already in order: in memory and as work files
            std::stable_sort(records.begin(), records.end(), reference_order);
            input.clear();
            for (const auto& rec : records) input += rec;
            write_file("in", input);
        }

        const RunResult r = run("in", "out", command);
        ASSERT_EQ(r.code, 0) << command;
        std::stable_sort(records.begin(), records.end(), reference_order);
        std::string expected;
        for (const auto& rec : records) expected += rec;
        ASSERT_TRUE(read_file("out") == expected) << command << " round " << round;
        ASSERT_TRUE(engine_temp_files().empty()) << command;
    }
}

}  // namespace

namespace {

// Character keys over lines of varying length, so that key fields are cut
// short by the record end: the shorter field of two equal beginnings sorts
// first, also when the longer one continues with zero bytes.
TEST(E2eRandom, CharacterKeysOverShortRecordsAgreeWithTheReference) {
    ScratchDir dir;
    std::mt19937 gen(99);
    for (int round = 0; round < 16; ++round) {
        std::vector<std::string> records;
        std::string input;
        for (int i = 0; i < 1500; ++i) {
            std::string line;
            const int length = static_cast<int>(gen() % 12);
            const char alphabet[] = {'a', 'A', 'b', '\0', ' ', 'z'};
            for (int k = 0; k < length; ++k) line += alphabet[gen() % 6];
            records.push_back(line + "\r\n");
            input += records.back();
        }
        write_file("in", input);
        const bool alp = round % 2 == 1;
        const bool descending = round % 4 >= 2;
        const std::string command = std::string("SORT(2,9,") + (alp ? "ALP" : "C") + "," +
                                    (descending ? "D" : "A") + ")" +
                                    (round % 8 >= 4 ? " CORE(100)" : "");
        ASSERT_EQ(run("in", "out", command).code, 0) << command;
        auto field = [&](const std::string& r) {
            std::string f = r.size() > 1 ? r.substr(1, 9) : std::string();
            if (alp) {
                for (char& c : f) {
                    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
                }
            }
            return f;
        };
        std::stable_sort(records.begin(), records.end(),
                         [&](const std::string& a, const std::string& b) {
                             const std::string x = field(a), y = field(b);
                             return descending ? x > y : x < y;
                         });
        std::string expected;
        for (const auto& r : records) expected += r;
        ASSERT_TRUE(read_file("out") == expected) << command;
    }
}

}  // namespace

namespace {

// Enough records for more than 28 runs of the smallest budget, so that the
// merges run between reading phases as well as at the end: with more threads
// every merge into a work file, and the final merge of plain output, is cut
// into parts. The cuts fall inside groups of equal keys, where only the input
// order decides. Each command must write with two and four threads exactly
// what it writes with one.
TEST(E2eRandom, MergesOnSeveralThreadsWriteWhatOneThreadWrites) {
    ScratchDir dir;
    std::mt19937 gen(7);
    std::string input;
    for (int i = 0; i < 40000; ++i) input += random_record(gen);
    write_file("in", input);
    const char* commands[] = {
        "SORT(1,3,C,A) RECORD(18) CORE(100)",
        "SORT(6,2,BI,D,1,3,C,A) RECORD(18) CORE(100)",
        "SORT(12,4,N,A) RECORD(18) CORE(100) OUTREC(12,4,1,3,CRLF)",  // final merge on one thread
        "SORT(1,3,C,A) RECORD(18) CORE(100) DUPO(1,3)",
    };
    for (const char* command : commands) {
        Bytes one_thread;
        for (unsigned threads : {1u, 2u, 4u}) {
            const ForcedWorkers workers(threads);
            ASSERT_EQ(run("in", "out", command).code, 0) << command;
            ASSERT_TRUE(engine_temp_files().empty()) << command;
            if (threads == 1) {
                one_thread = read_file("out");
                EXPECT_FALSE(one_thread.empty()) << command;
            } else {
                EXPECT_TRUE(read_file("out") == one_thread) << command << ", threads " << threads;
            }
        }
    }
}

}  // namespace
