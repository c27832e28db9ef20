// Field comparison by data type on the edge values of each rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "compare.h"
#include "ebcdic.h"

namespace sorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

struct TypeCase {
    const char* name;
    std::uint8_t type;
    Bytes x;
    Bytes y;
    int expected;
};

int compare(std::uint8_t type, const Bytes& x, const Bytes& y, const AltTable& alt = {}) {
    return compare_fields(type, x.data(), x.size(), y.data(), y.size(), y.size(), alt);
}

Bytes float_bytes(float f) {
    const auto bits = std::bit_cast<std::uint32_t>(f);
    return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

Bytes double_bytes(double d) {
    const auto bits = std::bit_cast<std::uint64_t>(d);
    Bytes b(8);
    for (int i = 0; i < 8; ++i) b[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    return b;
}

TEST(CompareFields, EdgeValuesOfEveryType) {
    const TypeCase cases[] = {
        {"CHA shorter is smaller", kTypeCHA, text("ABC"), text("ABCD"), kSmaller},
        {"CHA first difference", kTypeCHA, text("ABD"), text("ABCD"), kGreater},
        {"CHA equal", kTypeCHA, text("AB"), text("AB"), kEqual},
        {"CHA blank title below 000000", kTypeCHA, text("000000"), text("      "), kGreater},
        {"CHA 000000 prefix longer field", kTypeCHA, text("000000"), text("000000 Film"), kSmaller},
        {"CHA a above Z", kTypeCHA, text("a"), text("Z"), kGreater},
        {"CHA unsigned bytes", kTypeCHA, Bytes{0xE9}, Bytes{0x41}, kGreater},
        {"ALP case folded", kTypeALP, text("abc"), text("ABC"), kEqual},
        {"ALP a below Z", kTypeALP, text("a"), text("Z"), kSmaller},
        {"SU as CHA", kTypeSU, text("AB"), text("ABC"), kSmaller},
        {"SP as CHA", kTypeSP, text("b"), text("a"), kGreater},
        {"DP as CHA", kTypeDP, text("a"), text("ab"), kSmaller},
        {"SLI negative smaller", kTypeSLI, Bytes{0x40, 0x09}, Bytes{0x30, 0x01}, kSmaller},
        {"SLI 7 zone negative", kTypeSLI, Bytes{0x71}, Bytes{0x31}, kSmaller},
        {"SLI two negatives reversed", kTypeSLI, Bytes{0x40, 0x09}, Bytes{0x40, 0x01}, kSmaller},
        {"SLI two non-negatives", kTypeSLI, Bytes{0x30, 0x09}, Bytes{0x30, 0x01}, kGreater},
        {"STI negative zone below positive", kTypeSTI, Bytes{0xF1, 0xD2}, Bytes{0xF0, 0xC1},
         kSmaller},
        {"ZD positive above other zone", kTypeZD, Bytes{0xF1, 0xC2}, Bytes{0xF9, 0x59}, kGreater},
        {"ZD two negatives reversed", kTypeZD, Bytes{0xF1, 0xD2}, Bytes{0xF0, 0xD2}, kSmaller},
        {"ZD neutral zone reversed", kTypeZD, Bytes{0xF1, 0x02}, Bytes{0xF0, 0x02}, kSmaller},
        {"ZD neutral zone against positive", kTypeZD, Bytes{0x01}, Bytes{0xC1}, kSmaller},
        {"ZD neutral zone against negative", kTypeZD, Bytes{0x01}, Bytes{0xD1}, kGreater},
        {"E NaN above numbers", kTypeE, Bytes{0x00, 0x00, 0xC0, 0x7F}, float_bytes(1e30f),
         kGreater},
        {"STS negative below positive", kTypeSTS, text("12-"), text("05+"), kSmaller},
        {"STS two negatives", kTypeSTS, text("12-"), text("11-"), kSmaller},
        {"STS sign byte ignored", kTypeSTS, text("12+"), text("12 "), kEqual},
        {"T as STS", kTypeT, text("05+"), text("12-"), kGreater},
        {"INT -1 below 1", kTypeINT, Bytes{0xFF, 0xFF}, Bytes{0x01, 0x00}, kSmaller},
        {"INT little-endian magnitude", kTypeINT, Bytes{0x00, 0x01}, Bytes{0xFF, 0x00}, kGreater},
        {"INT two negatives", kTypeINT, Bytes{0xFE, 0xFF}, Bytes{0xFF, 0xFF}, kSmaller},
        {"W same bytes unsigned", kTypeW, Bytes{0xFF, 0xFF}, Bytes{0x01, 0x00}, kGreater},
        {"W from the last byte", kTypeW, Bytes{0x01, 0x02}, Bytes{0x02, 0x01}, kGreater},
        {"PD -12 below +1", kTypePD, Bytes{0x01, 0x2D}, Bytes{0x00, 0x1C}, kSmaller},
        {"PD two negatives", kTypePD, Bytes{0x01, 0x2D}, Bytes{0x00, 0x5D}, kSmaller},
        {"PD two positives", kTypePD, Bytes{0x01, 0x2C}, Bytes{0x00, 0x5C}, kGreater},
        {"BIN big-endian", kTypeBIN, Bytes{0x01, 0x00}, Bytes{0x00, 0xFF}, kGreater},
        {"FI negative smaller", kTypeFI, Bytes{0x80, 0x00}, Bytes{0x00, 0x01}, kSmaller},
        {"FI equal signs bytewise", kTypeFI, Bytes{0xFF, 0xFF}, Bytes{0xFF, 0xFE}, kGreater},
        {"E single", kTypeE, float_bytes(-1.5f), float_bytes(0.25f), kSmaller},
        {"E single equal zeros", kTypeE, float_bytes(-0.0f), float_bytes(0.0f), kEqual},
        {"FL double", kTypeFL, double_bytes(1e10), double_bytes(9.5e9), kGreater},
        {"E other length as CHA", kTypeE, Bytes{1, 2, 3}, Bytes{1, 2, 4}, kSmaller},
        {"NUM decimal text", kTypeNUM, text(" 12.50"), text("9.99"), kGreater},
        {"NUM sign and exponent", kTypeNUM, text("-1e2"), text("-99"), kSmaller},
        {"NUM no digits is zero", kTypeNUM, text("abc"), text("0"), kEqual},
        {"NUM EBCDIC text", kTypeNUM, Bytes{0xF1, 0xF0}, Bytes{0xF9}, kGreater},
        {"NUM each value in its own code", kTypeNUM, text("5"), Bytes{0xF3}, kGreater},
        {"NUM hexadecimal is not decimal", kTypeNUM, text("0x10"), text("0"), kEqual},
        {"NUM first 23 bytes only", kTypeNUM, text(std::string(23, '1') + "9"),
         text(std::string(23, '1') + "0"), kEqual},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compare(c.type, c.x, c.y), c.expected) << c.name;
    }
}

TEST(CompareFields, EveryTypeOrdersConsistently) {
    // compare(y, x) must mirror compare(x, y), or no sort can be right
    std::mt19937 rng(7);
    AltTable alt{};
    for (int i = 0; i < 256; ++i) alt[i] = static_cast<std::uint8_t>(i / 3);
    for (std::uint8_t type = 0; type < kDataTypeCount; ++type) {
        for (std::size_t n : {1, 2, 4, 8}) {
            for (int i = 0; i < 2000; ++i) {
                Bytes x(n), y(n);
                for (auto& b : x) b = static_cast<std::uint8_t>(rng());
                for (auto& b : y) b = static_cast<std::uint8_t>(rng());
                if (i % 4 == 0) y = x;
                if (i % 4 == 1) y[n - 1] = x[n - 1];  // same sign byte at the end
                const int forward = compare(type, x, y, alt);
                const int backward = compare(type, y, x, alt);
                ASSERT_EQ(forward == kEqual ? kEqual : (forward == kGreater ? kSmaller : kGreater),
                          backward)
                    << "type " << int(type) << " length " << n;
            }
        }
    }
}

TEST(CompareFields, ShortValuesAreComparedOverTheBytesBothHave) {
    // a constant shorter than the common length never makes the comparison
    // read past it
    const Bytes one{0x05};
    const Bytes four{0x05, 0x00, 0x00, 0x00};
    // (the vectors are exactly as long as the values, so the sanitizer build
    // catches any read past them)
    for (std::uint8_t type :
         {kTypeBIN, kTypeINT, kTypeW, kTypePD, kTypeZD, kTypeFI, kTypeSLI, kTypeSTS}) {
        EXPECT_EQ(compare_fields(type, one.data(), one.size(), four.data(), four.size(), 4, {}),
                  kEqual)
            << int(type);
    }
    // E of 4 bytes needs 4 bytes on both sides; otherwise it is compared as CHA
    EXPECT_EQ(compare_fields(kTypeE, one.data(), 1, four.data(), 4, 4, {}), kSmaller);
    EXPECT_EQ(compare_fields(kTypeBIN, one.data(), 1, four.data(), 4, 4, {}), kEqual);
    EXPECT_EQ(compare_fields(kTypeBIN, nullptr, 0, four.data(), 4, 4, {}), kEqual);
}

// After sorting, every pair must be in order, or the sort's own invariants
// break (a comparison sort may then read outside its range).
void expect_one_total_order(std::uint8_t type, std::size_t n, std::vector<Bytes> values) {
    auto cmp = [&](const Bytes& x, const Bytes& y) {
        return compare_fields(type, x.data(), x.size(), y.data(), y.size(), n, {});
    };
    std::stable_sort(values.begin(), values.end(),
                     [&](const Bytes& x, const Bytes& y) { return cmp(x, y) == kSmaller; });
    for (std::size_t i = 0; i < values.size(); ++i)
        for (std::size_t j = i + 1; j < values.size(); ++j)
            ASSERT_NE(cmp(values[i], values[j]), kGreater)
                << "type " << int(type) << " length " << n << " at " << i << "," << j;
}

TEST(CompareFields, FloatKeysCutShortStillGiveOneTotalOrder) {
    // Records shorter than a 4- or 8-byte E/FL key mixed with whole ones.
    std::mt19937 rng(11);
    for (std::uint8_t type : {kTypeE, kTypeFL}) {
        for (std::size_t n : {4, 8}) {
            std::vector<Bytes> values;
            for (int i = 0; i < 300; ++i) {
                Bytes v(i % 3 == 0 ? 1 + rng() % (n - 1) : n);
                for (auto& b : v) b = static_cast<std::uint8_t>(rng());
                values.push_back(v);
            }
            expect_one_total_order(type, n, values);
        }
    }
}

TEST(CompareFields, NumericTextInBothCodesGivesOneTotalOrder) {
    // ASCII and EBCDIC numbers in one key, with bytes that are digits, signs
    // or white space in the other code ('%' is an EBCDIC line feed).
    const std::uint8_t alphabet[] = {'1', '5', '-', '.', ' ', '%', 'x',  0x40,
                                     0x4B, 0x60, 0xF1, 0xF3, 0xF5, 0x05, 0x25};
    std::mt19937 rng(13);
    std::vector<Bytes> values;
    for (int i = 0; i < 400; ++i) {
        Bytes v(1 + rng() % 4);
        for (auto& b : v) b = alphabet[rng() % std::size(alphabet)];
        values.push_back(v);
    }
    expect_one_total_order(kTypeNUM, 4, values);
}

TEST(CompareFields, AlternateCollatingSequence) {
    AltTable alt{};
    for (int i = 0; i < 256; ++i) alt[i] = static_cast<std::uint8_t>(i);
    alt[' '] = 0;  // blanks are ignored
    for (int c = 'a'; c <= 'z'; ++c) alt[c] = static_cast<std::uint8_t>(c - 'a' + 'A');
    struct Case {
        const char* x;
        const char* y;
        int expected;
    };
    const Case cases[] = {
        {"A B", "AB", kEqual}, {"AB ", "AB", kEqual},   {"AB", "AB ", kEqual},
        {"ab", "AB", kEqual},  {"ABC", "AB", kGreater}, {"AB", " ABC", kSmaller},
        {"B", "a", kGreater},  {"   ", "", kEqual},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compare(kTypeALT, text(c.x), text(c.y), alt), c.expected)
            << "'" << c.x << "' vs '" << c.y << "'";
    }
}

TEST(Ebcdic, TablesAreInversePermutationsFollowingCodePage037) {
    std::vector<bool> seen(256, false);
    for (int i = 0; i < 256; ++i) {
        const auto e = ascii_to_ebcdic(static_cast<std::uint8_t>(i));
        EXPECT_FALSE(seen[e]) << i;
        seen[e] = true;
        EXPECT_EQ(ebcdic_to_ascii(e), i);
    }
    EXPECT_EQ(ascii_to_ebcdic(' '), 0x40);
    EXPECT_EQ(ascii_to_ebcdic('0'), 0xF0);
    EXPECT_EQ(ascii_to_ebcdic('A'), 0xC1);
    EXPECT_EQ(ascii_to_ebcdic('a'), 0x81);
    EXPECT_EQ(ascii_to_ebcdic('Z'), 0xE9);
    EXPECT_EQ(ascii_to_ebcdic('-'), 0x60);
    EXPECT_EQ(ascii_to_ebcdic('.'), 0x4B);
    for (std::uint8_t c : {0x40, 0xF0, 0xF9, 0x4B, 0x4E, 0x60, 0x05}) {
        EXPECT_TRUE(is_ebcdic_number_char(c)) << int(c);
    }
    EXPECT_FALSE(is_ebcdic_number_char('1'));
}

}  // namespace
}  // namespace sorvel
