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
        // Ties of the first key go to a key after it, read backwards.
        state.tables.keys[1] = {position + length, 3, kTypeCHA,
                                static_cast<std::uint8_t>(!descending)};
        state.tables.key_count = 2;
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
                    make_sample(gen, 700, shape.position + shape.length, short_percent);
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
                    << (descending ? " D" : " A") << (second_key ? " with a second key" : "");
            }
        }
    }
}

TEST_P(KeyOrder, ChunksThatDifferAgreeWithCompareRecords) {
    const auto type = static_cast<std::uint8_t>(GetParam());
    std::mt19937 gen(2000u + type);
    int decided = 0;
    for (const Shape shape : kShapes) {
        for (const bool descending : {false, true}) {
            EngineState state;
            set_keys(state, type, shape.position, shape.length, descending, true);
            const KeyChunks chunks(state);
            const Sample sample = make_sample(gen, 120, shape.position + shape.length);
            const auto& r = sample.records;
            for (std::size_t i = 0; i < r.size(); ++i) {
                for (std::size_t j = 0; j < r.size(); ++j) {
                    const int truth = compare_records(state, data_of(r[i]), r[i].size(), 1,
                                                      data_of(r[j]), r[j].size(), 2);
                    for (unsigned d = 0; d < chunks.depth_count(); ++d) {
                        const int rest = chunks.compare_from(data_of(r[i]), r[i].size(),
                                                             data_of(r[j]), r[j].size(), d);
                        std::uint64_t a = 0;
                        std::uint64_t b = 0;
                        if (!chunks.chunk(data_of(r[i]), r[i].size(), d, a) ||
                            !chunks.chunk(data_of(r[j]), r[j].size(), d, b)) {
                            break;
                        }
                        if (rest != 0) {
                            ASSERT_EQ(sign(rest), truth) << kTypeNames[type] << " bytes from " << d;
                            ++decided;
                        }
                        if (a != b) {
                            ASSERT_EQ(a < b ? -1 : 1, truth) << kTypeNames[type] << " chunk " << d;
                            break;
                        }
                    }
                }
            }
        }
    }
    // The types with a byte-comparable form must really use it.
    const bool has_form = type == kTypeCHA || type == kTypeALP || type == kTypeSU ||
                          type == kTypeSP || type == kTypeDP || type == kTypeBIN ||
                          type == kTypeINT || type == kTypeW || type == kTypeFI;
    EngineState probe;
    set_keys(probe, type, 1, 4, false, false);
    EXPECT_EQ(KeyChunks(probe).usable(), has_form) << kTypeNames[type];
    if (has_form) {
        EXPECT_GT(decided, 0) << kTypeNames[type];
    }
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

INSTANTIATE_TEST_SUITE_P(EveryDataType, KeyOrder, ::testing::Range(0, int{kDataTypeCount}),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(kTypeNames[info.param]);
                         });

}  // namespace
}  // namespace sorvel
