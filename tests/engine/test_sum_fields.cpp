// SUM arithmetic per type, and SUM through a whole run.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sum_arith.h"
#include "test_e2e_support.h"

namespace {

using namespace sorvel_test;

std::string summed(std::uint8_t type, std::string held, const std::string& add) {
    sorvel::sum_field(type, reinterpret_cast<std::uint8_t*>(held.data()),
                      reinterpret_cast<const std::uint8_t*>(add.data()), held.size());
    return held;
}

std::string ebcdic(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        if (c == ' ')
            out += '\x40';
        else if (c == '.')
            out += '\x4B';
        else if (c == '*')
            out += '\x5C';
        else
            out += static_cast<char>(0xF0 + (c - '0'));
    }
    return out;
}

TEST(SumFields, EveryTypeAddsAsItsRulesSay) {
    using std::string;
    struct Case {
        const char* name;
        std::uint8_t type;
        string held, add, expected;
    };
    const Case cases[] = {
        {"INT 1+2", sorvel::kSumINT, string("\x01\x00\x00\x00", 4), string("\x02\x00\x00\x00", 4),
         string("\x03\x00\x00\x00", 4)},
        {"WOR carry", sorvel::kSumWOR, string("\xff\x00", 2), string("\x01\x00", 2),
         string("\x00\x01", 2)},
        {"INT carry out is lost", sorvel::kSumINT, string("\xff\xff", 2), string("\x02\x00", 2),
         string("\x01\x00", 2)},
        {"BIN big-endian carry", sorvel::kSumBIN, string("\x00\xff", 2), string("\x00\x01", 2),
         string("\x01\x00", 2)},
        {"BIN longer than 8 unchanged", sorvel::kSumBIN, string(9, '\x01'), string(9, '\x01'),
         string(9, '\x01')},
        {"PD -12 + 5", sorvel::kSumPD, string("\x01\x2d", 2), string("\x00\x5c", 2),
         string("\x00\x7d", 2)},
        {"PD 5 + 7", sorvel::kSumPD, string("\x00\x5c", 2), string("\x00\x7f", 2),
         string("\x01\x2c", 2)},
        {"PD -5 + -7", sorvel::kSumPD, string("\x00\x5d", 2), string("\x00\x7b", 2),
         string("\x01\x2d", 2)},
        {"PD unknown sign unchanged", sorvel::kSumPD, string("\x00\x59", 2), string("\x00\x5c", 2),
         string("\x00\x59", 2)},
        // The carry out of the top digit is lost, as for the binary types.
        {"PD -999 + -1 wraps", sorvel::kSumPD, string("\x99\x9d", 2), string("\x00\x1d", 2),
         string("\x00\x0d", 2)},
        {"ZD 12 + 05", sorvel::kSumZD, "\xF1\xC2", "\xF0\xC5", "\xF1\xC7"},
        {"ZD 12 - 15", sorvel::kSumZD, "\xF1\xC2", "\xF1\xD5", "\xF0\xD3"},
        {"ZD unknown zone unchanged", sorvel::kSumZD, "\xF1\x82", "\xF1\xC5", "\xF1\x82"},
        {"NUM", sorvel::kSumNUM, " 12.50", "  3.25", " 15.75"},
        {"NUM overflow fills", sorvel::kSumNUM, "9.99", "0.02", "****"},
        {"NUM filled stays", sorvel::kSumNUM, "****", "0.02", "****"},
        {"NUM integer", sorvel::kSumNUM, "  7", " 35", " 42"},
        // only decimal text has a value: hexadecimal, inf and nan read as 0
        {"NUM hex is 0", sorvel::kSumNUM, "0x10 ", "    3", "    3"},
        {"NUM inf is 0", sorvel::kSumNUM, " inf ", "    3", "    3"},
        {"NUM nan is 0", sorvel::kSumNUM, "    3", "  nan", "    3"},
        {"NUM total beyond a double", sorvel::kSumNUM, "1e999", "    1", "*****"},
        {"NUM EBCDIC", sorvel::kSumNUM, ebcdic(" 1.5"), ebcdic(" 2.0"), ebcdic(" 3.5")},
        {"NUM EBCDIC overflow", sorvel::kSumNUM, ebcdic("9.9"), ebcdic("0.2"), ebcdic("***")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(summed(c.type, c.held, c.add), c.expected) << c.name;
    }
    float a = 1.5f, b = 2.25f, sum = 0;
    std::string held(reinterpret_cast<char*>(&a), 4), add(reinterpret_cast<char*>(&b), 4);
    const std::string result = summed(sorvel::kSumEEE, held, add);
    std::memcpy(&sum, result.data(), 4);
    EXPECT_EQ(sum, 3.75f);
}

TEST(SumFields, SumRunAddsGroupsIntoTheirFirstRecord) {
    ScratchDir dir;
    auto rec = [](char key, std::uint32_t n, const std::string& num) {
        std::string r(1, key);
        r.append(reinterpret_cast<const char*>(&n), 4);
        return r + num;
    };
    write_file("in", rec('b', 9, " 1.00") + rec('a', 1, " 0.50") + rec('a', 2, " 0.25") +
                         rec('a', 3, "99.99"));
    const RunResult r = run("in", "out", "SORT(1,1,C,A) RECORD(10) SUM(2,4,INT,6,5,NUM)");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.count, 2u);
    EXPECT_EQ(read_file("out"), rec('a', 6, "*****") + rec('b', 9, " 1.00"));
}

TEST(SumFields, SumNeedsASortAndExcludesDuplicateStatements) {
    ScratchDir dir;
    write_file("in", "a");
    EXPECT_EQ(run("in", "out", "RECORD(1) SUM(1,1,BIN)").code, 257);
    EXPECT_EQ(run("in", "out", "RECORD(1) S(1,1,C,A) SUM(1,1,BIN) DUPO").code, 15762);
}

}  // namespace
