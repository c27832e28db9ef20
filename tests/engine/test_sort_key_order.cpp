// The fast ways of ordering records (the key array of the in-memory sort and
// the key chunks the merge compares) against compare_records, which defines
// the order: random records for every data type, both directions, many equal
// keys, shared leading bytes and records too short for their key.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "compare.h"
#include "engine_state.h"
#include "key_order.h"
#include "phases.h"
#include "test_e2e_support.h"
#include "test_parse_support.h"
#include "worker_threads.h"

namespace sorvel {
namespace {

constexpr const char* kTypeNames[] = {"CHA", "ALP", "SU",  "SLI", "NUM", "STI", "STS",
                                      "ZD",  "T",   "INT", "PD",  "BIN", "ALT", "E",
                                      "W",   "SP",  "DP",  "FI",  "FL"};
static_assert(std::size(kTypeNames) == kDataTypeCount);

// Bytes that sit at the edges of the orders: zero, blank, digits, signs,
// letters of both cases, sign zones, high bit set.
constexpr std::uint8_t kAlphabet[] = {0x00, 0x01, ' ', '+',  '-',  '.',  '0',  '1',  '9', 'A',
                                      'a',  'Z',  'z', 0x7F, 0x80, 0xC1, 0xD0, 0xF0, 0xFF};

struct Sample {
    std::vector<std::string> records;
};

// Records built from a few shared stems, so that many keys are equal or share
// their first bytes; `short_percent` of them end inside their key.
Sample make_sample(std::mt19937& gen, std::size_t count, std::uint32_t key_end,
                   int short_percent = 16) {
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kAlphabet) - 1);
    std::vector<std::string> stems;
    for (int s = 0; s < 6; ++s) {
        std::string stem;
        for (std::uint32_t i = 0; i < key_end + 4; ++i)
            stem += static_cast<char>(kAlphabet[pick(gen)]);
        stems.push_back(stem);
    }
    Sample sample;
    std::uniform_int_distribution<int> percent(0, 99);
    for (std::size_t n = 0; n < count; ++n) {
        std::string record = stems[static_cast<std::size_t>(percent(gen)) % stems.size()];
        const int changes = percent(gen) < 30 ? 0 : 1 + percent(gen) % 3;
        for (int c = 0; c < changes; ++c) {
            record[static_cast<std::size_t>(percent(gen)) % record.size()] =
                static_cast<char>(kAlphabet[pick(gen)]);
        }
        if (percent(gen) < short_percent)
            record.resize(static_cast<std::size_t>(percent(gen)) % (key_end + 1));
        sample.records.push_back(record);
    }
    return sample;
}

void set_keys(EngineState& state, std::uint8_t type, std::uint32_t position, std::uint32_t length,
              bool descending, bool second_key) {
    reset_engine_state(state, RunKind::File);
    state.statements.statement[kStmtSORT] = true;
    state.tables.keys[0] = {position, length, type, static_cast<std::uint8_t>(descending)};
    state.tables.key_count = 1;
    if (second_key) {
        // Ties of the first key go to a key of the same type after it, read
        // backwards, and then to a character key.
        state.tables.keys[1] = {position + length, length, type,
                                static_cast<std::uint8_t>(!descending)};
        state.tables.keys[2] = {position + 2 * length, 3, kTypeCHA,
                                static_cast<std::uint8_t>(descending)};
        state.tables.key_count = 3;
    }
    for (int i = 0; i < 256; ++i) state.tables.alt_table[i] = static_cast<std::uint8_t>(255 - i);
}

const std::uint8_t* data_of(const std::string& s) {
    return reinterpret_cast<const std::uint8_t*>(s.data());
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

struct Shape {
    std::uint32_t position;
    std::uint32_t length;
};

// Lengths around the chunk size, the widths of the binary numbers, and a
// field starting after position 1.
constexpr Shape kShapes[] = {{1, 1}, {1, 2}, {2, 3},  {1, 4},  {3, 7},
                             {1, 8}, {1, 9}, {2, 16}, {1, 17}, {4, 23}};

class KeyOrder : public ::testing::TestWithParam<int> {};

TEST_P(KeyOrder, InMemorySortEqualsTheOrderOfCompareRecords) {
    const auto type = static_cast<std::uint8_t>(GetParam());
    std::mt19937 gen(1000u + type);
    for (const Shape shape : kShapes) {
        for (const bool descending : {false, true}) {
            for (const int short_percent : {0, 16}) {
                const bool second_key = short_percent == 0;
                EngineState state;
                set_keys(state, type, shape.position, shape.length, descending, second_key);
                const Sample sample =
                    make_sample(gen, 700, shape.position + 2 * shape.length + 3, short_percent);
                RunResources& run = state.run;
                ASSERT_TRUE(run.refs.allocate(sample.records.size()));
                run.ref_capacity = run.ref_count = sample.records.size();
                for (std::size_t i = 0; i < sample.records.size(); ++i) {
                    run.refs[i] = {data_of(sample.records[i]),
                                   static_cast<std::uint32_t>(sample.records[i].size()),
                                   static_cast<std::uint32_t>(i + 1), 1};
                }
                std::vector<RecordRef> expected(run.refs.begin(), run.refs.end());
                std::stable_sort(expected.begin(), expected.end(),
                                 [&](const RecordRef& a, const RecordRef& b) {
                                     return compare_records(state, a, b) < 0;
                                 });
                sort_in_memory(state);
                std::vector<std::uint32_t> got;
                std::vector<std::uint32_t> want;
                for (std::size_t i = 0; i < run.ref_count; ++i) {
                    got.push_back(run.refs[i].sequence);
                    want.push_back(expected[i].sequence);
                }
                ASSERT_EQ(got, want)
                    << kTypeNames[type] << " at " << shape.position << "," << shape.length
                    << (descending ? " D" : " A") << (second_key ? " with more keys" : "");
            }
        }
    }
}

TEST_P(KeyOrder, ChunksThatDifferAgreeWithCompareRecords) {
    const auto type = static_cast<std::uint8_t>(GetParam());
    std::mt19937 gen(2000u + type);
    int decided = 0;
    int ties = 0;
    for (const Shape shape : kShapes) {
        for (const bool descending : {false, true}) {
            EngineState state;
            set_keys(state, type, shape.position, shape.length, descending, true);
            const KeyChunks chunks(state);
            const Sample sample = make_sample(gen, 120, shape.position + 2 * shape.length + 3);
            const auto& r = sample.records;
            for (std::size_t i = 0; i < r.size(); ++i) {
                for (std::size_t j = 0; j < r.size(); ++j) {
                    const int truth = compare_records(state, data_of(r[i]), r[i].size(), 1,
                                                      data_of(r[j]), r[j].size(), 2);
                    bool equal = true;
                    for (unsigned d = 0; d < chunks.depth_count() && equal; ++d) {
                        std::uint64_t a = 0;
                        std::uint64_t b = 0;
                        if (!chunks.chunk(data_of(r[i]), r[i].size(), d, a) ||
                            !chunks.chunk(data_of(r[j]), r[j].size(), d, b)) {
                            equal = false;
                            break;
                        }
                        const int rest = chunks.compare_from(data_of(r[i]), r[i].size(),
                                                             data_of(r[j]), r[j].size(), d);
                        if (rest != 0) {
                            ASSERT_EQ(sign(rest), truth) << kTypeNames[type] << " bytes from " << d;
                            ++decided;
                            equal = false;
                        }
                        if (a != b) {
                            ASSERT_EQ(a < b ? -1 : 1, truth) << kTypeNames[type] << " chunk " << d;
                            equal = false;
                        }
                    }
                    // Equal encodings of every key leave only the input order.
                    if (equal && chunks.complete()) {
                        ASSERT_EQ(truth, -1) << kTypeNames[type] << " equal encodings";
                        ++ties;
                    }
                }
            }
        }
    }
    // Every type has a byte-comparable form at a length of 4, and records
    // with equal keys really meet.
    EngineState probe;
    set_keys(probe, type, 1, 4, false, false);
    EXPECT_TRUE(KeyChunks(probe).usable()) << kTypeNames[type];
    EXPECT_GT(decided, 0) << kTypeNames[type];
    EXPECT_GT(ties, 0) << kTypeNames[type];
}

// The merge compares the heads of the work files by their key chunks: an
// external sort with intermediate merges gives the order of compare_records.
TEST(KeyOrderMerge, ExternalSortsWithChunkedKeysMatchCompareRecords) {
    const char* commands[] = {
        "SORT(1,8,ALP,D) RECORD(16) CORE(100)", "SORT(2,4,INT,A) RECORD(16) CORE(100)",
        "SORT(3,2,W,D) RECORD(16) CORE(100)",   "SORT(1,8,FI,A) RECORD(16) CORE(100)",
        "SORT(1,12,C,D) RECORD(16) CORE(100)",
    };
    std::mt19937 gen(99);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kAlphabet) - 1);
    for (const char* command : commands) {
        sorvel_test::ScratchDir dir;
        std::vector<std::string> records;
        for (int n = 0; n < 40000; ++n) {
            std::string record;
            // Few distinct leading bytes: many ties in the first chunk.
            for (int i = 0; i < 16; ++i) {
                record += static_cast<char>(kAlphabet[i < 3 ? pick(gen) % 3 : pick(gen)]);
            }
            records.push_back(record);
        }
        std::string input;
        for (const auto& r : records) input += r;
        sorvel_test::write_file("in", input);
        const auto result = sorvel_test::run("in", "out", command);
        ASSERT_EQ(result.code, 0) << command;

        test::Parsed parsed = test::parse(command);
        ASSERT_TRUE(parsed.ok) << command;
        std::vector<std::size_t> order(records.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return compare_records(parsed.state, data_of(records[a]), 16,
                                   static_cast<std::uint32_t>(a + 1), data_of(records[b]), 16,
                                   static_cast<std::uint32_t>(b + 1)) < 0;
        });
        std::string expected;
        for (std::size_t i : order) expected += records[i];
        EXPECT_TRUE(sorvel_test::read_file("out") == expected) << command;
    }
}

// Tables large enough for the sort to use helper threads, with heavy ties in
// the first key, and inputs already in order or in reverse order (which are
// recognised and not sorted): the order of compare_records every time.
TEST(KeyOrderLarge, LargeTablesInAnyInitialOrderMatchCompareRecords) {
    EngineState state;
    reset_engine_state(state, RunKind::File);
    state.statements.statement[kStmtSORT] = true;
    state.tables.keys[0] = {1, 1, kTypeCHA, 0};
    state.tables.keys[1] = {2, 4, kTypeZD, 1};
    state.tables.key_count = 2;
    std::mt19937 gen(7);
    std::vector<std::string> records;
    for (int n = 0; n < 120000; ++n) {
        std::string record = {static_cast<char>('a' + gen() % 3)};
        for (int i = 0; i < 4; ++i) record += static_cast<char>('0' + gen() % 4);
        records.push_back(record);
    }
    auto by_keys = [&](const std::string& a, const std::string& b) {
        return compare_records(state, data_of(a), a.size(), 1, data_of(b), b.size(), 2) < 0;
    };
    std::vector<std::vector<std::string>> inputs = {records};
    std::stable_sort(records.begin(), records.end(), by_keys);
    inputs.push_back(records);
    inputs.emplace_back(records.rbegin(), records.rend());
    std::vector<std::string> distinct;  // strictly descending
    for (int n = 119999; n >= 0; --n) distinct.push_back(std::to_string(1000000 + n));
    inputs.push_back(distinct);
    // As on one core, then with helper threads building keys and sorting buckets.
    for (std::size_t round = 0; round < 2 * inputs.size(); ++round) {
        set_worker_count_for_tests(round < inputs.size() ? 1 : 2);
        const std::vector<std::string>& input = inputs[round % inputs.size()];
        state.tables.keys[1] =
            round % inputs.size() == 3 ? KeyField{2, 6, kTypeCHA, 0} : KeyField{2, 4, kTypeZD, 1};
        RunResources& run = state.run;
        ASSERT_TRUE(run.refs.allocate(input.size()));
        run.ref_capacity = run.ref_count = input.size();
        for (std::size_t i = 0; i < input.size(); ++i) {
            run.refs[i] = {data_of(input[i]), static_cast<std::uint32_t>(input[i].size()),
                           static_cast<std::uint32_t>(i + 1), 1};
        }
        std::vector<RecordRef> expected(run.refs.begin(), run.refs.end());
        std::stable_sort(expected.begin(), expected.end(),
                         [&](const RecordRef& a, const RecordRef& b) {
                             return compare_records(state, a, b) < 0;
                         });
        sort_in_memory(state);
        for (std::size_t i = 0; i < input.size(); ++i) {
            ASSERT_EQ(run.refs[i].sequence, expected[i].sequence)
                << "input " << round << " at " << i;
        }
    }
    set_worker_count_for_tests(0);
}

INSTANTIATE_TEST_SUITE_P(EveryDataType, KeyOrder, ::testing::Range(0, int{kDataTypeCount}),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(kTypeNames[info.param]);
                         });

}  // namespace
}  // namespace sorvel
