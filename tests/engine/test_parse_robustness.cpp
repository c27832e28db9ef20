// The parser must survive any byte string: random commands built from the
// language's own pieces and from raw bytes either parse or fail with a code,
// and never read outside the command (the sanitizer build checks that).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "compare.h"
#include "conditions.h"
#include "test_parse_support.h"

namespace sorvel {
namespace {

const std::vector<std::string> kPieces = {"S",
                                          "SORT",
                                          "MERG",
                                          "INCL",
                                          "OMIT",
                                          "OUTR",
                                          "SUM",
                                          "DUPO",
                                          "DUPE",
                                          "DUPI",
                                          "FILE",
                                          "RECO",
                                          "BYPA",
                                          "KEYO",
                                          "ADDR",
                                          "LIMI",
                                          "LAST",
                                          "ORIG",
                                          "CORE",
                                          "OPEN",
                                          "DELI",
                                          "WORK",
                                          "APOS",
                                          "PAUS",
                                          "FIX",
                                          "FE",
                                          "TXT",
                                          "VS",
                                          "RV",
                                          "CVS",
                                          "PRE",
                                          "GP",
                                          "DB3",
                                          "C",
                                          "ALP",
                                          "ZD",
                                          "PD",
                                          "INT",
                                          "BIN",
                                          "NUM",
                                          "E",
                                          "FL",
                                          "W",
                                          "FI",
                                          "STS",
                                          "A",
                                          "D",
                                          "EQ",
                                          "NE",
                                          "GT",
                                          "CO",
                                          "AND",
                                          "OR",
                                          "XXX",
                                          "B10",
                                          "#2",
                                          "#0",
                                          "0",
                                          "1",
                                          "2",
                                          "4",
                                          "8",
                                          "65535",
                                          "Z",
                                          "E",
                                          "RRN",
                                          "ARRN",
                                          "DUPC",
                                          "CRLF",
                                          "RECL",
                                          "XXXX",
                                          "\"",
                                          "'",
                                          "\"&H0A\"",
                                          "\"&Eab\"",
                                          "\"x\"",
                                          "(",
                                          ")",
                                          ",",
                                          " ",
                                          "[",
                                          "]",
                                          "\x1a",
                                          "\t",
                                          "\r\n",
                                          "\"&H\"",
                                          "-1",
                                          "4294967295",
                                          "\"" + std::string(60, 'q') + "\""};

std::string random_command(std::mt19937& rng) {
    std::uniform_int_distribution<int> count(0, 40);
    std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> raw(0, 9);
    std::string command;
    for (int i = count(rng); i > 0; --i) {
        if (raw(rng) == 0) {
            command += static_cast<char>(byte(rng));
        } else {
            command += kPieces[piece(rng)];
        }
        if (raw(rng) < 3) command += ',';
    }
    return command;
}

TEST(ParseRobustness, RandomCommandsParseOrFailWithACode) {
    std::mt19937 rng(20261209);
    const std::string record_text = "a,\"b,c\",12.5\r\n";
    const auto* record = reinterpret_cast<const std::uint8_t*>(record_text.data());
    int accepted = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string command = random_command(rng);
        const auto p = test::parse(command, i % 2 ? RunKind::File : RunKind::RecordAtATime);
        if (!p.ok) {
            ASSERT_NE(p.code, 0) << command;
            continue;
        }
        ++accepted;
        ASSERT_EQ(p.code, 0) << command;
        const auto& t = p.state.tables;
        ASSERT_LE(t.key_count, kMaxKeyFields);
        ASSERT_LE(t.condition_count, kMaxConditions);
        ASSERT_LE(t.out_field_count, kOutFieldCapacity);
        // whatever was accepted can be applied to a record without harm
        compare_records(p.state, record, record_text.size(), 1, record, 3, 2);
        for (int c = 0; c < t.condition_count; ++c) {
            if (t.conditions[c].kind == kCondCompare) {
                evaluate_comparison(p.state, t.conditions[c], record, record_text.size());
            }
        }
    }
    EXPECT_GT(accepted, 100);  // the generator reaches past the first statement
}

}  // namespace
}  // namespace sorvel
